#pragma once
// The program's persistent settings under HKCU "Software\VELDRA". All values
// are strings and are never deleted.

#include <optional>
#include <string>

#include "app/RegistryRoutines.h"

namespace veldra::app {

inline constexpr const char* SettingsKey = "Software\\VELDRA";
inline constexpr const char* Wow64Yes = "wahr";
inline constexpr const char* Wow64No = "falsch";

class Settings {
public:
    explicit Settings(RegistryRoutines& routines) : routines_(routines) {}

    std::string language() const { return read("Language"); }
    Status setLanguage(const std::string& value) { return write("Language", value); }

    // "wahr", "falsch" or whatever is stored (empty when missing).
    std::string wow64() const { return read("Wow64"); }
    Status setWow64(bool is64) { return write("Wow64", is64 ? Wow64Yes : Wow64No); }
    // True for "wahr", false for "falsch", nothing for any other value.
    std::optional<bool> os64() const;

    std::string dir() const { return read("Dir"); }
    // Stored when the main window closes, with the read-back check.
    Status storeDirVerified(const std::string& folder);
    Status setDir(const std::string& folder) { return write("Dir", folder); }

    std::string lastDir() const { return read("LastDir"); }
    Status setLastDir(const std::string& folder) { return write("LastDir", folder); }

private:
    std::string read(const char* name) const;
    Status write(const char* name, const std::string& value);

    RegistryRoutines& routines_;
};

// "SOFTWARE\Wow6432Node" for a 64-bit host, "SOFTWARE" otherwise.
std::string hostRegistryRoot(bool os64);

}  // namespace veldra::app
