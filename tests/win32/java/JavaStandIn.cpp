// java.exe for the tests under Wine, which has no Java for Windows: it runs
// the system's Java, a Unix program, with the Windows paths among its
// arguments turned into Unix paths, and passes on its output and exit code.
// The outside programs find it as they would find a Windows Java (JAVA_HOME).
// Never installed: a Windows without Wine has neither Unix programs nor paths.

#include <windows.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "common/RunProgram.h"
#include "common/ToolArguments.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"

namespace {

using namespace veldra;

constexpr const char* UnixJava = "/usr/bin/java";
constexpr const char* UnixShell = "/bin/sh";

std::wstring wide(const std::string& utf8) {
    const std::u16string text = platform::utf8ToUtf16(utf8);
    return {text.begin(), text.end()};
}

// Wine's kernel32 converts between the two kinds of path; the strings it
// returns live in the process heap.
using WineToUnix = char*(CDECL*)(LPCWSTR);
using WineToWindows = WCHAR*(CDECL*)(LPCSTR);

template <class Function>
Function wineExport(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

std::string unixPath(const std::string& windowsPath) {
    static const auto toUnix = wineExport<WineToUnix>("wine_get_unix_file_name");
    char* path = toUnix(wide(windowsPath).c_str());
    if (path == nullptr) return windowsPath;
    std::string text(path);
    HeapFree(GetProcessHeap(), 0, path);
    return text;
}

std::wstring windowsPath(const std::string& unixName) {
    static const auto toWindows = wineExport<WineToWindows>("wine_get_dos_file_name");
    WCHAR* path = toWindows(unixName.c_str());
    if (path == nullptr) return {};
    std::wstring text(path);
    HeapFree(GetProcessHeap(), 0, path);
    return text;
}

bool isWindowsPath(const std::string& text) {
    return text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) != 0 && text[1] == ':' &&
           (text[2] == '\\' || text[2] == '/');
}

// "C:\x" and "--option=C:\x" carry a path; anything else is passed as it is.
std::string translated(const std::string& argument) {
    if (isWindowsPath(argument)) return unixPath(argument);
    const auto equals = argument.find('=');
    if (argument.starts_with("-") && equals != std::string::npos && isWindowsPath(argument.substr(equals + 1)))
        return argument.substr(0, equals + 1) + unixPath(argument.substr(equals + 1));
    return argument;
}

void removeQuietly(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

void moveToStream(const std::filesystem::path& file, std::ostream& out) {
    if (std::ifstream in(file, std::ios::binary); in) out << in.rdbuf();
    out.flush();
    removeQuietly(file);
}

// Wine starts a Unix program without a process handle to wait for, and the
// program cannot write into a pipe of ours. So a shell runs Java with its
// output in files and leaves its exit code in one more file, made last; then
// the output is passed on.
int runUnixJava(const std::vector<std::string>& arguments) {
    wchar_t folder[MAX_PATH];
    wchar_t reserved[MAX_PATH];
    if (GetTempPathW(MAX_PATH, folder) == 0 || GetTempFileNameW(folder, L"jv", 0, reserved) == 0) return 1;
    const std::filesystem::path base(reserved);
    const auto beside = [&base](const wchar_t* extension) { return std::filesystem::path(base) += extension; };

    std::vector<std::string> command = {
        UnixShell, "-c", "\"$@\" >\"$0.out\" 2>\"$0.err\"; echo $? >\"$0.part\"; mv \"$0.part\" \"$0.exit\"",
        unixPath(platform::pathText(base)), UnixJava};
    for (const auto& argument : arguments) command.push_back(translated(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = wide(outside::commandLineOf(command));
    if (CreateProcessW(windowsPath(UnixShell).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process) == 0) {
        std::cerr << "java.exe: cannot start " << UnixShell << " (error " << GetLastError() << ")\n";
        removeQuietly(base);
        return 1;
    }
    if (process.hProcess != nullptr) CloseHandle(process.hProcess);
    if (process.hThread != nullptr) CloseHandle(process.hThread);

    // A test run is never that long; a shell killed before its end must not hang it.
    constexpr int PollMilliseconds = 20;
    constexpr int MostPolls = 10 * 60 * 1000 / PollMilliseconds;
    int exitCode = 1;
    for (int polls = 0;; ++polls) {
        if (std::ifstream ended(beside(L".exit")); ended) {
            ended >> exitCode;
            break;
        }
        if (polls == MostPolls) {
            std::cerr << "java.exe: " << UnixJava << " did not end within 10 minutes\n";
            break;
        }
        Sleep(PollMilliseconds);
    }
    moveToStream(beside(L".out"), std::cout);
    moveToStream(beside(L".err"), std::cerr);
    removeQuietly(beside(L".exit"));
    removeQuietly(base);
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    if (wineExport<WineToUnix>("wine_get_unix_file_name") == nullptr) {
        std::cerr << "java.exe: runs under Wine only\n";
        return 1;
    }
    return runUnixJava(outside::toolArguments(argc, argv));
}
