#include "registration/MapsetSelection.h"

#include "registration/NumberText.h"

namespace veldra::registration {
namespace {

bool matches(std::string_view name, std::string_view fid, std::string_view recordPid, std::string_view text,
             std::optional<std::uint32_t> pid) {
    if (pid && wholeNumber(recordPid) != pid) return false;
    if (name == text) return true;
    const auto number = wholeNumber(text);
    return number && wholeNumber(fid) == number;
}

}  // namespace

std::vector<CatalogEntry> matchMapsets(const InstalledCatalog& catalog, std::string_view text,
                                       std::optional<std::uint32_t> pid) {
    std::vector<CatalogEntry> found;
    for (std::size_t i = 0; i < catalog.registry.size(); ++i) {
        const auto& record = catalog.registry[i];
        // A record whose TDB is gone has no name or FID of its own: its key names it.
        if (matches(record.shownName(), record.fid, record.pid, text, pid) ||
            (!pid && (record.keyName() == text || record.subkey == text)))
            found.push_back({false, i});
    }
    for (std::size_t i = 0; i < catalog.packages.records.size(); ++i) {
        const auto& record = catalog.packages.records[i];
        if (matches(record.name, record.fid, record.pid, text, pid)) found.push_back({true, i});
    }
    return found;
}

}  // namespace veldra::registration
