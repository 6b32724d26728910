#include "app/MessageCatalog.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/MessageTexts.h"

namespace veldra::app {
namespace {

constexpr ControlText DesignCaptions[] = {
    {"Label4", "ausgewaehlte Files :"},
    {"Command2", "weiteres Mapset in 'Mapsource' einbinden oder entfernen"},
    {"CommandHinzufuegen", "Mapset hinzufuegen"},
    {"CommandKartenentfernen", "Karten anzeigen/entfernen"},
    {"Label3", "Name in 'MapSource'"},
    {"CommandAllesLoeschen", "zurueck"},
    {"CommandFID", "FID change"},
    {"CmdExpImp", "export import"},
    {"CommandDoIt", "add typfile to mapset"},
    {"Label2", "Mapname"},
    {"Label6", "FID"},
    {"Label7", "ID-Nummer"},
    {"Label9", "deutsch"},
    {"Label11", "Level"},
    {"Label12", "Zoom"},
    {"Label16", "Registrykey"},
    {"Prop", "OS 32 bit or 64 bit ?"},
    {"mnuWebsite", "Website"},
};

// What the `Label9` action sets; the German branch does not set these itself.
constexpr ControlText GermanRestoredCaptions[] = {
    {"Label4", "ausgewaehlte Files :"},
    {"Command2", "weiteres Mapset in 'Mapsource' einbinden oder entfernen"},
    {"CommandHinzufuegen", "Mapset hinzufuegen"},
    {"CommandKartenentfernen", "Karten anzeigen/entfernen"},
    {"Label3", "Name in 'MapSource'"},
    {"CommandButtonPV", "next step;add to Mapsource"},
    {"Command1", "Selection is finished"},
    {"CommandAllesLoeschen", "zurueck"},
};

constexpr ControlText EnglishControls[] = {
    {"CommandKompa.ToolTip", "more infos click 'show cachefolders'"},
    {"FormEinstellungen.List1.ToolTip", "single click on entry to change it"},
    {"Sprachwahl", "Deutsch"},
    {"MnHilfe", "Help ? "},
    {"MnuLatitude", "optimal latitude"},
    {"Label10", "Tdb + preview already existing ?"},
    {"Label17", "TDB + Preview not already existing"},
    {"TextMapsetname", "type in new name"},
    {"Label15",
     "to activate button 'change DrawPriority , at first click on 'show maptile names+drawpriority'-->'click' on "
     "mapsetname."},
    {"Label4", "Selected files :"},
    {"Command2", "add/remove  next mapset"},
    {"CommandHinzufuegen", "add mapset"},
    {"CommandKartenentfernen", "show + remove mapset"},
    {"CommandMapnameAendern", "change mapset-name"},
    {"CommandNameuebernehmen", "use this name"},
    {"CommandFilename", "show maptile names+drawpriority"},
    {"CommandFolder", "choose folder"},
    {"FormMaptilename.CommandDPAendern", "change DrawPriority to "},
    {"LabelGMPFolder", "show cachefolders and gmap-folder"},
    {"Label1",
     "Img-files must placed all in same folder. Filename must be 8 digits, for exampel 12341234.img or must end "
     "with ...gmapsupp.img."},
    {"Label3", "Name in 'MapSource'"},
    {"Label14", "Choose mapset with 'click'."},
    {"CommandButtonPV", "next step-add to Mapsource"},
    {"Command1", "Selection is finished"},
    {"CommandAllesLoeschen", "back"},
    {"CommandTypeaendern", "add/change typfile"},
    {"CommandTypeaendern.ToolTip", "click this button to add a typfile to existing mapset."},
    {"ListMapsetName.ToolTip", "doubleclick select a mapset."},
};

constexpr ControlText GermanControls[] = {
    {"CommandKompa.ToolTip", "mehr Infos click 'zeige alle Cacheordner'"},
    {"FormEinstellungen.List1.ToolTip", "click auf Eintrag zum Aendern"},
    {"Sprachwahl", "English"},
    {"MnHilfe", "Hilfe ?"},
    {"MnuLatitude", "optimaler Breitengrad"},
    {"Command1", " Auswahl ist fertig"},
    {"CommandTypeaendern", "Typfile aendern/hinzufuegen"},
    {"CommandTypeaendern.ToolTip", "hinzufuegen/aendern eines Typfiles zu einem vorhandenen Mapset."},
    {"CommandButtonPV", "Mapset zu Mapsource hinzufuegen"},
    {"CommandMapnameAendern", "Mapsetname aendern"},
    {"CommandNameuebernehmen", "Name uebernehmen"},
    {"CommandFilename", "Zeige Kachelnamen+Drawpriority"},
    {"CommandFolder", "Ordner waehlen"},
    {"FormMaptilename.CommandDPAendern", "Aendere DrawPriority auf "},
    {"Label15",
     "Um die Drawprioritaet aendern zu koennen, muss die momentane DP erst angezeigt werden.'click' auf 'Zeige "
     "Kachelnamen+Drawpriority'-->'click' auf Mapsetnamen."},
    {"Label10", "Tdb + preview schon vorhanden ?"},
    {"Label17", "TDB + Preview nicht vorhanden"},
    {"LabelGMPFolder", "zeige alle Cacheordner + gmap-Ordner"},
    {"ListMapsetName.ToolTip", "Doppelclick waehlt Mapset aus."},
    {"Label14", "Mapset mit 'click' auswaehlen."},
    {"Label1",
     "Die img-Files muessen alle im selben Ordner liegen. Der Filename muss aus 8 Ziffern bestehen, z.B. "
     "12341234.img, oder auf ...gmapsupp.img enden."},
};

constexpr std::string_view Names[] = {
#define VELDRA_MESSAGE_NAME(name) #name,
    VELDRA_MESSAGE_IDS(VELDRA_MESSAGE_NAME)
#undef VELDRA_MESSAGE_NAME
};

// The instruction for compiling the overview map by hand, for one file base name.
std::string manualPreviewInstructions(LanguageBranch branch, const CatalogContext& c) {
    const std::string mapset = (std::filesystem::path(c.tileFolder) / c.fileBaseName).string();
    const std::string compiler = (std::filesystem::path(c.programFolder) / "Version97c" / "cgpsmapper.exe").string();
    if (branch == LanguageBranch::English)
        return "existing file " + mapset + ".tdb. Close 'MapSource' and start VELDRA as administrator. "
               "The preview file " + mapset + ".img is missing. To create it, use the file " + mapset +
               ".mp. Open in 'Explorer' folder " + c.tileFolder + " and drag&drop " +
               "with left mousebutton file " + c.fileBaseName + ".mp over file " + compiler +
               ". A DOS window appears and the file " + c.fileBaseName + ".img wil bee created " +
               "in that folder. Afterwards start a new integration with 'Tdb + preview already existing ?'.";
    return "vorhandene Datei " + mapset + ".tdb. Schliessen Sie 'MapSource' und starten Sie VELDRA als "
           "Administrator. Die Vorschaudatei " + mapset + ".img fehlt. Um sie zu erzeugen, benutzen Sie die "
           "Datei " + mapset + ".mp. Oeffnen Sie im 'Explorer' den Ordner " + c.tileFolder +
           " und ziehen Sie mit der linken Maustaste die Datei " + c.fileBaseName + ".mp auf die Datei " +
           compiler + ". Ein DOS-Fenster erscheint und die Datei " + c.fileBaseName +
           ".img wird in diesem Ordner erzeugt. Starten Sie danach eine neue Einbindung mit "
           "'Tdb + preview schon vorhanden ?'.";
}

}  // namespace

LanguageBranch languageBranch(std::string_view language) {
    if (language == "Eng") return LanguageBranch::English;
    if (language == "Deu" || std::all_of(language.begin(), language.end(), [](char c) { return c == ' '; }))
        return LanguageBranch::German;
    return LanguageBranch::None;
}

MessageCatalog::MessageCatalog() { applyControls(DesignCaptions); }

void MessageCatalog::fill(std::string_view language, const CatalogContext& context) {
    const LanguageBranch branch = languageBranch(language);
    if (branch == LanguageBranch::None) return;
    for (const auto& entry : messageTexts()) {
        const char* text = branch == LanguageBranch::English ? entry.english : entry.german;
        if (text) entries_[static_cast<std::size_t>(entry.id)] = text;
    }
    buildComposites(branch, context);
    if (branch == LanguageBranch::English)
        applyControls(EnglishControls);
    else
        applyControls(GermanControls);
}

void MessageCatalog::buildComposites(LanguageBranch branch, const CatalogContext& context) {
    entries_[static_cast<std::size_t>(Msg::MsgManualPreviewInstructions)] =
        manualPreviewInstructions(branch, context);
    // Both languages use the English sentence after the German word.
    const std::string exists = ".img exists already. Type in a different name and try it again.";
    entries_[static_cast<std::size_t>(Msg::MsgImgExists)] =
        "Datei " + (std::filesystem::path(context.tileFolder) / context.fileBaseName).string() + exists;
    entries_[static_cast<std::size_t>(Msg::MsgImgExists2)] = "Datei " + context.fileBaseName + exists;
}

void MessageCatalog::applyControls(std::span<const ControlText> texts) {
    for (const auto& [key, text] : texts) controls_[key] = text;
}

void MessageCatalog::applyGermanDesignCaptions() { applyControls(GermanRestoredCaptions); }

const std::string& MessageCatalog::control(std::string_view key) const {
    static const std::string empty;
    auto it = controls_.find(key);
    return it == controls_.end() ? empty : it->second;
}

void MessageCatalog::setControl(std::string_view key, std::string text) { controls_[std::string(key)] = std::move(text); }

std::string_view MessageCatalog::name(Msg id) { return Names[static_cast<std::size_t>(id)]; }

std::optional<Msg> MessageCatalog::byName(std::string_view wanted) {
    for (std::size_t i = 0; i < std::size(Names); ++i)
        if (Names[i] == wanted) return static_cast<Msg>(i);
    return std::nullopt;
}

}  // namespace veldra::app
