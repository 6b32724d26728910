#include "gmap/GmapPackageScan.h"

#include <algorithm>

#include "gmap/GmapFolders.h"
#include "gmap/PackageFolderReading.h"
#include "platform/ShellLinks.h"
#include "platform/Text.h"

namespace veldra::gmap {
namespace fs = std::filesystem;
namespace {

// The host's GetPath fills a buffer of 256 characters with the NUL.
constexpr std::size_t LinkPathLimit = 255;

bool isFolder(const std::optional<fs::path>& folder) {
    std::error_code ec;
    return folder && fs::is_directory(*folder, ec);
}

// A shortcut counts when its target's last five characters are ".gmap",
// exactly. The package it leads to may lie anywhere (an imported package stays
// where it was put); its own paths are held inside its folder when it is read.
void readShortcut(app::Session& session, const fs::path& file, const std::string& hostFolder,
                  std::vector<GmapRecord>& records) {
    const auto link = platform::readShellLinkFile(file, hostFolder);
    if (!link.path) return;
    const std::string target(
        platform::trimBlanks(std::string_view(*link.path).substr(0, std::min(link.path->size(), LinkPathLimit))));
    if (!target.ends_with(".gmap")) return;
    const fs::path native = session.host.paths.toNative(target);
    if (native.empty()) return;
    appendPackageRecords(native, session.dialogs, records);
}

void scanFolder(app::Session& session, const fs::path& folder, std::vector<GmapRecord>& records) {
    std::vector<fs::path> files, folders;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeError;
        if (entry.is_directory(typeError)) folders.push_back(entry.path());
        else if (entry.is_regular_file(typeError)) files.push_back(entry.path());
    }
    // All in one folder: their texts order them as their names do, without a
    // comparison component by component.
    const auto byText = [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); };
    std::sort(files.begin(), files.end(), byText);
    std::sort(folders.begin(), folders.end(), byText);
    const std::string hostFolder = session.host.paths.toHost(folder);
    for (const fs::path& file : files) readShortcut(session, file, hostFolder, records);
    for (const fs::path& package : folders) appendPackageRecords(package, session.dialogs, records);
}

}  // namespace

GmapPackages scanGmapPackages(app::Session& session) {
    GmapPackages packages;
    const auto common = garminMapsFolder(session, platform::csidl::CommonAppData);
    const auto user = garminMapsFolder(session, platform::csidl::AppData);
    if (!isFolder(common) && !isFolder(user)) {
        packages.noPackageFolders = true;
        return packages;
    }
    for (const auto& folder : {common, user, baseCampMapsFolder(session)})
        if (isFolder(folder)) scanFolder(session, *folder, packages.records);
    orderGmapRecords(packages.records);
    return packages;
}

}  // namespace veldra::gmap
