#pragma once
// The arguments of an outside program as UTF-8 texts, split by the Windows
// command-line rules: by the C runtime's own splitting of the command line on
// Windows, by the caller's (the Processes port splits with the same rules) on
// POSIX systems.

#include <string>
#include <vector>

namespace veldra::outside {

// Without the program name.
std::vector<std::string> toolArguments(int argc, char** argv);

}  // namespace veldra::outside
