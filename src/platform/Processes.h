#pragma once
// Starting outside programs. Command lines are the exact strings the pipeline
// builds; backends split them with the Windows rules where they must.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace veldra::platform {

// A program started hidden with its standard output on a pipe. Standard input
// and standard error are the caller's.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    // Bytes that can be read without blocking.
    virtual std::size_t bytesWaiting() = 0;
    // Reads up to `count` bytes; nothing when the read fails.
    virtual std::optional<std::string> read(std::size_t count) = 0;
    // Tests without waiting whether the program has ended.
    virtual bool hasEnded() = 0;
    // Waits at most `milliseconds` for output or the end of the output.
    virtual void waitForOutput(int milliseconds) = 0;
};

enum class StartError { None, PipeFailed, StartFailed };

class Processes {
public:
    virtual ~Processes() = default;
    virtual std::unique_ptr<RunningProcess> startWithOutputPipe(const std::string& commandLine,
                                                                StartError& error) = 0;
    // Starts and waits without time-out; false when it could not be started.
    virtual bool runAndWait(const std::string& commandLine) = 0;
    // Starts without waiting; false when it could not be started.
    virtual bool startDetached(const std::string& commandLine) = 0;
};

}  // namespace veldra::platform
