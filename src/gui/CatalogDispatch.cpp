#include "gui/CatalogDispatch.h"

#include <charconv>
#include <optional>
#include <string>

namespace veldra::gui {
namespace {

struct DispatchRule {
    MainState mode;
    CatalogList list;
    CatalogAction action;
};

// A package is tested for the FID mode, the type-file mode, the removal mode,
// renaming and the tile list in this order; a registry record in the removal
// mode only through `ListLoeschen`. Modes without a rule for a list ignore it,
// except that a registry record picked outside any management mode takes a
// type file.
constexpr DispatchRule Rules[] = {
    {MainState::FidChange, CatalogList::MapsetNames, CatalogAction::ChangeFid},
    {MainState::FidChange, CatalogList::Packages, CatalogAction::ChangeFid},
    {MainState::TypeFileChange, CatalogList::MapsetNames, CatalogAction::ChooseTypeFile},
    {MainState::TypeFileChange, CatalogList::Packages, CatalogAction::ChooseTypeFile},
    {MainState::Removing, CatalogList::Removal, CatalogAction::Remove},
    {MainState::Removing, CatalogList::Packages, CatalogAction::Remove},
    {MainState::Renaming, CatalogList::MapsetNames, CatalogAction::Rename},
    {MainState::Renaming, CatalogList::Packages, CatalogAction::Rename},
    {MainState::TileNames, CatalogList::MapsetNames, CatalogAction::ListTiles},
    {MainState::TileNames, CatalogList::Packages, CatalogAction::ListTiles},
};

bool managementMode(MainState mode) {
    for (const auto& rule : Rules)
        if (rule.mode == mode) return true;
    return false;
}

std::optional<std::uint32_t> number(const std::string& text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

CatalogAction catalogAction(MainState mode, CatalogList list) {
    for (const auto& rule : Rules)
        if (rule.mode == mode && rule.list == list) return rule.action;
    if (!managementMode(mode) && list == CatalogList::MapsetNames) return CatalogAction::ChooseTypeFile;
    return CatalogAction::None;
}

tasks::MapsetChoice choiceFor(const registration::InstalledCatalog& catalog, registration::CatalogEntry entry) {
    std::string name, fid, pid, key;
    if (entry.package) {
        const auto& record = catalog.packages.records[entry.index];
        name = record.name;
        fid = record.fid;
        pid = record.pid;
    } else {
        const auto& record = catalog.registry[entry.index];
        name = record.shownName();
        fid = record.fid;
        pid = record.pid;
        key = record.subkey;
    }
    const auto pidNumber = number(pid);
    const tasks::MapsetChoice candidates[] = {
        {name, std::nullopt}, {name, pidNumber}, {fid, pidNumber}, {key, std::nullopt}};
    for (const auto& choice : candidates) {
        if (choice.mapset.empty()) continue;
        const auto found = registration::matchMapsets(catalog, choice.mapset, choice.pid);
        if (found.size() == 1 && found.front() == entry) return choice;
    }
    return candidates[0];
}

}  // namespace veldra::gui
