#pragma once
// A host for core tests: an in-memory registry, special folders in a temporary
// folder, host paths as "Z:" + the native path with backslashes, and security
// and process ports that record what they were asked and start nothing.

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Session.h"
#include "platform/MemoryRegistry.h"
#include "platform/Processes.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace veldra::testing {

namespace fs = std::filesystem;

class FakeHostPaths : public platform::HostPaths {
public:
    std::string toHost(const fs::path& native) const override {
        std::string host = "Z:" + native.string();
        std::replace(host.begin(), host.end(), '/', '\\');
        return host;
    }
    fs::path toNative(std::string_view host) const override {
        if (host.size() < 3 || host[1] != ':') return {};
        std::string native(host.substr(2));
        std::replace(native.begin(), native.end(), '\\', '/');
        return native;
    }
};

class FakeShell : public platform::Shell {
public:
    fs::path root;
    fs::path specialFolder(int csidl) const override { return root / ("csidl-" + std::to_string(csidl)); }
    std::string myGetUserName() const override { return "tester"; }
    std::string versionName;
    bool admin = false;
    std::string windowsVersionName() const override { return versionName; }
    bool IsAdmin() const override { return admin; }
    fs::path shortPath(const fs::path& path) const override { return path; }
    bool openDocument(std::string_view) const override { return false; }
    std::optional<bool> os64;
    std::optional<bool> knownOs64() const override { return os64; }
};

class FakeSecurity : public platform::Security {
public:
    std::vector<std::string> calls;
    std::vector<std::string> SetOwner(const fs::path& path, std::string_view account) override {
        calls.push_back("owner " + path.string() + " " + std::string(account));
        return {};
    }
    std::vector<std::string> SetFolderRights(const fs::path& path, std::string_view account) override {
        calls.push_back("rights " + path.string() + " " + std::string(account));
        return {};
    }
};

class RecordingProcesses : public platform::Processes {
public:
    std::vector<std::string> commandLines;
    std::unique_ptr<platform::RunningProcess> startWithOutputPipe(const std::string& commandLine,
                                                                  platform::StartError& error) override {
        commandLines.push_back(commandLine);
        error = platform::StartError::StartFailed;
        return nullptr;
    }
    bool runAndWait(const std::string& commandLine) override { return startDetached(commandLine); }
    bool startDetached(const std::string& commandLine) override {
        commandLines.push_back(commandLine);
        return true;
    }
};

// Everything a core operation needs, wired together; `session.start()` has run
// with `Wow64` = "wahr" (so the root is SOFTWARE\Wow6432Node) in English.
class FakeHost {
public:
    FakeHost() {
        shell.root = temp.path();
        if (!session.settings.setWow64(true) || !session.settings.setLanguage("Eng"))
            throw std::runtime_error("the memory registry refused the settings");
        session.host.programFolder = temp.path() / "program";
        fs::create_directories(session.host.programFolder);
        session.start();
    }

    TempDir temp;
    platform::MemoryRegistry registry;
    FakeHostPaths paths;
    FakeShell shell;
    FakeSecurity security;
    ScriptedDialogs dialogs;
    RecordingProcesses processes;
    app::Session session{app::Host{registry, paths, shell, security, processes, {}}, dialogs};
};

}  // namespace veldra::testing
