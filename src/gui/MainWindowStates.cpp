#include "gui/MainWindowStates.h"

#include <QWidget>

namespace veldra::gui {
namespace {

constexpr std::optional<bool> On = true;
constexpr std::optional<bool> Off = false;
constexpr std::optional<bool> Keep = std::nullopt;

constexpr ControlRule IdleRules[] = {
    {"CommandHinzufuegen", On, Keep},   {"CommandFilename", On, Keep},   {"CommandFID", On, Keep},
    {"CommandMapnameAendern", On, Keep}, {"CommandKartenentfernen", On, Keep},
    {"CommandButtonPV", Off, Keep},     {"Command2", Off, Keep},         {"TextBoxMSName", Off, Keep},
    {"TextBoxID", Off, Keep},           {"Dir1", On, Keep},              {"File1", On, Keep},
    {"List1", On, On},                  {"ListMapsetGMP", Keep, Off},    {"ListMapsetName", Keep, Off},
    {"ListID", Keep, Off},              {"ListSubkey", Keep, Off},       {"Label2", Keep, Off},
    {"Label6", Keep, Off},              {"Label14", Keep, Off},          {"CommandNameuebernehmen", Keep, Off},
    {"CommandFolder", Keep, Off},       {"TextMeldung", Keep, Off},      {"Frame2", Keep, On},
    {"CommandDoIt", Keep, Off},
};

constexpr ControlRule SelectingRules[] = {
    {"CommandHinzufuegen", Off, Keep}, {"TextMeldung", Keep, Off},     {"TextMapsetname", Keep, Off},
    {"CommandNameuebernehmen", Keep, Off}, {"CommandDoIt", Keep, Off}, {"Frame2", Keep, Off},
    {"ListLoeschen", Keep, Off},       {"Label16", Keep, Off},         {"TextLevel", On, On},
    {"TextZoom", On, On},              {"CommandButtonPV", Keep, On},  {"CommandFolder", Keep, On},
    {"TextBoxID", Keep, On},           {"Label7", Keep, On},           {"Label11", Keep, On},
    {"Label12", Keep, On},             {"Label1", Keep, On},           {"File1", On, Keep},
};

constexpr ControlRule NamingRules[] = {
    {"TextLevel", Keep, On},      {"TextZoom", Keep, On},      {"File1", Off, Keep},
    {"Dir1", Off, Keep},          {"Command1", Off, Keep},     {"CommandButtonPV", Off, Keep},
    {"TextBoxMSName", On, On},    {"TextBoxID", On, On},       {"Label4", Keep, Off},
};

constexpr ControlRule IntegratingRules[] = {
    {"List1", Off, Keep},          {"TextBoxMSName", Off, Keep},      {"TextBoxID", Off, Keep},
    {"CommandButtonPV", Off, Keep}, {"CommandAllesLoeschen", Off, Keep}, {"TextMeldung", Keep, On},
};

constexpr ControlRule IntegratedRules[] = {
    {"List1", On, Keep},           {"Command1", On, Keep},       {"Command2", On, Keep},
    {"CommandAllesLoeschen", On, Keep}, {"CommandButtonPV", Off, Keep}, {"TextBoxMSName", Off, Keep},
    {"TextBoxID", Off, Keep},
};

constexpr ControlRule NextMapsetRules[] = {
    {"CommandAllesLoeschen", On, Keep}, {"Frame2", Keep, Off}, {"List1", Keep, On}, {"Label4", Keep, On},
};

constexpr ControlRule RemovingRules[] = {
    {"ListMapsetGMP", On, On},    {"TextMapsetname", Keep, Off}, {"CommandNameuebernehmen", Keep, Off},
    {"Label14", Keep, Off},       {"ListMapsetName", Keep, Off}, {"ListLoeschen", On, On},
    {"ListSubkey", Keep, On},     {"Label16", Keep, On},         {"Label2", Keep, On},
    {"Label6", Keep, On},         {"ListID", Keep, On},          {"CommandTypeaendern", On, Keep},
    {"CommandMapnameAendern", On, Keep}, {"CommandFilename", On, Keep}, {"CommandFID", On, Keep},
};

constexpr ControlRule TileNamesRules[] = {
    {"Label2", Keep, Off},         {"Label6", Keep, Off},         {"Label16", Keep, Off},
    {"ListID", Keep, Off},         {"ListSubkey", Keep, Off},     {"ListLoeschen", Keep, Off},
    {"TextMapsetname", Keep, Off}, {"CommandNameuebernehmen", Keep, Off},
    {"CommandKartenentfernen", Off, Keep}, {"CommandHinzufuegen", Off, Keep},
    {"Label14", Keep, On},         {"ListMapsetName", On, On},    {"ListMapsetGMP", Keep, On},
};

constexpr ControlRule FidChangeRules[] = {
    {"CommandNameuebernehmen", Keep, Off}, {"TextMapsetname", Keep, Off},
    {"CommandTypeaendern", Off, Keep},     {"CommandFilename", Off, Keep},
    {"CommandMapnameAendern", Off, Keep},  {"CommandKartenentfernen", Off, Keep},
    {"ListLoeschen", Keep, Off},           {"ListID", Keep, Off},
    {"ListMapsetName", On, On},            {"ListMapsetGMP", On, On},
};

constexpr ControlRule RenamingRules[] = {
    {"ListMapsetGMP", On, On}, {"ListMapsetName", On, On}, {"Label2", Keep, Off},     {"Label6", Keep, Off},
    {"Label16", Keep, Off},    {"ListLoeschen", Keep, Off}, {"ListID", Keep, Off},     {"ListSubkey", Keep, Off},
    {"Label14", Keep, On},
};

constexpr ControlRule TypeFileRules[] = {
    {"CommandFID", Off, Keep},     {"CommandMapnameAendern", Off, Keep}, {"CommandFilename", Off, Keep},
    {"TextMapsetname", Keep, Off}, {"CommandNameuebernehmen", Keep, Off},
    {"ListMapsetName", On, On},    {"ListMapsetGMP", On, On},
};

constexpr ControlRule MapsetPickedRules[] = {
    {"ListMapsetName", Off, Keep}, {"ListMapsetGMP", Off, Keep},
};

constexpr ControlRule MapsetReleasedRules[] = {
    {"ListMapsetName", On, Keep}, {"ListMapsetGMP", On, Keep},
};

constexpr ControlRule TilesPickedRules[] = {
    {"CommandFilename", Off, Keep}, {"CommandMapnameAendern", Off, Keep}, {"CommandTypeaendern", Off, Keep},
};

// The catalog column stays: it holds `CommandDoIt`.
constexpr ControlRule TypeFilePickedRules[] = {
    {"CommandButtonPV", Off, Off}, {"TextBoxID", Keep, Off}, {"TextLevel", Keep, Off}, {"Label7", Keep, Off},
    {"Label11", Keep, Off},        {"Label12", Keep, Off},   {"TextBoxMSName", Off, Keep}, {"Dir1", Off, Keep},
    {"File1", Off, Keep},          {"CommandDoIt", On, On},  {"LabelTypefile", Keep, On},
};

constexpr ControlRule NamePickedRules[] = {
    {"TextMapsetname", On, On}, {"CommandNameuebernehmen", On, On},
};

constexpr ControlRule NameTakenRules[] = {
    {"TextMapsetname", Keep, Off}, {"CommandNameuebernehmen", Keep, Off}, {"CommandMapnameAendern", Keep, On},
    {"Label14", Keep, Off},        {"CommandKartenentfernen", On, Keep},
};

}  // namespace

std::span<const ControlRule> controlRules(MainState state) {
    switch (state) {
        case MainState::Idle: return IdleRules;
        case MainState::SelectingTiles: return SelectingRules;
        case MainState::Naming: return NamingRules;
        case MainState::Integrating: return IntegratingRules;
        case MainState::Integrated: return IntegratedRules;
        case MainState::NextMapset: return NextMapsetRules;
        case MainState::Removing: return RemovingRules;
        case MainState::TileNames: return TileNamesRules;
        case MainState::FidChange: return FidChangeRules;
        case MainState::Renaming: return RenamingRules;
        case MainState::TypeFileChange: return TypeFileRules;
        case MainState::MapsetPicked: return MapsetPickedRules;
        case MainState::MapsetReleased: return MapsetReleasedRules;
        case MainState::TilesPicked: return TilesPickedRules;
        case MainState::TypeFilePicked: return TypeFilePickedRules;
        case MainState::NamePicked: return NamePickedRules;
        case MainState::NameTaken: return NameTakenRules;
    }
    return {};
}

void applyControlRules(QWidget& window, MainState state) {
    for (const auto& rule : controlRules(state)) {
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(rule.control));
        if (!control) continue;
        if (rule.enabled) control->setEnabled(*rule.enabled);
        if (rule.visible) control->setVisible(*rule.visible);
    }
}

}  // namespace veldra::gui
