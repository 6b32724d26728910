#include "tools/CheckInstalledMapsets.h"

#include <algorithm>
#include <set>

#include "gmap/GmapPackageScan.h"
#include "registration/DuplicateFids.h"
#include "registration/RegistryRecordReading.h"
#include "tools/CheckLinks.h"
#include "tools/CheckMapsets.h"
#include "tools/CheckRegistryLayout.h"
#include "tools/CheckSession.h"

namespace veldra::tools {
namespace {

void append(std::vector<CheckFinding>& to, std::vector<CheckFinding> from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// One finding per FID the duplicate check reports (however many pairs share
// it), named after the first mapset that carries it.
std::vector<CheckFinding> duplicateFids(const registration::InstalledCatalog& catalog) {
    QuietDialogs quiet(false);
    std::vector<CheckFinding> findings;
    for (const std::string& fid : registration::reportDuplicateFids(quiet, catalog)) {
        if (std::any_of(findings.begin(), findings.end(), [&](const CheckFinding& f) { return f.fid == fid; })) continue;
        CheckFinding finding{CheckKind::DuplicateFid};
        finding.fid = fid;
        for (const auto& record : catalog.registry)
            if (finding.mapset.empty() && record.fid == fid) finding.mapset = record.shownName(), finding.pid = record.pid;
        for (const auto& record : catalog.packages.records)
            if (finding.mapset.empty() && record.fid == fid) finding.mapset = record.name, finding.pid = record.pid;
        finding.detail = "FID " + fid + ", PID " + finding.pid;
        findings.push_back(std::move(finding));
    }
    return findings;
}

}  // namespace

std::vector<CheckFinding> inspectInstalledMapsets(const app::Session& session) {
    std::vector<CheckFinding> findings = findWrongBranchKeys(session);
    append(findings, findMisplacedLayouts(session));

    // Read without repairing: the misplaced layouts stand reported above.
    QuietSession quiet(session, false);
    registration::InstalledCatalog catalog;
    catalog.registry = registration::readRegistryRecords(quiet.session);
    for (const auto& record : catalog.registry) append(findings, checkRegistryMapset(session, record));

    // Whatever the package scan tells the user is an Info.xml it could not read.
    const std::size_t told = quiet.dialogs.messages.size();
    catalog.packages = gmap::scanGmapPackages(quiet.session);
    for (std::size_t i = told; i < quiet.dialogs.messages.size(); ++i)
        findings.emplace_back(CheckKind::InfoXmlDamaged).detail = quiet.dialogs.messages[i];
    std::set<std::filesystem::path> described;
    for (const auto& record : catalog.packages.records) {
        if (described.insert(record.infoXml).second) append(findings, checkPackageDescription(record));
        append(findings, checkPackageMapset(record));
    }

    append(findings, duplicateFids(catalog));
    append(findings, findDeadLinks(session));
    return findings;
}

}  // namespace veldra::tools
