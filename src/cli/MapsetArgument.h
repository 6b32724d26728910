#pragma once
// The MAPSET argument of the commands that change one installed mapset.

#include <cstdint>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

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

    void addTo(CLI::App* sub) {
        sub->add_option("MAPSET", mapset, "The mapset's name as `veldra list` shows it, or its FID")->required();
        pidOption = sub->add_option("--pid", pid, "Only the mapset with this product ID");
    }
};

}  // namespace veldra::cli
