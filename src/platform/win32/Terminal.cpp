#include "platform/Terminal.h"

#include <windows.h>
#include <shellapi.h>

#include <io.h>
#include <stdio.h>

#include "platform/win32/WideText.h"

namespace veldra::platform {

bool standardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(utf8Text(wide[i]));
    LocalFree(wide);
    return arguments;
}

void useUtf8Console() {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
}

}  // namespace veldra::platform
