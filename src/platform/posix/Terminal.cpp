#include "platform/Terminal.h"

#include <unistd.h>

namespace veldra::platform {

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

}  // namespace veldra::platform
