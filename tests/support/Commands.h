#pragma once
// Running commands and programs from the tests through the shell, to their end.

#include <filesystem>
#include <string>
#include <vector>

namespace veldra::testing {

struct CommandResult {
    int status = -1;     // the exit code; -1 when the command did not exit
    std::string output;  // what it printed
};

// Quotes a word for the POSIX shell.
std::string shellQuote(const std::string& text);

// Runs a shell command line; the output is its standard output only.
CommandResult runCommand(const std::string& command);

// Runs a program with its arguments, each quoted, standard error merged into
// the output. `environment` ("NAME=value ...", "-u NAME" unsets) goes to env.
CommandResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::string& environment = "");

// The lines of an output, without their line ends (LF or CR LF).
std::vector<std::string> outputLines(const std::string& output);

}  // namespace veldra::testing
