#pragma once

namespace veldra::platform {

// True when standard input is an interactive terminal, so questions can be asked there.
bool standardInputIsTerminal();

}  // namespace veldra::platform
