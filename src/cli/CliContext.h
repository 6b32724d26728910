#pragma once
// What every subcommand of `veldra` works with: the chosen registry backend,
// the terminal dialogs, the message catalog and the output options.

#include <iosfwd>
#include <memory>
#include <string>

#include "app/MessageCatalog.h"
#include "app/RegistryRoutines.h"
#include "app/Settings.h"
#include "cli/TerminalDialogs.h"
#include "platform/Registry.h"

namespace veldra::cli {

// Exit codes of `veldra`.
inline constexpr int ExitDone = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

struct GlobalOptions {
    std::string prefix;    // --prefix
    std::string language;  // --lang, overrides the stored setting for this run
    bool yes = false;      // --yes
    bool no = false;       // --no
    bool json = false;     // --json
};

class CliContext {
public:
    // The options are read when a command runs, after the whole command line is parsed.
    CliContext(const GlobalOptions& options, std::ostream& out, std::ostream& err);
    ~CliContext();

    const GlobalOptions& options;
    std::ostream& out;
    std::ostream& err;

    // Opened on first use, so `--help` and `inspect` never touch a prefix.
    platform::Registry& registry();
    app::Settings& settings();
    app::MessageCatalog& catalog();
    app::RegistryRoutines& routines();
    TerminalDialogs& dialogs();

    // The catalog text of an entry in the language of this run.
    const std::string& msg(app::Msg id) { return catalog().text(id); }

private:
    struct Services;
    std::unique_ptr<Services> services_;
    void open();
};

}  // namespace veldra::cli
