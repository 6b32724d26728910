#include "cli/CatalogOutput.h"

#include "cli/CliContext.h"
#include "registration/NumberText.h"

namespace veldra::cli {
namespace {

using registration::CatalogEntry;

// Numbers as numbers; markers such as "Fehler" as the text they are.
nlohmann::json numberOrText(const std::string& text) {
    if (const auto number = registration::wholeNumber(text)) return *number;
    return text;
}

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

nlohmann::json catalogJson(const app::Session& session, const registration::InstalledCatalog& catalog) {
    auto list = nlohmann::json::array();
    for (const auto& r : catalog.registry)
        list.push_back({{"kind", registration::kindName(r.kind)},
                        {"name", r.shownName()},
                        {"fid", numberOrText(r.fid)},
                        {"pid", numberOrText(r.pid)},
                        {"subkey", r.subkey},
                        {"tdb", r.tdb},
                        {"overview", r.overview},
                        {"loc", r.loc},
                        {"typ", r.typ}});
    for (const auto& p : catalog.packages.records)
        list.push_back({{"kind", "gmap"},
                        {"name", p.name},
                        {"fid", numberOrText(p.fid)},
                        {"pid", numberOrText(p.pid)},
                        {"display", p.display()},
                        {"infoXml", session.host.paths.toHost(p.infoXml)},
                        {"tdb", session.host.paths.toHost(p.tdb)},
                        {"mdx", p.mdx}});
    return list;
}

CatalogEntry chooseMapset(const registration::InstalledCatalog& catalog, const std::string& mapset,
                          std::optional<std::uint32_t> pid) {
    const auto found = registration::matchMapsets(catalog, mapset, pid);
    if (found.size() == 1) return found.front();
    std::string text = found.empty() ? "No installed mapset is named \"" + mapset + "\" or has that FID. Installed:"
                                     : "\"" + mapset + "\" names more than one mapset; add --pid or use the FID:";
    for (const CatalogEntry entry : found.empty() ? allEntries(catalog) : found)
        text += "\n  " + catalogLine(catalog, entry);
    throw CommandFailed(text);
}

}  // namespace veldra::cli
