#include "tasks/MapsetChoice.h"

namespace veldra::tasks {

using registration::CatalogEntry;

namespace {

std::vector<CatalogEntry> allEntries(const registration::InstalledCatalog& catalog) {
    std::vector<CatalogEntry> entries;
    for (std::size_t i = 0; i < catalog.registry.size(); ++i) entries.push_back({false, i});
    for (std::size_t i = 0; i < catalog.packages.records.size(); ++i) entries.push_back({true, i});
    return entries;
}

}  // namespace

std::string catalogLine(const registration::InstalledCatalog& catalog, CatalogEntry entry) {
    if (entry.package) return catalog.packages.records[entry.index].display();
    const auto& r = catalog.registry[entry.index];
    return r.shownName() + "\tFID:" + r.fid + "\tPID:" + r.pid + "\t" + std::string(registration::kindName(r.kind)) +
           "\t" + r.subkey;
}

Result<CatalogEntry> chooseMapset(const registration::InstalledCatalog& catalog, const MapsetChoice& choice) {
    const auto found = registration::matchMapsets(catalog, choice.mapset, choice.pid);
    if (found.size() == 1) return found.front();
    std::string text = "\"" + choice.mapset + "\"";
    for (const CatalogEntry entry : found.empty() ? allEntries(catalog) : found)
        text += "\n  " + catalogLine(catalog, entry);
    return fail(found.empty() ? Msg::MsgNoMapsetMatches : Msg::MsgMapsetAmbiguous, text);
}

}  // namespace veldra::tasks
