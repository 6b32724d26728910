#include "registration/FidChange.h"

#include <filesystem>
#include <optional>
#include <string>

#include "gmap/InfoXmlReading.h"
#include "gmap/PackageFolderReading.h"
#include "platform/CappedFileRead.h"
#include "platform/ConfinedPath.h"
#include "platform/Cp1252.h"
#include "registration/FidFileWrites.h"
#include "registration/InfoXmlFid.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

bool isFile(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec);
}

// A description file's text; nothing when there is no such file.
Result<std::optional<std::string>> readDescription(const fs::path& file) {
    if (!isFile(file)) return std::optional<std::string>();
    const auto bytes = platform::readFileCapped(file, gmap::InfoXmlFileLimit);
    if (!bytes) return bytes.failure();
    return std::optional<std::string>(std::string(bytes->begin(), bytes->end()));
}

// A file the package names (UTF-8), held inside the package folder; nothing when it is not there.
Result<std::optional<fs::path>> namedFile(const fs::path& folder, std::string_view name) {
    auto path = platform::confinedPath(folder, name);
    if (!path) return path.failure();
    return isFile(*path) ? std::optional<fs::path>(*path) : std::nullopt;
}

// Everything the change touches, found and checked before the first write.
struct Plan {
    std::optional<fs::path> mdx;
    std::optional<std::string> infoXml;
    std::optional<fs::path> typ;
    fs::path infoV2Path;
    std::optional<std::string> infoV2;
};

Result<Plan> plan(const gmap::GmapRecord& package) {
    Plan plan;
    const fs::path folder = package.packageFolder();
    if (package.mdx != gmap::NoMdxFileMarker) {
        auto mdx = namedFile(folder, package.mdx);
        if (!mdx) return mdx.failure();
        plan.mdx = *mdx;
    }
    auto infoXml = readDescription(package.infoXml);
    if (!infoXml) return infoXml.failure();
    plan.infoXml = *infoXml;
    if (plan.infoXml) {
        const auto typName = typeFileNamedIn(*plan.infoXml);
        if (!typName) return fail(gmap::damagedInfoXmlMessage(package.infoXml));
        if (*typName) {
            auto typ = namedFile(folder, platform::cp1252ToUtf8(**typName));
            if (!typ) return typ.failure();
            plan.typ = *typ;
        }
    }
    plan.infoV2Path = folder / "Info_v2.xml";
    auto infoV2 = readDescription(plan.infoV2Path);
    if (!infoV2) return infoV2.failure();
    plan.infoV2 = *infoV2;
    return plan;
}

}  // namespace

Status changeGmapPackageFid(app::Session& session, const gmap::GmapRecord& package, std::uint16_t fid,
                            FileBackups& backups) {
    if (auto changeable = package.changeable(); !changeable) return changeable;
    const auto found = plan(package);
    if (!found) return found.failure();
    const Plan& p = *found;
    if (isFile(package.tdb))
        if (auto written = writeFidIntoTdb(session, backups, package.tdb, fid); !written) return written;
    if (p.mdx)
        if (auto written = writeFidIntoMdx(backups, *p.mdx, fid); !written) return written;
    const std::string oldFid = platform::utf8ToCp1252(package.fid);
    const std::string newFid = std::to_string(fid);
    if (p.infoXml)
        if (auto written = rewriteDescription(backups, package.infoXml, replaceFirstFamilyId(*p.infoXml, oldFid, newFid));
            !written)
            return written;
    if (p.typ)
        if (auto written = writeFidIntoTyp(backups, *p.typ, fid); !written) return written;
    if (p.infoV2) return rewriteDescription(backups, p.infoV2Path, replaceFirstFamilyId(*p.infoV2, oldFid, newFid));
    return {};
}

}  // namespace veldra::registration
