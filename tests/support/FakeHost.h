#pragma once
// A host for core tests: an in-memory registry, special folders in a temporary
// folder, host paths as "Z:" + the native path with backslashes, and a
// security port that records what it was asked.

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/Session.h"
#include "platform/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"

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

// A temporary folder that is removed with the object.
class TempFolder {
public:
    TempFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("veldra-" + std::string(test ? test->test_suite_name() : "x") + "-" +
                 std::string(test ? test->name() : "y") + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Everything a core operation needs, wired together; `session.start()` has run
// with `Wow64` = "wahr" (so the root is SOFTWARE\Wow6432Node) in English.
class FakeHost {
public:
    explicit FakeHost(std::filesystem::path programFolder = {}) {
        shell.root = temp.path();
        registry.createKey(platform::RegistryRoot::CurrentUser, app::SettingsKey);
        session.settings.setWow64(true);
        session.settings.setLanguage("Eng");
        session.host.programFolder = programFolder.empty() ? temp.path() / "program" : std::move(programFolder);
        std::filesystem::create_directories(session.host.programFolder);
        session.start();
    }

    TempFolder temp;
    platform::MemoryRegistry registry;
    FakeHostPaths paths;
    FakeShell shell;
    FakeSecurity security;
    ScriptedDialogs dialogs;
    app::Session session{app::Host{registry, paths, shell, security, {}}, dialogs};
};

}  // namespace veldra::testing
