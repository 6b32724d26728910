#pragma once
#include "platform/Processes.h"

namespace veldra::platform {

// CreateProcessW with the command line as it is: Windows finds the program
// and adds ".exe" itself. Output runs through an anonymous pipe that the
// caller polls together with the process. As on every system, the
// programs' own output is for those who ask for it: without `showOutput`
// their error output (and an awaited or detached program's output) goes to
// NUL; with it, to this program's error output.
class Win32Processes : public Processes {
public:
    explicit Win32Processes(bool showOutput = false) : showOutput_(showOutput) {}

    std::unique_ptr<RunningProcess> startWithOutputPipe(const std::string& commandLine, StartError& error) override;
    bool runAndWait(const std::string& commandLine) override;
    // Minimized with the focus, as the access-rights tool is started.
    bool startDetached(const std::string& commandLine) override;

private:
    bool showOutput_;
};

}  // namespace veldra::platform
