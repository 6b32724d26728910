#pragma once
// What every subcommand of `veldra` works with: the host backend, the session
// (catalog, settings, registry routines), the terminal dialogs and the output
// options. Opened on first use, so `--help` and `inspect` never touch a prefix.

#include <iosfwd>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include <CLI/CLI.hpp>

#include "app/Session.h"
#include "cli/TerminalDialogs.h"
#include "core/Result.h"
#include "platform/HostBackend.h"

namespace veldra::cli {

// Exit codes of `veldra`.
inline constexpr int ExitDone = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// A command cannot go on; the text is for the user. Ends with ExitFailed.
class CommandFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Accepts "Deu" and "Eng" in any letter case and hands on the stored spelling.
inline CLI::CheckedTransformer languageName() {
    return CLI::CheckedTransformer(std::map<std::string, std::string>{{"deu", "Deu"}, {"eng", "Eng"}}, CLI::ignore_case);
}

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

    platform::HostBackend& backend();
    TerminalDialogs& dialogs();
    // Started with the host registry root; asks the 64-bit question when needed.
    app::Session& session();
    // Started without asking anything; the host registry root may be unknown.
    app::Session& sessionWithoutHostRoot();

    // The exit code of a task's result; a failure the user has not seen yet is
    // printed, a declined question gets a note that nothing changed.
    int finish(const Status& status);
    template <class T>
    int finish(const Result<T>& result) {
        return result ? ExitDone : finish(Status(result.failure()));
    }

    const std::string& msg(app::Msg id) { return sessionWithoutHostRoot().msg(id); }

private:
    struct Services;
    std::unique_ptr<Services> services_;
    Services& open();
};

}  // namespace veldra::cli
