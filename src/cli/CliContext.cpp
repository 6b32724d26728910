#include "cli/CliContext.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <string_view>

#include "app/FailureText.h"
#include "app/Startup.h"

namespace veldra::cli {
namespace {

// "Deu" or "Eng" for a language value in any letter case, else nothing.
std::optional<std::string> languageValue(std::string_view value) {
    std::string folded(value);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (folded == "deu") return "Deu";
    if (folded == "eng") return "Eng";
    return std::nullopt;
}

// The value of `--name VALUE` or `--name=VALUE` on the command line, the last one given.
std::optional<std::string> optionValue(int argc, const char* const* argv, std::string_view name) {
    std::optional<std::string> value;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == name && i + 1 < argc) value = argv[i + 1];
        else if (word.starts_with(name) && word.size() > name.size() && word[name.size()] == '=')
            value = std::string(word.substr(name.size() + 1));
    }
    return value;
}

}  // namespace

struct CliContext::Services {
    platform::HostBackend backend;
    std::unique_ptr<TerminalDialogs> dialogs;
    std::unique_ptr<app::Session> session;
    bool hostRootKnown = false;
};

CliContext::CliContext(const GlobalOptions& globalOptions, std::ostream& output, std::ostream& errors)
    : options(globalOptions), out(output), err(errors) {}

CliContext::~CliContext() = default;

void CliContext::chooseLanguage(int argc, const char* const* argv) {
    std::optional<std::string> chosen;
    for (const char* name : {"--lang", "--language"})
        if (const auto value = optionValue(argc, argv, name))
            if (const auto language = languageValue(*value)) chosen = language;
    if (!chosen) {
        const std::string prefix = optionValue(argc, argv, "--prefix").value_or("");
        // A host that is not there yet has no stored language and is not made for it.
        if (platform::hostBackendExists(prefix)) {
            try {
                const bool verbose = std::find(argv + 1, argv + argc, std::string_view("--verbose")) != argv + argc;
                openHost(prefix, verbose);
                return;
            } catch (const CommandFailed&) {
                // The command reports it when it opens the host.
            }
        }
    }
    texts_.fill(app::interfaceLanguage(chosen.value_or(""), ""));
}

void CliContext::openHost(const std::string& prefix, bool verbose) {
    auto s = std::make_unique<Services>();
    auto backend = platform::openHostBackend(prefix, verbose);
    if (!backend) throw CommandFailed(app::describeFailure(backend.failure(), texts_));
    s->backend = std::move(*backend);
    s->dialogs = std::make_unique<TerminalDialogs>(AnswerPolicy::Ask, std::cin, err);
    auto& b = s->backend;
    s->session = std::make_unique<app::Session>(
        app::Host{*b.registry, *b.paths, *b.shell, *b.security, *b.processes, b.programFolder}, *s->dialogs);
    (void)s->session->start(options.language);
    const auto& session = *s->session;
    s->dialogs->setAnswerTexts({session.msg(app::Msg::MsgAnswerWithYesOrNo), session.msg(app::Msg::TextYes),
                                session.msg(app::Msg::TextNo), session.msg(app::Msg::TextYesNoPrompt)});
    services_ = std::move(s);
}

CliContext::Services& CliContext::open() {
    if (!services_) openHost(options.prefix, options.verbose);
    if (!optionsApplied_) {
        services_->dialogs->setPolicy(options.yes  ? AnswerPolicy::AlwaysYes
                                      : options.no ? AnswerPolicy::AlwaysNo
                                                   : AnswerPolicy::Ask);
        optionsApplied_ = true;
    }
    return *services_;
}

platform::HostBackend& CliContext::backend() { return open().backend; }

TerminalDialogs& CliContext::dialogs() { return *open().dialogs; }

app::Session& CliContext::sessionWithoutHostRoot() { return *open().session; }

app::Session& CliContext::session() {
    auto& s = open();
    // The start-up's 64-bit step runs once, for the commands that need the host root.
    if (!s.hostRootKnown) {
        s.hostRootKnown = app::startWithHostRoot(*s.session, options.language);
        if (!s.hostRootKnown)
            throw CommandFailed(msg(app::Msg::MsgWow64SettingInvalid) + "\"" + s.session->settings.wow64() + "\"");
    }
    return *s.session;
}

const std::string& CliContext::msg(app::Msg id) const {
    return services_ ? services_->session->msg(id) : texts_.text(id);
}

int CliContext::finish(const Status& status) {
    if (status) return ExitDone;
    const Failure& failure = status.failure();
    switch (failure.kind) {
        case FailureKind::Declined: err << msg(app::Msg::MsgNothingChanged) << '\n'; break;
        case FailureKind::AlreadyShown: break;
        case FailureKind::Error: err << app::describeFailure(failure, sessionWithoutHostRoot().catalog) << '\n'; break;
    }
    return ExitFailed;
}

}  // namespace veldra::cli
