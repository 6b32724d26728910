#pragma once
// A host for core tests: an in-memory registry, special folders in a temporary
// folder, host paths as "Z:" + the native path with backslashes, and a
// security port that records what it was asked.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Session.h"
#include "platform/MemoryRegistry.h"
#include "support/RecordingProcesses.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace veldra::testing {

class FakeHostPaths : public platform::HostPaths {
public:
    std::string toHost(const std::filesystem::path& native) const override {
        std::string host = "Z:" + native.string();
        for (auto& c : host)
            if (c == '/') c = '\\';
        return host;
    }
    std::filesystem::path toNative(std::string_view host) const override {
        if (host.size() < 3 || host[1] != ':') return {};
        std::string native(host.substr(2));
        for (auto& c : native)
            if (c == '\\') c = '/';
        return native;
    }
};

class FakeShell : public platform::Shell {
public:
    std::filesystem::path root;
    std::filesystem::path specialFolder(int csidl) const override {
        return root / ("csidl-" + std::to_string(csidl));
    }
    std::string myGetUserName() const override { return "tester"; }
    std::string windowsVersionName() const override { return {}; }
    bool IsAdmin() const override { return false; }
    std::filesystem::path shortPath(const std::filesystem::path& path) const override { return path; }
    bool openDocument(std::string_view) const override { return false; }
};

class FakeSecurity : public platform::Security {
public:
    std::vector<std::string> calls;
    std::vector<std::string> SetOwner(const std::filesystem::path& path, std::string_view account) override {
        calls.push_back("owner " + path.string() + " " + std::string(account));
        return {};
    }
    std::vector<std::string> SetFolderRights(const std::filesystem::path& path, std::string_view account) override {
        calls.push_back("rights " + path.string() + " " + std::string(account));
        return {};
    }
};

// Everything a core operation needs, wired together; `session.start()` has run
// with `Wow64` = "wahr" (so the root is SOFTWARE\Wow6432Node) in English.
class FakeHost {
public:
    explicit FakeHost(std::filesystem::path programFolder = {}) {
        shell.root = temp.path();
        if (!session.settings.setWow64(true) || !session.settings.setLanguage("Eng"))
            throw std::runtime_error("the memory registry refused the settings");
        session.host.programFolder = programFolder.empty() ? temp.path() / "program" : std::move(programFolder);
        std::filesystem::create_directories(session.host.programFolder);
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
