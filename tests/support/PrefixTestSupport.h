#pragma once
// Helpers of the prefix, host path, shell and security tests: temporary
// folders, running commands, and one real Wine prefix per test program.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace veldra::testing {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "veldra-prefix-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct CommandResult {
    int status = -1;     // the exit code; -1 when the command did not exit
    std::string output;  // standard output only
};

inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) result.output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline std::vector<std::string> outputLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline bool wineInstalled() { return runCommand("command -v wine >/dev/null 2>&1 && command -v winepath >/dev/null 2>&1").status == 0; }

// A command run under Wine for the prefix: headless, quiet, UTF-8 file names.
inline std::string wineCommand(const fs::path& prefix, const std::string& command) {
    return "WINEPREFIX=" + shellQuote(prefix.string()) +
           " WINEDEBUG=-all LANG=C.UTF-8 env -u DISPLAY -u WAYLAND_DISPLAY " + command + " 2>/dev/null";
}

// Runs wineboot (-i makes, -u updates) and waits until the server has saved the registry.
inline bool wineboot(const fs::path& prefix, const std::string& mode) {
    const bool booted = runCommand(wineCommand(prefix, "wineboot " + mode)).status == 0;
    return runCommand(wineCommand(prefix, "wineserver -w")).status == 0 && booted;
}

inline void stopWineServer(const fs::path& prefix) { runCommand(wineCommand(prefix, "wineserver -k")); }

// One prefix made by Wine itself, shared by every test of the program: making
// one takes several seconds. Empty when Wine is not installed or fails.
class WineTestPrefix {
public:
    static const fs::path& path() {
        static WineTestPrefix instance;
        return instance.prefix_;
    }
    ~WineTestPrefix() {
        if (!prefix_.empty()) stopWineServer(prefix_);
    }

private:
    WineTestPrefix() {
        if (!wineInstalled()) return;
        const fs::path candidate = dir_.path() / "wine";
        if (wineboot(candidate, "-i") && fs::exists(candidate / "system.reg")) prefix_ = candidate;
    }
    TempDir dir_;
    fs::path prefix_;
};

#define VELDRA_REQUIRE_WINE_PREFIX()                                                             \
    do {                                                                                         \
        if (::veldra::testing::WineTestPrefix::path().empty())                                   \
            GTEST_SKIP() << "needs Wine (wine, winepath, wineboot) to make a test prefix";       \
    } while (false)

}  // namespace veldra::testing
