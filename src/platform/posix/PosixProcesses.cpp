#include "platform/PosixProcesses.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/CommandLine.h"

extern char** environ;

namespace veldra::platform {
namespace {

// Windows starts "prog" as "prog.exe" when the name has no extension; the
// program folder's own tools keep their ".exe" names, so do the same here.
std::string withExeWhereMissing(const std::string& program) {
    const auto slash = program.rfind('/');
    if (slash == std::string::npos || program.find('.', slash) != std::string::npos ||
        ::access(program.c_str(), X_OK) == 0)
        return program;
    const std::string withExe = program + ".exe";
    return ::access(withExe.c_str(), X_OK) == 0 ? withExe : program;
}

class Arguments {
public:
    explicit Arguments(const std::string& commandLine) : strings_(splitCommandLine(commandLine)) {
        if (!strings_.empty()) strings_.front() = withExeWhereMissing(strings_.front());
        for (auto& s : strings_) pointers_.push_back(s.data());
        pointers_.push_back(nullptr);
    }
    bool empty() const { return strings_.empty(); }
    char* const* argv() { return pointers_.data(); }
    const char* program() const { return strings_.front().c_str(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

// Spawns the program; its standard output goes to `stdoutFd` (-1: nowhere),
// its error output to standard error, or nowhere when not `showErrors`.
pid_t spawn(Arguments& args, int stdoutFd, int closeInChild, bool showErrors) {
    if (args.empty()) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    else posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (!showErrors) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (closeInChild >= 0) posix_spawn_file_actions_addclose(&actions, closeInChild);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args.program(), &actions, nullptr, args.argv(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

class PosixRunningProcess : public RunningProcess {
public:
    PosixRunningProcess(pid_t pid, int readFd) : pid_(pid), fd_(readFd) {}
    ~PosixRunningProcess() override {
        ::close(fd_);
        if (!ended_) ::waitpid(pid_, nullptr, 0);
    }

    std::size_t bytesWaiting() override {
        int count = 0;
        if (::ioctl(fd_, FIONREAD, &count) != 0 || count < 0) return 0;
        return static_cast<std::size_t>(count);
    }

    std::optional<std::string> read(std::size_t count) override {
        std::string buffer(count, '\0');
        const ssize_t got = ::read(fd_, buffer.data(), count);
        if (got < 0) return std::nullopt;
        buffer.resize(static_cast<std::size_t>(got));
        return buffer;
    }

    bool hasEnded() override {
        if (!ended_) ended_ = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
        return ended_;
    }

    void waitForOutput(int milliseconds) override {
        pollfd p{fd_, POLLIN, 0};
        ::poll(&p, 1, milliseconds);
    }

private:
    pid_t pid_;
    int fd_;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<RunningProcess> PosixProcesses::startWithOutputPipe(const std::string& commandLine,
                                                                    StartError& error) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = StartError::PipeFailed;
        return nullptr;
    }
    Arguments args(commandLine);
    // A failing program's reason is on its error output: always shown.
    const pid_t pid = spawn(args, fds[1], fds[0], true);
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        error = StartError::StartFailed;
        return nullptr;
    }
    error = StartError::None;
    return std::make_unique<PosixRunningProcess>(pid, fds[0]);
}

bool PosixProcesses::runAndWait(const std::string& commandLine) {
    Arguments args(commandLine);
    const pid_t pid = spawn(args, showOutput_ ? STDERR_FILENO : -1, -1, showOutput_);
    if (pid < 0) return false;
    ::waitpid(pid, nullptr, 0);
    return true;
}

bool PosixProcesses::startDetached(const std::string& commandLine) {
    Arguments args(commandLine);
    const pid_t pid = spawn(args, showOutput_ ? STDERR_FILENO : -1, -1, showOutput_);
    // Nobody waits for it; it is reaped when this process ends.
    return pid >= 0;
}

}  // namespace veldra::platform
