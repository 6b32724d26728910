#include "platform/Terminal.h"

#include <unistd.h>

namespace veldra::platform {

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

// The bytes as given: file names and arguments are UTF-8 here.
std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void useUtf8Console() {}

}  // namespace veldra::platform
