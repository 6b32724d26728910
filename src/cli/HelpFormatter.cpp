#include "cli/HelpFormatter.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace veldra::cli {
namespace {

class CatalogFormatter : public CLI::Formatter {
public:
    // Option groups carry CLI11's own name ("Options"): the heading is its label.
    std::string make_group(std::string group, bool isPositional, std::vector<const CLI::Option*> opts) const override {
        return CLI::Formatter::make_group(get_label(group), isPositional, std::move(opts));
    }

    std::string make_option_opts(const CLI::Option* option) const override {
        std::string text;
        if (option->get_type_size() != 0) {
            // The kind of value before the first ':'; the validators' descriptions follow it.
            const std::string type = option->get_type_name();
            if (!type.empty()) text += " " + get_label(type.substr(0, type.find(':')));
            if (option->get_expected_max() >= CLI::detail::expected_max_vector_size) text += " ...";
            if (option->get_required()) text += " " + get_label("REQUIRED");
        }
        if (!option->get_excludes().empty()) {
            text += " " + get_label("Excludes") + ":";
            for (const CLI::Option* other : option->get_excludes()) text += " " + other->get_name();
        }
        return text;
    }
};

}  // namespace

void useCatalogHelp(CLI::App& app, const CliContext& context) {
    using app::Msg;
    auto formatter = std::make_shared<CatalogFormatter>();
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
