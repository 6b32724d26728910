#include "gmap/PackageFolderReading.h"

#include <algorithm>

#include "gmap/InfoXmlReading.h"
#include "platform/CappedFileRead.h"
#include "platform/ConfinedPath.h"
#include "platform/Cp1252.h"
#include "platform/FolderNames.h"
#include "platform/PathText.h"

namespace veldra::gmap {
namespace fs = std::filesystem;
namespace {

GmapRecord subProductRecord(const fs::path& folder, const fs::path& infoXml, const InfoXmlFacts& facts,
                            const InfoXmlSubProduct& sub) {
    GmapRecord record;
    record.infoXml = infoXml;
    // The host takes <TDB> in the sub-product's folder: a text that leads out
    // of it, absolute or with "..", marks the record instead of naming a file.
    auto tdb = platform::confinedPath(folder / ("Product" + sub.pid), sub.tdbName);
    if (tdb) record.tdb = std::move(tdb).value();
    else record.pathProblem = tdb.failure().detail;
    record.name = sub.name;
    record.fid = facts.fid;
    record.mdx = facts.mdx;
    record.pid = sub.pid;
    return record;
}

}  // namespace

std::string damagedInfoXmlMessage(const fs::path& infoXml) {
    return "File " + platform::pathText(infoXml) + " info.xml ist beschädigt";
}

void appendPackageRecords(const fs::path& folder, app::Dialogs& dialogs, std::vector<GmapRecord>& records) {
    // The names alone: opening a file tells whether it is one, and what is no
    // folder lists nothing.
    std::vector<std::string> names = platform::folderEntryNames(folder);
    std::erase_if(names, [](const std::string& name) { return !name.ends_with("Info.xml"); });
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        const fs::path infoXml = folder / platform::pathFromText(name);
        platform::FileStart read = platform::readSmallFile(infoXml, InfoXmlFileLimit);
        // A folder or a dangling link of that name is no package description.
        if (read.state == platform::FileStart::State::NoFile) continue;
        const auto bytes = platform::cappedFileBytes(infoXml, std::move(read), InfoXmlFileLimit);
        if (!bytes) {
            dialogs.inform(bytes.failure().detail);
            continue;
        }
        const InfoXmlFacts facts = readInfoXml(platform::cp1252ToUtf8(*bytes));
        for (const InfoXmlSubProduct& sub : facts.subProducts)
            records.push_back(subProductRecord(folder, infoXml, facts, sub));
        if (facts.damaged) {
            dialogs.inform(damagedInfoXmlMessage(infoXml));
            return;
        }
    }
}

}  // namespace veldra::gmap
