#include "cli/CliContext.h"

#include <iostream>

#include "app/FailureText.h"
#include "app/Startup.h"

namespace veldra::cli {

struct CliContext::Services {
    platform::HostBackend backend;
    std::unique_ptr<TerminalDialogs> dialogs;
    std::unique_ptr<app::Session> session;
    bool hostRootKnown = false;
};

CliContext::CliContext(const GlobalOptions& globalOptions, std::ostream& output, std::ostream& errors)
    : options(globalOptions), out(output), err(errors) {}

CliContext::~CliContext() = default;

CliContext::Services& CliContext::open() {
    if (services_) return *services_;
    auto s = std::make_unique<Services>();
    auto backend = platform::openHostBackend(options.prefix);
    if (!backend) throw CommandFailed(backend.failure().detail);
    s->backend = std::move(*backend);
    const auto policy = options.yes ? AnswerPolicy::AlwaysYes : options.no ? AnswerPolicy::AlwaysNo : AnswerPolicy::Ask;
    // With --json, standard output carries only the data.
    s->dialogs = std::make_unique<TerminalDialogs>(policy, std::cin, options.json ? err : out);
    auto& b = s->backend;
    s->session = std::make_unique<app::Session>(
        app::Host{*b.registry, *b.paths, *b.shell, *b.security, *b.processes, b.programFolder}, *s->dialogs);
    (void)s->session->start(options.language);
    s->dialogs->setAnswerHint(s->session->msg(app::Msg::MsgAnswerWithYesOrNo));
    services_ = std::move(s);
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
            throw CommandFailed("The setting Wow64 holds \"" + s.session->settings.wow64() +
                                "\"; store an answer with `veldra settings --os64 yes|no`.");
    }
    return *s.session;
}

int CliContext::finish(const Status& status) {
    if (status) return ExitDone;
    const Failure& failure = status.failure();
    switch (failure.kind) {
        case FailureKind::Declined: err << sessionWithoutHostRoot().msg(app::Msg::MsgNothingChanged) << '\n'; break;
        case FailureKind::AlreadyShown: break;
        case FailureKind::Error: err << app::describeFailure(failure, sessionWithoutHostRoot().catalog) << '\n'; break;
    }
    return ExitFailed;
}

}  // namespace veldra::cli
