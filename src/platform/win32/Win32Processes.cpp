#include "platform/Win32Processes.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace veldra::platform {
namespace {

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { reset(); }
    void reset() {
        if (handle_) CloseHandle(handle_);
        handle_ = nullptr;
    }
    HANDLE get() const { return handle_; }
    HANDLE* receive() { return &handle_; }

private:
    HANDLE handle_;
};

SECURITY_ATTRIBUTES inheritableHandles() { return {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE}; }

// Where output goes that nobody is to see.
HANDLE nowhere() {
    SECURITY_ATTRIBUTES inheritable = inheritableHandles();
    return CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                       nullptr);
}

// Starts the command line in `showState` with the given standard output and
// error; the process handle on success, its thread's handle closed.
HANDLE start(const std::string& commandLine, WORD showState, HANDLE output, HANDLE errors) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = showState;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = errors;
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring line = wideText(commandLine);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// A program whose output nobody reads: shown only when asked for, on standard error.
HANDLE startUnread(const std::string& commandLine, WORD showState, bool showOutput) {
    if (showOutput) {
        const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
        return start(commandLine, showState, errors, errors);
    }
    Handle sink(nowhere());
    return start(commandLine, showState, sink.get(), sink.get());
}

class Win32RunningProcess : public RunningProcess {
public:
    Win32RunningProcess(HANDLE process, HANDLE readEnd) : process_(process), pipe_(readEnd) {}
    ~Win32RunningProcess() override {
        pipe_.reset();
        if (!ended_) WaitForSingleObject(process_.get(), INFINITE);
    }

    std::size_t bytesWaiting() override {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe_.get(), nullptr, 0, nullptr, &available, nullptr)) return 0;
        return available;
    }

    std::optional<std::string> read(std::size_t count) override {
        std::string buffer(count, '\0');
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
        if (!ReadFile(pipe_.get(), buffer.data(), wanted, &got, nullptr)) {
            // The writer's end closed: the end of the output, not a failure.
            if (GetLastError() == ERROR_BROKEN_PIPE) return std::string();
            return std::nullopt;
        }
        buffer.resize(got);
        return buffer;
    }

    bool hasEnded() override {
        if (!ended_) ended_ = WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
        return ended_;
    }

    // An anonymous pipe cannot be waited on; look every millisecond instead.
    void waitForOutput(int milliseconds) override {
        const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(std::max(milliseconds, 0));
        while (bytesWaiting() == 0 && !hasEnded() && GetTickCount64() < until) Sleep(1);
    }

private:
    Handle process_;
    Handle pipe_;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<RunningProcess> Win32Processes::startWithOutputPipe(const std::string& commandLine, StartError& error) {
    SECURITY_ATTRIBUTES inheritable = inheritableHandles();
    Handle readEnd;
    Handle writeEnd;
    if (!CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0) ||
        // The child gets only the write end, so the output ends when it ends.
        !SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0)) {
        error = StartError::PipeFailed;
        return nullptr;
    }
    Handle sink(showOutput_ ? nullptr : nowhere());
    HANDLE process = start(commandLine, SW_HIDE, writeEnd.get(), showOutput_ ? GetStdHandle(STD_ERROR_HANDLE) : sink.get());
    writeEnd.reset();
    if (!process) {
        error = StartError::StartFailed;
        return nullptr;
    }
    error = StartError::None;
    HANDLE pipe = readEnd.get();
    *readEnd.receive() = nullptr;
    return std::make_unique<Win32RunningProcess>(process, pipe);
}

bool Win32Processes::runAndWait(const std::string& commandLine) {
    Handle process(startUnread(commandLine, SW_HIDE, showOutput_));
    if (!process.get()) return false;
    WaitForSingleObject(process.get(), INFINITE);
    return true;
}

bool Win32Processes::startDetached(const std::string& commandLine) {
    Handle process(startUnread(commandLine, SW_SHOWMINIMIZED, showOutput_));
    return process.get() != nullptr;
}

}  // namespace veldra::platform
