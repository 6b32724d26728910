#pragma once
// What a double click on a catalog entry does in each management mode of the
// main window, as data; and how the clicked entry is named to the tasks.

#include "gui/MainWindowStates.h"
#include "registration/InstalledCatalog.h"
#include "registration/MapsetSelection.h"
#include "tasks/MapsetChoice.h"

namespace veldra::gui {

enum class CatalogList {
    MapsetNames,  // `ListMapsetName`: the registry records
    Removal,      // `ListLoeschen`: the registry records offered for removal
    Packages,     // `ListMapsetGMP`: the gmap packages
};

enum class CatalogAction {
    None,
    ChangeFid,       // `formFID`
    ListTiles,       // `FormMaptilename`
    Rename,          // the new-name field takes the name
    ChooseTypeFile,  // `CommandDoIt` attaches the chosen type file
    Remove,
};

CatalogAction catalogAction(MainState mode, CatalogList list);

// The shortest choice that names exactly the entry: its name, else its name
// with its PID, else its FID with its PID, else its registry key.
tasks::MapsetChoice choiceFor(const registration::InstalledCatalog& catalog, registration::CatalogEntry entry);

}  // namespace veldra::gui
