#pragma once
// The choice of map tiles (or one gmapsupp.img) for a new mapset: the list of
// chosen files with its placeholder, the tile folder and the gmapsupp flag,
// and the naming rules with their messages. Shared by the desktop program and
// the command line.

#include <string>
#include <string_view>
#include <vector>

namespace veldra::app {
class Dialogs;
class MessageCatalog;
}  // namespace veldra::app

namespace veldra::integration {

// Eight characters forming a number before the last four characters ("12345678.img").
bool isTileName(std::string_view fileName);
// Ends with "gmapsupp.img" in any letter case.
bool isGmapsuppName(std::string_view fileName);
// What the tile file list shows: eight characters, then ".img", ".Img" or ".IMG".
bool listedAsTile(std::string_view fileName);

class TileSelection {
public:
    TileSelection(app::Dialogs& dialogs, const app::MessageCatalog& catalog);

    // The entries as shown, the placeholder included.
    const std::vector<std::string>& entries() const { return entries_; }
    // The chosen files, without the placeholder.
    std::vector<std::string> chosenFiles() const;
    const std::string& tileFolder() const { return tileFolder_; }
    bool gmapsuppSelected() const { return gmapsupp_; }
    bool selectionFinishedEnabled() const { return command1Enabled_; }  // `Command1`
    bool nextMapsetEnabled() const { return command2Enabled_; }         // `Command2`
    bool levelAndZoomVisible() const { return levelZoomVisible_; }

    // A new tile folder: the placeholder alone, `Command1` disabled.
    void reset();
    // A double click on a file of the tile folder.
    void addFromFolder(const std::string& folder, const std::string& fileName);
    // Files dropped from the shell while `folderShown` is the tile folder list's folder.
    void addDropped(const std::vector<std::string>& files, const std::string& folderShown,
                    const std::string& programFolder);
    // A click on an entry removes it.
    void removeAt(std::size_t index);
    // Leaving the list clears the gmapsupp flag unless a gmapsupp is chosen.
    void focusLost();

private:
    bool firstIsGmapsupp() const;
    bool isPlaceholder(const std::string& entry) const;
    bool matchesAnEntry(const std::string& path) const;
    // True when the first "." of the path comes before its last four characters.
    static bool dotInFolder(const std::string& path);
    void refuseDottedGmapsupp();

    app::Dialogs& dialogs_;
    const app::MessageCatalog& catalog_;
    std::vector<std::string> entries_;
    std::string tileFolder_;
    bool gmapsupp_ = false;
    bool command1Enabled_ = false;
    bool command2Enabled_ = false;
    bool levelZoomVisible_ = true;
};

}  // namespace veldra::integration
