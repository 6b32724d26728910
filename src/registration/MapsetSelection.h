#pragma once
// Picking one mapset of the catalog by the name the catalog lists it under or
// by its family ID, as the command line does instead of a double click.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "registration/InstalledCatalog.h"

namespace veldra::registration {

struct CatalogEntry {
    bool package = false;  // index into catalog.packages.records, else into catalog.registry
    std::size_t index = 0;
    bool operator==(const CatalogEntry&) const = default;
};

// Every entry whose name (up to its first zero byte) equals `text`, or, when
// `text` is a number, whose FID is that number; with `pid`, only entries of
// that product ID. Registry records first, each in catalog order.
std::vector<CatalogEntry> matchMapsets(const InstalledCatalog& catalog, std::string_view text,
                                       std::optional<std::uint32_t> pid = std::nullopt);

}  // namespace veldra::registration
