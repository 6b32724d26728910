#pragma once
#include "platform/Processes.h"

namespace veldra::platform {

// posix_spawn with a pipe on standard output; programs are found on PATH
// when the command names no folder.
class PosixProcesses : public Processes {
public:
    std::unique_ptr<RunningProcess> startWithOutputPipe(const std::string& commandLine, StartError& error) override;
    bool runAndWait(const std::string& commandLine) override;
    bool startDetached(const std::string& commandLine) override;
};

}  // namespace veldra::platform
