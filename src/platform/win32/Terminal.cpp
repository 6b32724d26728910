#include "platform/Terminal.h"

#include <io.h>
#include <stdio.h>

namespace veldra::platform {

bool standardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

}  // namespace veldra::platform
