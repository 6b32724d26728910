#pragma once
#include "platform/Processes.h"

namespace veldra::platform {

// posix_spawn with a pipe on standard output; programs are found on PATH
// when the command names no folder.
// The programs' own output is for those who ask for it: a detached or
// awaited program's output goes nowhere without `showOutput`, else to this
// program's error output, so that the standard output keeps only results.
// Piped output is the caller's; a piped program's error output, where a
// failing tool gives its reason, always goes to this program's error output.
class PosixProcesses : public Processes {
public:
    explicit PosixProcesses(bool showOutput = false) : showOutput_(showOutput) {}

    std::unique_ptr<RunningProcess> startWithOutputPipe(const std::string& commandLine, StartError& error) override;
    bool runAndWait(const std::string& commandLine) override;
    bool startDetached(const std::string& commandLine) override;

private:
    bool showOutput_;
};

}  // namespace veldra::platform
