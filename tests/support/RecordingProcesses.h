#pragma once
// Test double of the Processes port: records every command line and starts nothing.

#include <string>
#include <vector>

#include "platform/Processes.h"

namespace veldra::testing {

class RecordingProcesses : public platform::Processes {
public:
    std::vector<std::string> commandLines;

    std::unique_ptr<platform::RunningProcess> startWithOutputPipe(const std::string& commandLine,
                                                                  platform::StartError& error) override {
        commandLines.push_back(commandLine);
        error = platform::StartError::StartFailed;
        return nullptr;
    }
    bool runAndWait(const std::string& commandLine) override {
        commandLines.push_back(commandLine);
        return true;
    }
    bool startDetached(const std::string& commandLine) override {
        commandLines.push_back(commandLine);
        return true;
    }
};

}  // namespace veldra::testing
