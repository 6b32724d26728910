#pragma once
// The desktop program's session on a Wine prefix, as the windows get it, with
// scripted dialogs that also hand out the folders a test chooses.

#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Session.h"
#include "platform/HostBackend.h"
#include "support/MapFiles.h"
#include "support/PrefixTestSupport.h"
#include "support/ScriptedDialogs.h"

namespace veldra::testing {

class FolderDialogs : public ScriptedDialogs {
public:
    std::deque<std::string> folders;  // answers to folder choices, in order; none left: cancelled

    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        if (folders.empty()) return std::nullopt;
        auto folder = folders.front();
        folders.pop_front();
        return folder;
    }
};

struct PrefixSession {
    platform::HostBackend backend;
    FolderDialogs dialogs;
    std::unique_ptr<app::Session> session;
};

// The session speaks `language` and knows the host as 64-bit. Registry files
// are written only while no wineserver runs: this waits for the prefix's one
// to end. Null when the prefix cannot be opened or the settings not stored.
inline std::unique_ptr<PrefixSession> openPrefixSession(const std::filesystem::path& prefix,
                                                        const std::string& language = "Eng") {
    runCommand(wineCommand(prefix, "wineserver -w"));
    auto backend = platform::openHostBackend(prefix.string());
    if (!backend) return nullptr;
    auto opened = std::make_unique<PrefixSession>();
    opened->backend = std::move(*backend);
    auto& b = opened->backend;
    opened->session = std::make_unique<app::Session>(
        app::Host{*b.registry, *b.paths, *b.shell, *b.security, *b.processes, programDir()}, opened->dialogs);
    if (!opened->session->settings.setLanguage(language) || !opened->session->settings.setWow64(true) ||
        !opened->session->start())
        return nullptr;
    return opened;
}

}  // namespace veldra::testing
