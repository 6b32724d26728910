#include "support/Commands.h"

#include <stdio.h>
#include <sys/wait.h>

#include <array>
#include <sstream>

namespace veldra::testing {

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
        result.output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CommandResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::string& environment) {
    std::string command = environment.empty() ? "" : "env " + environment + " ";
    command += shellQuote(program.string());
    for (const auto& argument : arguments) command += " " + shellQuote(argument);
    return runCommand(command + " 2>&1");
}

std::vector<std::string> outputLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace veldra::testing
