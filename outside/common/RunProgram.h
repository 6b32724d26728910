#pragma once
// Running another program from an outside program and waiting for it; its
// output goes where ours goes.

#include <string>
#include <string_view>
#include <vector>

namespace veldra::outside {

// The argument as it must stand in a command line split by the Windows rules.
std::string quoteCommandArgument(std::string_view argument);

// The program and its arguments (UTF-8) joined into one command line.
std::string commandLineOf(const std::vector<std::string>& arguments);

// False when the program could not be started.
bool runProgram(const std::vector<std::string>& arguments);

}  // namespace veldra::outside
