#pragma once
// The bilingual message catalog: named texts and the control texts of the main
// window, filled in German or English from the stored language.

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/MessageIds.h"

namespace veldra::app {

using veldra::Msg;

// Fixed text shown in both languages when a mapset's TDB is gone.
inline constexpr const char* MsgMapDoesNotExist = "Map does not exist";

using ControlText = std::pair<const char*, const char*>;

enum class LanguageBranch { German, English, None };

// "Deu", empty or blanks give German, "Eng" English, anything else no branch.
LanguageBranch languageBranch(std::string_view language);

// What the joined entries take from the main window when they are built.
struct CatalogContext {
    std::string tileFolder;    // current folder of the tile folder list
    std::string fileBaseName;  // eight-character base name of the mapset being made
    std::string programFolder;
};

class MessageCatalog {
public:
    // Entries start empty; control texts start with the window's design captions.
    MessageCatalog();

    // Assigns every entry and control text of the branch that `language` selects.
    // Entries the branch does not assign keep their previous text.
    void fill(std::string_view language, const CatalogContext& context = {});

    const std::string& text(Msg id) const { return entries_[static_cast<std::size_t>(id)]; }

    // Control texts by control name; tool tips as "<control>.ToolTip", texts of
    // other windows as "<window>.<control>". Unknown names give the empty text.
    const std::string& control(std::string_view key) const;
    void setControl(std::string_view key, std::string text);
    const std::map<std::string, std::string, std::less<>>& controls() const { return controls_; }

    // The German captions the German branch leaves alone (the `Label9` action).
    void applyGermanDesignCaptions();

    static std::string_view name(Msg id);
    static std::optional<Msg> byName(std::string_view name);

private:
    void applyControls(std::span<const ControlText> texts);
    void buildComposites(LanguageBranch branch, const CatalogContext& context);

    std::array<std::string, static_cast<std::size_t>(Msg::Count)> entries_;
    std::map<std::string, std::string, std::less<>> controls_;
};

}  // namespace veldra::app
