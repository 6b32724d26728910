#include "cli/CliContext.h"

#include <iostream>

#include "app/RegistryRoutines.h"
#include "cli/HostBackend.h"

namespace veldra::cli {

struct CliContext::Services {
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<TerminalDialogs> dialogs;
    app::MessageCatalog catalog;
    std::unique_ptr<app::RegistryRoutines> routines;
    std::unique_ptr<app::Settings> settings;
};

CliContext::CliContext(const GlobalOptions& globalOptions, std::ostream& output, std::ostream& errors)
    : options(globalOptions), out(output), err(errors) {}

CliContext::~CliContext() = default;

void CliContext::open() {
    if (services_) return;
    auto s = std::make_unique<Services>();
    s->registry = openHostRegistry(options.prefix);
    const auto policy = options.yes ? AnswerPolicy::AlwaysYes : options.no ? AnswerPolicy::AlwaysNo : AnswerPolicy::Ask;
    // With --json, standard output carries only the data.
    s->dialogs = std::make_unique<TerminalDialogs>(policy, std::cin, options.json ? err : out);
    s->routines = std::make_unique<app::RegistryRoutines>(*s->registry, *s->dialogs, s->catalog);
    s->settings = std::make_unique<app::Settings>(*s->routines);
    s->catalog.fill(options.language.empty() ? s->settings->language() : options.language);
    services_ = std::move(s);
}

platform::Registry& CliContext::registry() {
    open();
    return *services_->registry;
}

app::Settings& CliContext::settings() {
    open();
    return *services_->settings;
}

app::MessageCatalog& CliContext::catalog() {
    open();
    return services_->catalog;
}

app::RegistryRoutines& CliContext::routines() {
    open();
    return *services_->routines;
}

TerminalDialogs& CliContext::dialogs() {
    open();
    return *services_->dialogs;
}

}  // namespace veldra::cli
