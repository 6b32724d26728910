#pragma once
// Runs outside programs hidden, collects their standard output and keeps the
// user informed while they run.

#include <chrono>
#include <string>

#include "app/ConsoleWindow.h"
#include "formats/GmtBanner.h"
#include "platform/Processes.h"

namespace veldra::app {
class Dialogs;
class MessageCatalog;
}  // namespace veldra::app

namespace veldra::integration {

using formats::GmtBanner;

class ConsoleRunner {
public:
    ConsoleRunner(app::Dialogs& dialogs, const app::MessageCatalog& catalog, platform::Processes& processes,
                  app::ConsoleWindow& console);

    // The last gmt.exe command line of a gmapsupp split; chooses the progress text.
    void setLastCommandLine(std::string commandLine) { lastCommandLine_ = std::move(commandLine); }

    // Shows the command, runs it to its end and shows its output without the banner.
    void WaitForApplication(const std::string& commandLine);

    // Runs the command and returns everything it wrote to standard output.
    std::string ExecCmd(const std::string& commandLine);

    // How long the program may be silent before a progress dot appears.
    std::chrono::milliseconds dotInterval{20};

private:
    app::Dialogs& dialogs_;
    const app::MessageCatalog& catalog_;
    platform::Processes& processes_;
    app::ConsoleWindow& console_;
    std::string lastCommandLine_;
};

// The output with every occurrence of the gmt.exe banner line removed.
std::string withoutGmtBanner(std::string output);

}  // namespace veldra::integration
