#include "integration/ConsoleRunner.h"

#include "app/Dialogs.h"
#include "app/MessageCatalog.h"

namespace veldra::integration {
namespace {

void removeAll(std::string& text, const std::string& what) {
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos)) {
        auto end = pos + what.size();
        // Take the line end with it, so no empty line is left.
        if (end < text.size() && text[end] == '\r') ++end;
        if (end < text.size() && text[end] == '\n') ++end;
        text.erase(pos, end - pos);
    }
}

}  // namespace

ConsoleRunner::ConsoleRunner(app::Dialogs& dialogs, const app::MessageCatalog& catalog,
                             platform::Processes& processes, app::ConsoleWindow& console)
    : dialogs_(dialogs), catalog_(catalog), processes_(processes), console_(console) {}

std::string withoutGmtBanner(std::string output) {
    removeAll(output, GmtBanner);
    return output;
}

void ConsoleRunner::WaitForApplication(const std::string& commandLine) {
    dialogs_.status(catalog_.text(app::Msg::MsgIntegrationStarted));
    dialogs_.processEvents();
    console_.setText(commandLine);
    console_.setVisible(true);
    console_.setText(withoutGmtBanner(ExecCmd(commandLine)));
    dialogs_.processEvents();
}

std::string ConsoleRunner::ExecCmd(const std::string& commandLine) {
    auto& dialogs = dialogs_;
    dialogs.busy(true);
    if (lastCommandLine_.find("gmt.exe -G") != std::string::npos)
        console_.setText("search for included FID's in gmapsupp.img, it may take a few minutes..");
    else if (lastCommandLine_.find("gmt.exe -S") != std::string::npos)
        console_.setText("found some FID..splitting gmapsupp.img, it may take a few minutes. bee patient...");

    platform::StartError error = platform::StartError::None;
    auto process = processes_.startWithOutputPipe(commandLine, error);
    std::string output;
    if (error == platform::StartError::PipeFailed) dialogs.inform("CreatePipe failed Error!");
    if (!process) {
        if (error == platform::StartError::StartFailed) dialogs.inform("Error while starting process!");
        dialogs.busy(false);
        return output;
    }

    using Clock = std::chrono::steady_clock;
    auto lastMark = Clock::now();
    bool readFailed = false;
    for (;;) {
        // After a failed read only the end of the program is awaited.
        const std::size_t waiting = readFailed ? 0 : process->bytesWaiting();
        if (waiting == 0) {
            const bool ended = process->hasEnded();
            if (Clock::now() - lastMark > dotInterval) {
                console_.appendText(".");
                lastMark = Clock::now();
                dialogs.processEvents();
            }
            // Output written just before the end may still be on its way.
            if (ended && (readFailed || process->bytesWaiting() == 0)) break;
            if (!ended) process->waitForOutput(5);
        } else if (auto chunk = process->read(waiting)) {
            output += *chunk;
        } else if (!readFailed) {
            readFailed = true;
            dialogs.inform("ReadFile failed!");
        }
        dialogs.processEvents();
    }
    dialogs.busy(false);
    return output;
}

}  // namespace veldra::integration
