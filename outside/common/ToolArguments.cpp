#include "common/ToolArguments.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "platform/Cp1252.h"
#endif

namespace veldra::outside {

#ifdef _WIN32
// argv holds the ANSI form; the wide command line keeps every character.
std::vector<std::string> toolArguments(int, char**) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const std::wstring argument(wide[i]);
        arguments.push_back(platform::utf16ToUtf8(std::u16string(argument.begin(), argument.end())));
    }
    LocalFree(wide);
    return arguments;
}
#else
std::vector<std::string> toolArguments(int argc, char** argv) { return {argv + (argc > 0 ? 1 : 0), argv + argc}; }
#endif

}  // namespace veldra::outside
