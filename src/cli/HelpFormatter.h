#pragma once
// `--help` in the chosen language. CLI11 words its headings and value kinds in
// English: they come from the catalog instead, and the validators' own English
// descriptions are left out (each option's text names the values it takes).
// The commands' arguments show the catalog's names for them.

#include <string>
#include <string_view>

namespace CLI {
class App;
}

namespace veldra::cli {

class CliContext;

// Called before any option or command is added: they take over the headings.
void useCatalogHelp(CLI::App& app, const CliContext& context);

// The name an argument added as `name` shows in the chosen language; any
// other name (an option's) as it is.
std::string argumentName(const CliContext& context, std::string_view name);

}  // namespace veldra::cli
