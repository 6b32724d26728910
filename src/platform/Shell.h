#pragma once
// The shell probes the program needs: special folders, the user's name, the
// Windows version, the administrator check, short paths and opening documents.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veldra::platform {

// The special folder numbers the program asks for.
namespace csidl {
inline constexpr int AppData = 0x1A;        // application data of the user
inline constexpr int LocalAppData = 0x1C;   // local application data of the user
inline constexpr int CommonAppData = 0x23;  // application data common to all users
}  // namespace csidl

class Shell {
public:
    virtual ~Shell() = default;

    // The folder of a special folder number as a native path; empty when unknown.
    virtual std::filesystem::path specialFolder(int csidl) const = 0;
    // The signed-in user's name; empty when it cannot be found.
    virtual std::string myGetUserName() const = 0;
    // "Windows XP", "Windows 7", ...; empty when not a known version.
    virtual std::string windowsVersionName() const = 0;
    // Member of the Administrators group with its rights in force.
    virtual bool IsAdmin() const = 0;
    // The 8.3 form of an existing path; the path itself where there is none.
    virtual std::filesystem::path shortPath(const std::filesystem::path& path) const = 0;
    // Opens a document with its associated program, or a URL in the browser,
    // without waiting. False when nothing could be started.
    virtual bool openDocument(std::string_view documentOrUrl) const = 0;
    // Whether the host Windows is 64-bit, when the host itself tells; nothing
    // when the user has to be asked.
    virtual std::optional<bool> knownOs64() const { return std::nullopt; }
};

}  // namespace veldra::platform
