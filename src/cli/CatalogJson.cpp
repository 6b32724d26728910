#include "cli/CatalogJson.h"

#include "registration/NumberText.h"

namespace veldra::cli {
namespace {

// Numbers as numbers; markers such as "Fehler" as the text they are.
nlohmann::json numberOrText(const std::string& text) {
    if (const auto number = registration::wholeNumber(text)) return *number;
    return text;
}

}  // namespace

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

}  // namespace veldra::cli
