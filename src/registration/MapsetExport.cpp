#include "registration/MapsetExport.h"

#include <system_error>

#include "platform/ConfinedPath.h"
#include "platform/Cp1252.h"
#include "platform/FileMove.h"
#include "platform/PathText.h"
#include "registration/HostRegistryLayout.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

std::string fileNameOf(std::string_view hostPath) {
    const std::size_t slash = hostPath.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? hostPath : hostPath.substr(slash + 1));
}

}  // namespace

std::vector<std::string> exportedFilePaths(const app::Session& session, const RegistryRecord& record) {
    const std::string branch = branchKey(session, record.kind);
    const std::string& productKey = record.valueKey;
    const std::string ownKey = record.kind == RecordKind::Products ? productKey : branch + record.keyName();
    std::vector<std::string> paths;
    for (const auto& [key, name] : {std::pair{&ownKey, "TRF"}, {&ownKey, "MDR"}, {&ownKey, "IDX"}, {&ownKey, "TYP"},
                                    {&productKey, "TDB"}, {&productKey, "BMAP"}}) {
        std::string value = session.routines.queryText(Machine, *key, name);
        if (!value.empty()) paths.push_back(std::move(value));
    }
    return paths;
}

std::string exportLogText(const std::vector<std::string>& hostPaths) {
    std::string text;
    for (const std::string& path : hostPaths) text += platform::utf8ToCp1252(fileNameOf(path)) + "\r\n";
    return text;
}

Status gatherExportFiles(const app::Session& session, const RegistryRecord& record, const fs::path& folder,
                         const Progress& progress) {
    const auto paths = exportedFilePaths(session, record);
    tell(progress, 0, paths.size());
    for (std::size_t done = 0; done < paths.size(); tell(progress, ++done, paths.size())) {
        const std::string& path = paths[done];
        const std::string name = fileNameOf(path);
        auto target = platform::confinedPath(folder, name);
        if (!target) return target.failure();
        if (*target == folder) return fail("The registry value names no file: " + path);
        std::error_code ec;
        if (fs::exists(*target, ec)) continue;
        const fs::path source = session.host.paths.toNative(path);
        if (auto copied = platform::copyFileReplacing(source, *target); !copied)
            return fail(platform::pathText(source) + ": " + copied.error);
    }
    if (auto written = platform::replaceFileAtomically(folder / ExportLogName, exportLogText(paths)); !written)
        return fail(platform::pathText(folder / ExportLogName) + ": " + written.error);
    return {};
}

}  // namespace veldra::registration
