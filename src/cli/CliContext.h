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
    bool verbose = false;  // --verbose: the outside programs' output too
};

class CliContext {
public:
    // The options are read when a command runs, after the whole command line is parsed.
    CliContext(const GlobalOptions& options, std::ostream& out, std::ostream& err);
    ~CliContext();

    // Chooses the language of everything printed, help and usage errors
    // included, before the command line is parsed: --lang or --language in any
    // letter case, else the stored setting of a host that exists (opened then
    // as the command line asks), else the user's own language.
    void chooseLanguage(int argc, const char* const* argv);

    const GlobalOptions& options;
    // Results go to `out`; messages, questions and errors to `err`, so that
    // `out` holds only data (valid JSON with --json).
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

    // A catalog text in the chosen language; opens nothing.
    const std::string& msg(app::Msg id) const;

    // A usage error of the command line in the chosen language.
    std::string usageError(const CLI::Error& error) const;

private:
    struct Services;
    std::unique_ptr<Services> services_;
    app::MessageCatalog texts_;  // until a session speaks
    bool optionsApplied_ = false;
    Services& open();
    void openHost(const std::string& prefix, bool verbose);
};

}  // namespace veldra::cli
