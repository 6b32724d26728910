#pragma once

#include <string>
#include <vector>

namespace veldra::platform {

// True when standard input is an interactive terminal, so questions can be asked there.
bool standardInputIsTerminal();

// The program's arguments (argv[0] first) as UTF-8. Windows hands `argv` over
// in the ANSI code page, which loses characters; its wide command line keeps them.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Lets the console show the program's UTF-8 output as such (a Windows
// console starts in its OEM code page).
void useUtf8Console();

}  // namespace veldra::platform
