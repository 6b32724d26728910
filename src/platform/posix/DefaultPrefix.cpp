#include "platform/Prefix.h"

#include <fstream>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/WineRegistryFile.h"
#include "platform/WineShellFolders.h"

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

// The header Wine 8 writes (its loader reads only the first line).
std::string registryFileHeader(std::string_view relativeTo) {
    return std::string(WineRegistryFile::Signature) + "\n;; All keys relative to " + std::string(relativeTo) +
           "\n\n#arch=win64\n";
}

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string accountHome() {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

FileResult failure(std::string text) { return FileResult{false, std::move(text)}; }

FileResult makeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return failure("cannot create " + folder.string() + ": " + ec.message());
    return {};
}

FileResult makeDriveLink(const fs::path& link, const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(link, ec))) return {};  // left by an interrupted first run
    fs::create_directory_symlink(target, link, ec);
    if (ec) return failure("cannot create " + link.string() + ": " + ec.message());
    return {};
}

}  // namespace

PrefixEnvironment PrefixEnvironment::ofThisProcess() {
    PrefixEnvironment environment{environmentText("WINEPREFIX"), environmentText("XDG_DATA_HOME"),
                                  environmentText("HOME")};
    if (environment.home.empty()) environment.home = accountHome();
    return environment;
}

PrefixChoice choosePrefix(std::string_view prefixOption, const PrefixEnvironment& environment) {
    std::error_code ec;
    if (!prefixOption.empty()) return {fs::absolute(fs::path(prefixOption), ec), false};
    if (!environment.winePrefix.empty()) return {fs::absolute(fs::path(environment.winePrefix), ec), false};
    // A relative XDG_DATA_HOME is invalid and so ignored.
    fs::path dataHome = environment.xdgDataHome;
    if (dataHome.empty() || dataHome.is_relative()) dataHome = fs::path(environment.home) / ".local" / "share";
    return {fs::absolute(dataHome / "veldra" / "prefix", ec), true};
}

bool prefixExists(const fs::path& dir) {
    std::error_code ec;
    return fs::exists(dir / "system.reg", ec);
}

std::optional<bool> prefixIsWin64(const fs::path& dir) {
    // The architecture line stands among the first lines of the header.
    std::ifstream in(dir / "system.reg");
    std::string line;
    for (int lines = 0; lines < 8 && std::getline(in, line); ++lines) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "#arch=win64") return true;
        if (line == "#arch=win32") return false;
    }
    return std::nullopt;
}

FileResult createPrefixLayout(const fs::path& dir, std::string_view userName) {
    if (prefixExists(dir)) return failure(dir.string() + " already holds a Wine prefix");
    if (userName.empty()) return failure("the user's name is unknown, so the prefix's user folders cannot be named");
    const fs::path driveC = dir / "drive_c";
    const fs::path appData = driveC / "users" / std::string(userName) / "AppData";
    for (const auto& folder : {dir / "dosdevices", driveC / "ProgramData", appData / "Roaming", appData / "Local"}) {
        if (auto made = makeFolder(folder); !made) return made;
    }
    if (auto link = makeDriveLink(dir / "dosdevices" / "c:", "../drive_c"); !link) return link;
    if (auto link = makeDriveLink(dir / "dosdevices" / "z:", "/"); !link) return link;
    if (auto written = replaceFileAtomically(dir / "user.reg", registryFileHeader("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000"));
        !written)
        return written;
    // Last: its presence is what marks the prefix as made.
    return replaceFileAtomically(dir / "system.reg", registryFileHeader("REGISTRY\\\\Machine"));
}

FileResult ensureDefaultPrefix(const PrefixChoice& choice, std::string_view userName,
                               const PrefixRegistryOpener& openRegistry) {
    if (!choice.privateDefault || prefixExists(choice.dir)) return {};
    if (auto made = createPrefixLayout(choice.dir, userName); !made) return made;
    auto registry = openRegistry(choice.dir);
    if (!registry) return failure("cannot open the registry of the new prefix " + choice.dir.string());
    if (const long error = writeDefaultShellFolderValues(*registry, userName); error != regerror::Success)
        return failure("cannot store the special folders in the new prefix " + choice.dir.string() + " (error " +
                       std::to_string(error) + ")");
    return {};
}

}  // namespace veldra::platform
