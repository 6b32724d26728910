#include "integration/TileSelection.h"

#include <algorithm>

#include "app/Dialogs.h"
#include "app/LikePattern.h"
#include "app/MessageCatalog.h"
#include "platform/Text.h"

namespace veldra::integration {
namespace {

constexpr const char* ToolTitle = "VELDRA-TOOL";
constexpr char Separator = '/';

bool endsWithIgnoreCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && platform::equalsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) folder += Separator;
    return folder;
}

}  // namespace

bool isTileName(std::string_view name) {
    if (name.size() < 12) return false;
    return app::isNumericText(name.substr(name.size() - 12, 8));
}

bool isGmapsuppName(std::string_view name) { return endsWithIgnoreCase(name, "gmapsupp.img"); }

bool listedAsTile(std::string_view name) {
    if (name.size() != 12) return false;
    const auto ext = name.substr(8);
    return ext == ".img" || ext == ".Img" || ext == ".IMG";
}

TileSelection::TileSelection(app::Dialogs& dialogs, const app::MessageCatalog& catalog)
    : dialogs_(dialogs), catalog_(catalog) {
    reset();
}

void TileSelection::reset() {
    entries_ = {catalog_.text(app::Msg::MsgNoFileChosen)};
    command1Enabled_ = false;
}

std::vector<std::string> TileSelection::chosenFiles() const {
    std::vector<std::string> files;
    for (const auto& e : entries_)
        if (!isPlaceholder(e)) files.push_back(e);
    return files;
}

bool TileSelection::isPlaceholder(const std::string& entry) const {
    // Either language's placeholder counts, whichever was shown when it was added.
    return entry == catalog_.text(app::Msg::MsgNoFileChosen) || entry == "No File choosed." ||
           entry == "Kein File ausgewaehlt.";
}

bool TileSelection::firstIsGmapsupp() const { return !entries_.empty() && isGmapsuppName(entries_.front()); }

bool TileSelection::matchesAnEntry(const std::string& path) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const std::string& e) { return app::likePattern(path, e); });
}

bool TileSelection::dotInFolder(const std::string& path) {
    const auto dot = path.find('.');
    return dot != std::string::npos && path.size() >= 4 && dot < path.size() - 4;
}

void TileSelection::refuseDottedGmapsupp() {
    dialogs_.inform(catalog_.text(app::Msg::MsgGmapsuppPathDots));
    command2Enabled_ = true;
}

void TileSelection::addFromFolder(const std::string& folder, const std::string& fileName) {
    if (firstIsGmapsupp()) {
        gmapsupp_ = true;
        return;
    }
    if (isTileName(fileName)) {
        tileFolder_ = withTrailingSeparator(folder);
        const std::string currentFile = tileFolder_ + fileName;
        if (entries_.empty()) {
            entries_.push_back(currentFile);
        } else if (entries_.size() == 1 && isPlaceholder(entries_.front())) {
            entries_ = {currentFile};
        } else if (matchesAnEntry(currentFile)) {
            dialogs_.inform(catalog_.text(app::Msg::MsgFileExists), ToolTitle);
        } else {
            entries_.push_back(currentFile);
        }
        command1Enabled_ = true;
        return;
    }
    if (!isGmapsuppName(fileName)) {
        dialogs_.inform(catalog_.text(app::Msg::MsgWrongTileName));
        return;
    }
    const std::string currentFile = withTrailingSeparator(folder) + fileName;
    if (dotInFolder(currentFile)) {
        refuseDottedGmapsupp();
        return;
    }
    entries_ = {currentFile};
    command1Enabled_ = true;
    levelZoomVisible_ = false;
    gmapsupp_ = true;
}

void TileSelection::addDropped(const std::vector<std::string>& files, const std::string& folderShown,
                               const std::string& programFolder) {
    if (firstIsGmapsupp()) return;
    dialogs_.busy(true);
    auto lower = [](const std::string& s) { return withTrailingSeparator(platform::toLowerAscii(s)); };
    if (lower(folderShown) == lower(programFolder)) {
        dialogs_.inform(catalog_.text(app::Msg::MsgTileInProgramFolder));
        dialogs_.busy(false);
        return;
    }
    for (const auto& file : files) {
        if (matchesAnEntry(file)) continue;
        if (isTileName(file)) {
            entries_.push_back(file);
            if (isPlaceholder(entries_.front())) entries_.erase(entries_.begin());
        } else if (isGmapsuppName(file)) {
            if (dotInFolder(file)) {
                refuseDottedGmapsupp();
                dialogs_.busy(false);
                return;
            }
            entries_ = {file};
            gmapsupp_ = true;
        }
    }
    command1Enabled_ = true;
    const std::string& first = entries_.front();
    if (first.size() < 12)
        dialogs_.inform(catalog_.text(app::Msg::MsgWrongTileName));
    else
        tileFolder_ = withTrailingSeparator(first.substr(0, first.size() - 12));
    dialogs_.busy(false);
}

void TileSelection::removeAt(std::size_t index) {
    if (index >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    if (entries_.empty()) reset();
}

void TileSelection::focusLost() {
    if (!firstIsGmapsupp()) gmapsupp_ = false;
}

}  // namespace veldra::integration
