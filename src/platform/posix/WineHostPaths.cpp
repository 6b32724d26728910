#include "platform/WineHostPaths.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryPath.h"

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view UnixNamespace = "\\\\?\\unix";
constexpr std::size_t DriveCount = 26;  // a: to z:

struct DirectoryIdentity {
    dev_t device;
    ino_t inode;
    bool operator==(const DirectoryIdentity&) const = default;
};

// Following links, as Wine compares a path's ancestors with the drives' targets.
std::optional<DirectoryIdentity> directoryIdentity(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return DirectoryIdentity{info.st_dev, info.st_ino};
}

fs::path driveLink(const fs::path& prefix, char lowerLetter) {
    return prefix / "dosdevices" / std::string{lowerLetter, ':'};
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Tested on the path's text: a path object would be built and split for nothing.
bool isRegularFile(const std::string& native) {
    struct stat info {};
    return ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Walks the components of the part after "X:", normalised as Windows does:
// "." and empty components dropped, ".." removing its predecessor (`up`),
// trailing dots and blanks cut off; each name goes to `name` as a view into
// `rest`, so that no copy of it is made.
template <class Name, class Up>
void forEachHostComponent(std::string_view rest, Name name, Up up) {
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !isSeparator(rest[end])) ++end;
        std::string_view part = rest.substr(start, end - start);
        if (part == "..") {
            up();
        } else {
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
            if (!part.empty()) name(part);
        }
        start = end + 1;
    }
}

std::vector<std::string> hostComponents(std::string_view rest) {
    std::vector<std::string> components;
    forEachHostComponent(
        rest, [&](std::string_view part) { components.emplace_back(part); },
        [&] {
            if (!components.empty()) components.pop_back();
        });
    return components;
}

// The name of the entry of dir that matches without regard to case, the exact
// spelling first.
std::optional<std::string> entrySpelledOnDisk(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dir / name, ec))) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (equalsIgnoreCase(candidate, name)) return candidate;
    }
    return std::nullopt;
}

std::string joinHostPath(std::string head, const std::vector<std::string>& innermostFirst, bool trailingSeparator) {
    if (innermostFirst.empty()) return head + '\\';
    for (auto it = innermostFirst.rbegin(); it != innermostFirst.rend(); ++it) head += '\\' + *it;
    if (trailingSeparator) head += '\\';
    return head;
}

}  // namespace

WineHostPaths::WineHostPaths(fs::path prefix)
    : prefix_(std::move(prefix)), dosdevices_((prefix_ / "dosdevices").native()) {}

std::string WineHostPaths::toHost(const fs::path& native) const {
    if (native.empty()) return {};
    std::error_code ec;
    fs::path full = fs::absolute(native, ec).lexically_normal();
    if (ec) return {};
    const bool trailingSeparator = !full.has_filename() && full != full.root_path();
    if (trailingSeparator) full = full.parent_path();

    std::array<std::optional<DirectoryIdentity>, DriveCount> drives;
    for (std::size_t i = 0; i < drives.size(); ++i) drives[i] = directoryIdentity(driveLink(prefix_, static_cast<char>('a' + i)));

    std::vector<std::string> below;  // components under the ancestor, innermost first
    for (fs::path ancestor = full;;) {
        if (const auto identity = directoryIdentity(ancestor)) {
            for (std::size_t i = 0; i < drives.size(); ++i) {
                if (drives[i] == identity)
                    return joinHostPath(std::string{static_cast<char>('A' + i), ':'}, below, trailingSeparator);
            }
        }
        if (ancestor == ancestor.root_path()) break;
        below.push_back(ancestor.filename().string());
        ancestor = ancestor.parent_path();
    }
    return joinHostPath(std::string(UnixNamespace), below, trailingSeparator);
}

fs::path WineHostPaths::toNative(std::string_view host) const {
    if (host.starts_with(UnixNamespace) && (host.size() == UnixNamespace.size() || isSeparator(host[UnixNamespace.size()]))) {
        fs::path unixPath = "/";
        for (const auto& component : hostComponents(host.substr(UnixNamespace.size()))) unixPath /= component;
        return unixPath;
    }
    if (host.size() < 2 || host[1] != ':') return {};
    char letter = host[0];
    if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
    if (letter < 'a' || letter > 'z') return {};
    if (host.size() > 2 && !isSeparator(host[2])) return {};  // "C:file" is relative to a drive's current folder

    const fs::path drive = driveLink(prefix_, letter);
    const bool driveIsRoot = letter == 'z' && directoryIdentity(drive) == directoryIdentity("/");
    fs::path onDisk = drive;
    fs::path result = driveIsRoot ? fs::path("/") : drive;
    const auto components = hostComponents(host.substr(2));
    // A path that exists as written is spelled on disk in every component:
    // one look-up instead of one per component.
    if (!components.empty()) {
        fs::path written;
        for (const auto& component : components) written /= component;
        std::error_code ec;
        if (fs::exists(fs::symlink_status(drive / written, ec))) return result / written;
    }
    bool matching = true;
    for (const auto& component : components) {
        std::string name = component;
        if (matching) {
            if (const auto spelled = entrySpelledOnDisk(onDisk, component)) name = *spelled;
            else matching = false;  // what follows does not exist yet: keep it as given
        }
        onDisk /= name;
        result /= name;
    }
    if (components.empty() && !driveIsRoot) result /= "";
    return result;
}

std::string WineHostPaths::spelledOnDrive(std::string_view host) const {
    const char letter = host.empty() ? '\0' : static_cast<char>(host[0] | 0x20);
    if (host.size() <= 2 || host[1] != ':' || !isSeparator(host[2]) || letter < 'a' || letter >= 'z') return {};
    // Joined as text: appending to a path parses it again at each component.
    std::string written;
    written.reserve(dosdevices_.size() + host.size() + 2);
    ((written += dosdevices_) += '/') += {letter, ':'};
    const std::size_t drive = written.size();
    forEachHostComponent(
        host.substr(2), [&](std::string_view part) { (written += '/') += part; },
        [&] { written.resize(std::max(drive, written.rfind('/'))); });
    return written;
}

fs::path WineHostPaths::existingNativeFile(std::string_view host) const {
    if (std::string written = spelledOnDrive(host); !written.empty() && isRegularFile(written))
        return fs::path(std::move(written));
    return HostPaths::existingNativeFile(host);
}

bool WineHostPaths::hasExistingFile(std::string_view host) const {
    if (const std::string written = spelledOnDrive(host); !written.empty() && isRegularFile(written)) return true;
    return !HostPaths::existingNativeFile(host).empty();
}

FileStart WineHostPaths::existingNativeFileStart(std::string_view host, std::size_t maxBytes) const {
    if (const std::string written = spelledOnDrive(host); !written.empty())
        if (FileStart start = readFileStartAt(written, maxBytes); start.state != FileStart::State::NoFile) return start;
    return HostPaths::existingNativeFileStart(host, maxBytes);
}

}  // namespace veldra::platform
