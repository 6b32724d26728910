#include "cli/HelpFormatter.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace veldra::cli {
namespace {

// The commands' arguments by the names they were added with.
constexpr std::pair<std::string_view, app::Msg> ArgumentNames[] = {
    {"NEW-NAME", app::Msg::HelpArgumentNewName}, {"NEW-FID", app::Msg::HelpArgumentNewFid},
    {"VALUE", app::Msg::HelpArgumentValue},      {"FILE", app::Msg::HelpArgumentFile},
    {"DIR", app::Msg::HelpArgumentDir},          {"tiles", app::Msg::HelpArgumentTiles},
    {"files", app::Msg::HelpArgumentFiles},      {"ARGUMENTS", app::Msg::HelpArgumentWords},
};

class CatalogFormatter : public CLI::Formatter {
public:
    explicit CatalogFormatter(const CliContext& context) : context_(context) {}

    // Option groups carry CLI11's own name ("Options"): the heading is its label.
    std::string make_group(std::string group, bool isPositional, std::vector<const CLI::Option*> opts) const override {
        return CLI::Formatter::make_group(get_label(group), isPositional, std::move(opts));
    }

    std::string make_option_name(const CLI::Option* option, bool isPositional) const override {
        return isPositional ? argumentName(context_, option->get_name(true, false))
                            : CLI::Formatter::make_option_name(option, false);
    }

    std::string make_option_opts(const CLI::Option* option) const override {
        std::string text;
        if (option->get_type_size() != 0) {
            // The kind of value before the first ':'; the validators' descriptions follow it.
            const std::string type = option->get_type_name();
            if (!type.empty()) text += " " + get_label(type.substr(0, type.find(':')));
            if (takesSeveral(option)) text += " ...";
            if (option->get_required()) text += " " + get_label("REQUIRED");
        }
        return text;
    }

    // The options an option cannot go with follow its description.
    std::string make_option_desc(const CLI::Option* option) const override {
        std::string text = option->get_description();
        if (option->get_excludes().empty()) return text;
        text += " (" + get_label("Excludes");
        for (const CLI::Option* other : option->get_excludes()) text += " " + other->get_name();
        return text + ")";
    }

    std::string make_option_usage(const CLI::Option* option) const override {
        std::string text = make_option_name(option, true) + (takesSeveral(option) ? "..." : "");
        return option->get_required() ? text : "[" + text + "]";
    }

private:
    static bool takesSeveral(const CLI::Option* option) { return option->get_expected_max() > 1; }

    const CliContext& context_;
};

}  // namespace

std::string argumentName(const CliContext& context, std::string_view name) {
    for (const auto& [added, id] : ArgumentNames)
        if (added == name) return context.msg(id);
    return std::string(name);
}

void useCatalogHelp(CLI::App& app, const CliContext& context) {
    using app::Msg;
    auto formatter = std::make_shared<CatalogFormatter>(context);
    for (const auto& [label, id] : {std::pair{"Usage", Msg::HelpLabelUsage},
                                    {"OPTIONS", Msg::HelpLabelOptionsBadge},
                                    {"SUBCOMMAND", Msg::HelpLabelCommandBadge},
                                    {"SUBCOMMANDS", Msg::HelpLabelCommandBadge},
                                    {"Positionals", Msg::HelpLabelArguments},
                                    {"Options", Msg::HelpLabelOptions},
                                    {"REQUIRED", Msg::HelpLabelRequired},
                                    {"Excludes", Msg::HelpLabelExcludes},
                                    {"TEXT", Msg::HelpLabelText},
                                    {"ENUM", Msg::HelpLabelText},
                                    {"UINT", Msg::HelpLabelNumber},
                                    {"INT", Msg::HelpLabelNumber}})
        formatter->label(label, context.msg(id));
    app.formatter(std::move(formatter));
    // Commands take their group, and so their heading, from the program.
    app.group(context.msg(Msg::HelpLabelCommands));
}

}  // namespace veldra::cli
