#pragma once
// The MAPSET argument of the commands that change one installed mapset.

#include <cstdint>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "tasks/MapsetChoice.h"

namespace veldra::cli {

struct MapsetArgument {
    std::string mapset;
    std::uint32_t pid = 0;
    CLI::Option* pidOption = nullptr;

    std::optional<std::uint32_t> pidFilter() const {
        return pidOption && pidOption->count() > 0 ? std::optional(pid) : std::nullopt;
    }

    tasks::MapsetChoice choice() const { return {mapset, pidFilter()}; }

    void addTo(CLI::App* sub, const CliContext& context) {
        sub->add_option("MAPSET", mapset, context.msg(app::Msg::HelpMapset))->required();
        pidOption = sub->add_option("--pid", pid, context.msg(app::Msg::HelpMapsetPid));
    }
};

}  // namespace veldra::cli
