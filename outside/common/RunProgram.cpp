#include "common/RunProgram.h"

#ifdef _WIN32
#include <process.h>

#include "platform/Cp1252.h"
#else
#include "platform/PosixProcesses.h"
#endif

namespace veldra::outside {

std::string quoteCommandArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) return std::string(argument);
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote is escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');  // they stand before the closing quote
    return quoted + "\"";
}

std::string commandLineOf(const std::vector<std::string>& arguments) {
    std::string line;
    for (const auto& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += quoteCommandArgument(argument);
    }
    return line;
}

#ifdef _WIN32
bool runProgram(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return false;
    std::vector<std::wstring> wide;
    for (const auto& argument : arguments) {
        const std::u16string text = platform::utf8ToUtf16(quoteCommandArgument(argument));
        wide.emplace_back(text.begin(), text.end());
    }
    std::vector<const wchar_t*> argv;
    for (const auto& w : wide) argv.push_back(w.c_str());
    argv.push_back(nullptr);
    const std::u16string program = platform::utf8ToUtf16(arguments.front());
    return _wspawnvp(_P_WAIT, std::wstring(program.begin(), program.end()).c_str(), argv.data()) != -1;
}
#else
bool runProgram(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return false;
    platform::PosixProcesses processes;
    return processes.runAndWait(commandLineOf(arguments));
}
#endif

}  // namespace veldra::outside
