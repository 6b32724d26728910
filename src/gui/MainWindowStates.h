#pragma once
// The workflow states of the main window as data: which controls each state
// enables, disables, shows or hides. Controls a state does not name keep what
// they had, as the workflow moves from one state to the next.

#include <optional>
#include <span>

class QWidget;

namespace veldra::gui {

enum class MainState {
    Idle,            // `CommandAllesLoeschen`
    SelectingTiles,  // `CommandHinzufuegen`
    Naming,          // `Command1`
    Integrating,     // `CommandButtonPV` while the work runs
    Integrated,      // after the work
    NextMapset,      // `Command2`, after the idle state and the start-up
    Removing,        // `CommandKartenentfernen`
    TileNames,       // `CommandFilename`
    FidChange,       // `CommandFID`
    Renaming,        // `CommandMapnameAendern`
    TypeFileChange,  // `CommandTypeaendern`
    // Steps inside a mode, applied on top of it:
    MapsetPicked,    // a double click on a catalog entry: both mapset lists wait
    MapsetReleased,  // the picked mapset could not be shown: the lists take a pick again
    TilesPicked,     // the tile window lists the picked mapset's tiles
    TypeFilePicked,  // a mapset takes the chosen type file with `CommandDoIt`
    NamePicked,      // a mapset takes the name typed into `TextMapsetname`
    NameTaken,       // `CommandNameuebernehmen` renamed it: rename mode is left
};

struct ControlRule {
    const char* control;  // objectName
    std::optional<bool> enabled;
    std::optional<bool> visible;
};

std::span<const ControlRule> controlRules(MainState state);

// Applies the state's rules to the window's controls (found by objectName).
void applyControlRules(QWidget& window, MainState state);

}  // namespace veldra::gui
