#pragma once
// Tests against Wine: commands run in a prefix, one prefix that Wine itself
// made for the whole test program, and the rule for a missing Wine: skip on a
// developer's machine, fail under CI (CI set), where a green run must mean
// that these tests ran.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/Commands.h"
#include "support/TempFolder.h"

namespace veldra::testing {

inline bool underCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && *ci != '\0';
}

inline bool wineInstalled() {
    return runCommand("command -v wine && command -v wineboot && command -v winepath && command -v wineserver")
               .status == 0;
}

// A command run under Wine for the prefix: headless, quiet, UTF-8 file names.
inline std::string wineCommand(const std::filesystem::path& prefix, const std::string& command) {
    return "WINEPREFIX=" + shellQuote(prefix.string()) +
           " WINEDEBUG=-all LANG=C.UTF-8 env -u DISPLAY -u WAYLAND_DISPLAY " + command + " 2>/dev/null";
}

// Runs wineboot (-i makes, -u updates) and waits until the server has saved the registry.
inline bool wineboot(const std::filesystem::path& prefix, const std::string& mode) {
    const bool booted = runCommand(wineCommand(prefix, "wineboot " + mode)).status == 0;
    return runCommand(wineCommand(prefix, "wineserver -w")).status == 0 && booted;
}

inline void stopWineServer(const std::filesystem::path& prefix) { runCommand(wineCommand(prefix, "wineserver -k")); }

inline CommandResult runInWine(const std::filesystem::path& prefix, const std::string& command) {
    return runCommand(wineCommand(prefix, command));
}

// The native path Wine's `winepath -u` gives for a host path.
inline std::filesystem::path nativeByWine(const std::filesystem::path& prefix, const std::string& host) {
    std::string native = runInWine(prefix, "winepath -u " + shellQuote(host)).output;
    native.erase(native.find_last_not_of("\r\n") + 1);
    return native;
}

// A family registered by Wine's `reg add` as the integration registers it: ID
// and `familyValues` in the key `family` (HKLM\...\Families\<name>), TDB,
// BMAP and LOC of C:\maps\<folder>\<tdbBase>.* in its product subkey 1.
inline bool registerFamilyWithWine(const std::filesystem::path& prefix, const std::string& family,
                                   const std::string& folder, const std::string& tdbBase, const std::string& idBytes,
                                   const std::vector<std::pair<std::string, std::string>>& familyValues = {}) {
    const auto add = [&](const std::string& key, const std::string& name, const std::string& type,
                         const std::string& data) {
        return wineCommand(prefix, "wine reg add " + shellQuote(key) + " /v " + name + " /t " + type + " /d " +
                                       shellQuote(data) + " /f >/dev/null");
    };
    const std::string at = "C:\\maps\\" + folder + "\\";
    // One after the other while the first one's server still runs.
    std::string commands = add(family, "ID", "REG_BINARY", idBytes);
    for (const auto& [name, value] : familyValues) commands += " && " + add(family, name, "REG_SZ", value);
    commands += " && " + add(family + "\\1", "TDB", "REG_SZ", at + tdbBase + ".tdb") + " && " +
                add(family + "\\1", "BMAP", "REG_SZ", at + tdbBase + ".img") + " && " +
                add(family + "\\1", "LOC", "REG_SZ", at);
    return runCommand(commands).status == 0;
}

// `veldra --lang Eng` on a prefix, once Wine's server has saved the registry
// (VELDRA writes only while none runs); its messages are part of the output
// unless `withMessages` is false.
inline CommandResult veldraOnPrefix(const std::filesystem::path& prefix, const std::string& arguments,
                                    bool withMessages = true) {
    runCommand(wineCommand(prefix, "wineserver -w"));
    return runCommand(std::string(VELDRA_PROGRAM_DIR) + "/veldra --prefix " + shellQuote(prefix.string()) +
                      " --lang Eng " + arguments + (withMessages ? " </dev/null 2>&1" : " </dev/null 2>/dev/null"));
}

// One prefix made by Wine itself, shared by every test of the program: making
// one takes several seconds. Empty when Wine is not installed or fails.
class WineTestPrefix {
public:
    static const std::filesystem::path& path() {
        static WineTestPrefix instance;
        return instance.prefix_;
    }
    ~WineTestPrefix() {
        if (!prefix_.empty()) stopWineServer(prefix_);
    }

private:
    WineTestPrefix() {
        if (!wineInstalled()) return;
        const std::filesystem::path candidate = dir_.path() / "wine";
        if (wineboot(candidate, "-i") && std::filesystem::exists(candidate / "system.reg")) prefix_ = candidate;
    }
    TempDir dir_;
    std::filesystem::path prefix_;
};

// Ends the test (or its SetUp) unless `available`: skipped, or failed under CI.
#define VELDRA_NEEDS(available, what)                                                          \
    do {                                                                                       \
        if (!(available)) {                                                                    \
            if (::veldra::testing::underCi()) FAIL() << "needs " what ", which CI must have";  \
            GTEST_SKIP() << "needs " what;                                                     \
        }                                                                                      \
    } while (false)

#define VELDRA_REQUIRE_WINE() VELDRA_NEEDS(::veldra::testing::wineInstalled(), "Wine (wine, wineboot, winepath)")

#define VELDRA_REQUIRE_WINE_PREFIX()                                  \
    VELDRA_NEEDS(!::veldra::testing::WineTestPrefix::path().empty(), \
                 "Wine (wine, wineboot, winepath) to make a test prefix")

}  // namespace veldra::testing
