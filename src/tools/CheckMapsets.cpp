#include "tools/CheckMapsets.h"

#include <optional>
#include <string_view>

#include "formats/FileSizeLimits.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbStructure.h"
#include "formats/TypStamp.h"
#include "gmap/InfoXmlReading.h"
#include "platform/CappedFileRead.h"
#include "platform/ConfinedPath.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"
#include "registration/HostFiles.h"
#include "registration/NumberText.h"
#include "registration/RegistryText.h"

namespace veldra::tools {
namespace fs = std::filesystem;
namespace {

using registration::RecordKind;
using registration::RegistryRecord;

class Findings {
public:
    explicit Findings(CheckFinding base) : base_(std::move(base)) {}

    CheckFinding& add(CheckKind kind, std::string detail) {
        CheckFinding finding = base_;
        finding.kind = kind;
        finding.detail = std::move(detail);
        list.push_back(std::move(finding));
        return list.back();
    }

    std::vector<CheckFinding> list;

private:
    CheckFinding base_;
};

std::optional<std::uint16_t> number16(std::string_view text) {
    const auto number = registration::wholeNumber(text);
    if (!number || *number > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*number);
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

// "FID 108 ≠ 208, PID 1 ≠ 2": the TDB's value first, each only when it differs.
std::string differingIds(std::uint16_t tdbFid, std::optional<std::uint16_t> fid, std::uint16_t tdbPid,
                         std::optional<std::uint16_t> pid) {
    std::string text;
    if (fid && *fid != tdbFid) text = "FID " + std::to_string(tdbFid) + " ≠ " + std::to_string(*fid);
    if (pid && *pid != tdbPid)
        text += (text.empty() ? "PID " : ", PID ") + std::to_string(tdbPid) + " ≠ " + std::to_string(*pid);
    return text;
}

// Readable as a TDB, checksum right, IDs as registered. Nothing is compared
// with an expected ID that is unknown.
void checkTdb(Findings& findings, const fs::path& tdb, const std::string& shown, std::optional<std::uint16_t> fid,
              std::optional<std::uint16_t> pid) {
    const auto bytes = platform::readFileCapped(tdb, formats::TdbFileLimit);
    if (!bytes) {
        findings.add(CheckKind::TdbUnreadable, bytes.failure().detail);
        return;
    }
    const auto header = formats::parseTdbHeader(*bytes);
    if (!header || !formats::isTdbBlockRun(*bytes)) {
        findings.add(CheckKind::TdbUnreadable, shown);
        return;
    }
    if (formats::checksumMatches(*bytes) == false) {
        auto& finding = findings.add(CheckKind::TdbChecksumWrong, shown);
        finding.repairable = true;
        finding.file = tdb;
    }
    const std::uint16_t tdbFid = header->fid != 0 ? header->fid : header->pid;
    if (const auto differing = differingIds(tdbFid, fid, header->pid, pid); !differing.empty())
        findings.add(CheckKind::IdsDiffer, shown + ": " + differing);
}

// Present, and stamped with `fid` when that is known.
void checkTypeFile(Findings& findings, const fs::path& typ, const std::string& shown,
                   std::optional<std::uint16_t> fid) {
    if (!isFile(typ)) {
        findings.add(CheckKind::TypeFileMissing, shown);
        return;
    }
    const auto ids = formats::readTypIds(typ).ids;
    if (!fid || !ids || ids->fid == *fid) return;
    auto& finding = findings.add(CheckKind::TypeFileFidWrong, shown + ": FID " + std::to_string(ids->fid));
    finding.repairable = true;
    finding.file = typ;
    finding.stampFid = *fid;
}

// The product subkey of a family is named after the PID.
std::optional<std::uint16_t> registeredPid(const RegistryRecord& record) {
    if (record.kind == RecordKind::Products) return std::nullopt;
    const auto slash = record.subkey.find('\\');
    return slash == std::string::npos ? std::nullopt : number16(std::string_view(record.subkey).substr(slash + 1));
}

CheckFinding registryBase(const RegistryRecord& record) {
    const bool marked = record.fid == registration::FidErrorMarker;
    CheckFinding base;
    base.mapset = marked ? record.keyName() : record.shownName();
    base.fid = marked ? (record.registeredFid ? std::to_string(*record.registeredFid) : "") : record.fid;
    base.pid = marked ? "" : record.pid;
    return base;
}

CheckFinding packageBase(const gmap::GmapRecord& record) {
    CheckFinding base;
    base.mapset = record.name;
    base.fid = record.fid;
    base.pid = record.pid;
    return base;
}

// The texts of every element `tag` in the file, in order.
std::vector<std::string> elementTexts(std::string_view text, std::string_view tag) {
    const std::string open = "<" + std::string(tag) + ">", close = "</" + std::string(tag) + ">";
    std::vector<std::string> texts;
    for (auto at = text.find(open); at != std::string_view::npos; at = text.find(open, at + 1)) {
        const auto begin = at + open.size();
        const auto end = text.find(close, begin);
        if (end == std::string_view::npos) break;
        texts.emplace_back(text.substr(begin, end - begin));
    }
    return texts;
}

// The overview map, unpacked into the folder <BaseMap> names inside the
// product folder. A product folder outside the package is reported already.
void checkBaseMap(Findings& findings, const gmap::GmapRecord& record, std::string_view text,
                  const std::vector<std::string>& directories) {
    const auto baseMap = elementTexts(text, "BaseMap");
    if (baseMap.empty() || baseMap.front().empty()) {
        findings.add(CheckKind::BaseMapUnnamed, platform::pathText(record.infoXml));
        return;
    }
    const std::string product = directories.empty() ? "Product" + record.pid : directories.front();
    const auto productFolder = platform::confinedPath(record.packageFolder(), product);
    if (!productFolder) return;
    const auto folder = platform::confinedPath(*productFolder, baseMap.front());
    if (!folder) findings.add(CheckKind::PackagePathOutside, folder.failure().detail);
    else if (!isFolder(*folder)) findings.add(CheckKind::OverviewMissing, platform::pathText(*folder));
}

}  // namespace

std::vector<CheckFinding> checkRegistryMapset(const app::Session& session, const RegistryRecord& record) {
    Findings findings(registryBase(record));
    const fs::path tdb = registration::existingHostFile(session, record.tdb);
    if (tdb.empty()) findings.add(CheckKind::TdbMissing, record.tdb);
    if (!registration::hostFileExists(session, record.overview)) findings.add(CheckKind::OverviewMissing, record.overview);
    if (!isFolder(session.host.paths.toNative(record.loc))) findings.add(CheckKind::TilesFolderMissing, record.loc);
    if (record.kind != RecordKind::Products) {
        const std::string index = registration::trimBlanks(
            registration::queryRegistryText(session.host.registry, record.parentKey, "IDX").value_or(""));
        if (!index.empty() && !registration::hostFileExists(session, index))
            findings.add(CheckKind::IndexMissing, index);
    }
    const auto fid = number16(record.fid);
    if (!tdb.empty()) {
        checkTdb(findings, tdb, record.tdb, record.registeredFid, registeredPid(record));
    }
    if (record.typ != registration::NoTypeFileMarker)
        checkTypeFile(findings, session.host.paths.toNative(record.typ), record.typ, fid);
    return std::move(findings.list);
}

std::vector<CheckFinding> checkPackageMapset(const gmap::GmapRecord& record) {
    Findings findings(packageBase(record));
    if (record.pathProblem) findings.add(CheckKind::PackagePathOutside, *record.pathProblem);
    const fs::path productFolder = record.packageFolder() / ("Product" + record.pid);
    if (!isFolder(productFolder)) findings.add(CheckKind::TilesFolderMissing, platform::pathText(productFolder));
    if (record.mdx != gmap::NoMdxFileMarker) {
        const auto index = platform::confinedPath(record.packageFolder(), record.mdx);
        if (!index) findings.add(CheckKind::PackagePathOutside, index.failure().detail);
        else if (!isFile(*index)) findings.add(CheckKind::IndexMissing, platform::pathText(*index));
    }
    if (!record.tdb.empty()) {
        const std::string shown = platform::pathText(record.tdb);
        if (!isFile(record.tdb)) findings.add(CheckKind::TdbMissing, shown);
        else checkTdb(findings, record.tdb, shown, number16(record.fid), number16(record.pid));
    }
    return std::move(findings.list);
}

std::vector<CheckFinding> checkPackageDescription(const gmap::GmapRecord& record) {
    Findings findings(packageBase(record));
    const auto bytes = platform::readFileCapped(record.infoXml, gmap::InfoXmlFileLimit);
    if (!bytes) return {};
    const std::string text = platform::cp1252ToUtf8(*bytes);
    const auto directories = elementTexts(text, "Directory");
    for (const std::string& directory : directories)
        if (auto inside = platform::confinedPath(record.packageFolder(), directory); !inside)
            findings.add(CheckKind::PackagePathOutside, inside.failure().detail);
    checkBaseMap(findings, record, text, directories);
    const auto typ = elementTexts(text, "TYP");
    if (!typ.empty()) {
        const auto file = platform::confinedPath(record.packageFolder(), typ.front());
        if (!file) findings.add(CheckKind::PackagePathOutside, file.failure().detail);
        else checkTypeFile(findings, *file, platform::pathText(*file), number16(record.fid));
    }
    return std::move(findings.list);
}

}  // namespace veldra::tools
