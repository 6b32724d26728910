#include "platform/WineShellFolders.h"

#include <optional>

#include "platform/RegistryPath.h"
#include "platform/Shell.h"

namespace veldra::platform {
namespace {

constexpr std::string_view ProfileListKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// Wine gives every prefix's user this one identifier.
constexpr std::string_view WineUserProfileKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-0-0-0-1000";
constexpr std::string_view SystemEnvironmentKey = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr int MaxExpansionDepth = 4;  // variables naming variables; guards against loops

struct FolderValue {
    int csidl;
    RegistryRoot root;
    std::string_view name;
};

constexpr FolderValue FolderValues[] = {
    {csidl::AppData, RegistryRoot::CurrentUser, "AppData"},
    {csidl::LocalAppData, RegistryRoot::CurrentUser, "Local AppData"},
    {csidl::CommonAppData, RegistryRoot::LocalMachine, "Common AppData"},
};

const FolderValue* folderValue(int number) {
    for (const auto& folder : FolderValues)
        if (folder.csidl == number) return &folder;
    return nullptr;
}

std::optional<std::string> stringValue(const Registry& registry, RegistryRoot root, std::string_view key,
                                       std::string_view name) {
    const auto value = registry.queryValue(root, key, name);
    if (!value || (value->type != RegistryType::String && value->type != RegistryType::ExpandString)) return std::nullopt;
    std::string text = value->text();
    if (text.empty()) return std::nullopt;
    return text;
}

class Expander {
public:
    Expander(const Registry& registry, std::string_view userName) : registry_(registry), userName_(userName) {}

    // Replaces each %NAME% the prefix defines; unknown ones stay as written, as on Windows.
    std::string expand(std::string_view text, int depth = 0) const {
        std::string out;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const auto open = text.find('%', pos);
            const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
            if (close == std::string_view::npos) break;
            out.append(text.substr(pos, open - pos));
            const auto name = text.substr(open + 1, close - open - 1);
            const auto value = depth < MaxExpansionDepth ? variable(name, depth) : std::nullopt;
            if (value) {
                out += *value;
                pos = close + 1;
            } else {
                out.append(text.substr(open, close - open));
                pos = close;  // the closing '%' may open the next variable
            }
        }
        out.append(text.substr(pos));
        return out;
    }

private:
    std::optional<std::string> variable(std::string_view name, int depth) const {
        if (auto value = lookup(name)) return expand(*value, depth + 1);
        return std::nullopt;
    }

    std::optional<std::string> lookup(std::string_view name) const {
        if (name.empty()) return std::nullopt;  // "%%"
        const auto machine = [&](std::string_view key, std::string_view value) {
            return stringValue(registry_, RegistryRoot::LocalMachine, key, value);
        };
        if (equalsIgnoreCase(name, "USERPROFILE")) {
            if (auto path = machine(WineUserProfileKey, "ProfileImagePath")) return path;
            return machine(ProfileListKey, "ProfilesDirectory").value_or("C:\\users") + "\\" + std::string(userName_);
        }
        if (equalsIgnoreCase(name, "ProgramData") || equalsIgnoreCase(name, "ALLUSERSPROFILE"))
            return machine(ProfileListKey, "ProgramData").value_or("C:\\ProgramData");
        if (equalsIgnoreCase(name, "PUBLIC")) return machine(ProfileListKey, "Public").value_or("C:\\users\\Public");
        if (equalsIgnoreCase(name, "SystemDrive")) return std::string("C:");
        if (equalsIgnoreCase(name, "SystemRoot") || equalsIgnoreCase(name, "windir")) return std::string("C:\\windows");
        if (auto value = stringValue(registry_, RegistryRoot::CurrentUser, "Environment", name)) return value;
        return machine(SystemEnvironmentKey, name);
    }

    const Registry& registry_;
    std::string_view userName_;
};

}  // namespace

std::string defaultShellFolderHostPath(int number, std::string_view userName) {
    const std::string profile = "C:\\users\\" + std::string(userName);
    switch (number) {
        case csidl::AppData: return profile + "\\AppData\\Roaming";
        case csidl::LocalAppData: return profile + "\\AppData\\Local";
        case csidl::CommonAppData: return "C:\\ProgramData";
        default: return {};
    }
}

std::string shellFolderHostPath(const Registry& registry, int number, std::string_view userName) {
    const FolderValue* folder = folderValue(number);
    if (!folder) return {};
    // The user's own setting wins; "Shell Folders" is the shell's record of the result.
    if (auto path = stringValue(registry, folder->root, UserShellFoldersKey, folder->name))
        return Expander(registry, userName).expand(*path);
    if (auto path = stringValue(registry, folder->root, ShellFoldersKey, folder->name)) return *path;
    return defaultShellFolderHostPath(number, userName);
}

long writeDefaultShellFolderValues(Registry& registry, std::string_view userName) {
    for (const auto& folder : FolderValues) {
        if (const long error = registry.createKey(folder.root, ShellFoldersKey); error != regerror::Success) return error;
        const auto value = RegistryValue::fromString(defaultShellFolderHostPath(folder.csidl, userName));
        if (const long error = registry.setValue(folder.root, ShellFoldersKey, folder.name, value); error != regerror::Success)
            return error;
    }
    return regerror::Success;
}

}  // namespace veldra::platform
