#include "cli/CatalogJson.h"

#include <string_view>

#include "registration/NumberText.h"

namespace veldra::cli {
namespace {

// A number, or null where the catalog holds a marker such as "Fehler".
nlohmann::json numberOrNull(const std::string& text) {
    if (const auto number = registration::wholeNumber(text)) return *number;
    return nullptr;
}

// The text, or null where the catalog holds the marker of a missing file.
nlohmann::json textOrNull(const std::string& text, std::string_view missingMarker) {
    if (text == missingMarker) return nullptr;
    return text;
}

// Why a record is not a whole mapset, or null.
nlohmann::json problemOf(const registration::RegistryRecord& record) {
    if (record.name == registration::TdbMissingMarker) return "tdb-missing";
    if (record.name == registration::OverviewMissingMarker) return "overview-missing";
    return nullptr;
}

}  // namespace

nlohmann::json catalogJson(const app::Session& session, const registration::InstalledCatalog& catalog) {
    auto list = nlohmann::json::array();
    for (const auto& r : catalog.registry)
        list.push_back({{"kind", registration::kindName(r.kind)},
                        {"name", r.shownName()},
                        {"fid", numberOrNull(r.fid)},
                        {"pid", numberOrNull(r.pid)},
                        {"subkey", r.subkey},
                        {"tdb", r.tdb},
                        {"overview", r.overview},
                        {"loc", r.loc},
                        {"typ", textOrNull(r.typ, registration::NoTypeFileMarker)},
                        {"problem", problemOf(r)}});
    for (const auto& p : catalog.packages.records)
        list.push_back({{"kind", "gmap"},
                        {"name", p.name},
                        {"fid", numberOrNull(p.fid)},
                        {"pid", numberOrNull(p.pid)},
                        {"display", p.display()},
                        {"infoXml", session.host.paths.toHost(p.infoXml)},
                        {"tdb", p.tdb.empty() ? nlohmann::json() : nlohmann::json(session.host.paths.toHost(p.tdb))},
                        {"mdx", textOrNull(p.mdx, gmap::NoMdxFileMarker)},
                        {"problem", p.pathProblem ? nlohmann::json("path-outside-package") : nlohmann::json()}});
    return list;
}

}  // namespace veldra::cli
