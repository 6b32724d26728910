#include "registration/DrawPriorityChange.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "formats/TreDrawPriority.h"
#include "registration/TypeFileNames.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

constexpr unsigned long long HighestDrawPriority = 31;
constexpr std::uint8_t DrawPriorityAboveHighest = 30;

// A host program that holds a tile open keeps everyone else from opening it
// for writing; opening it read-write without writing tells so beforehand.
bool openableForWriting(const fs::path& file) {
    const std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
    return stream.is_open();
}

platform::FileResult writeTileFile(TileKind kind, const fs::path& file, std::uint8_t value) {
    return kind == TileKind::Img ? formats::writeImgDrawPriority(file, value)
                                 : formats::writeGmapDrawPriority(file, value);
}

Failure closeHostFirst(app::Session& session) {
    session.dialogs.inform(CloseHostFirst, app::DefaultTitle, app::MessageIcon::Critical);
    return alreadyShown();
}

}  // namespace

TypedDrawPriority readTypedDrawPriority(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {true, 0};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    unsigned long long number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error == std::errc::invalid_argument || stop != end) return {false, 0};
    if (error == std::errc::result_out_of_range || number > HighestDrawPriority)
        return {false, DrawPriorityAboveHighest};
    return {false, static_cast<std::uint8_t>(number)};
}

Result<std::size_t> writeDrawPriority(app::Session& session, const TileListing& listing, std::uint8_t value,
                                      const Progress& progress, std::stop_token stop) {
    std::vector<fs::path> targets;
    for (const ListedTile& tile : listing.tiles)
        for (const TileFile& file : tile.files)
            if (file.drawPriority) targets.push_back(file.path);
    if (!std::all_of(targets.begin(), targets.end(), openableForWriting)) return closeHostFirst(session);

    std::size_t written = 0, done = 0;
    bool refused = false;
    tell(progress, 0, targets.size());
    for (const fs::path& file : targets) {
        if (stop.stop_requested()) break;
        // A file taken by a host program since the check does not stop the others.
        if (writeTileFile(listing.kind, file, value))
            ++written;
        else
            refused = true;
        tell(progress, ++done, targets.size());
        session.dialogs.processEvents();
    }
    if (refused) return closeHostFirst(session);
    if (done < targets.size()) {
        session.dialogs.inform(session.msg(app::Msg::MsgDrawPriorityStopped) + std::to_string(written) +
                               session.msg(app::Msg::MsgFilesSuffix));
        return written;
    }
    const std::size_t count = listing.kind == TileKind::Img ? listing.tiles.size() : written;
    session.dialogs.inform(session.msg(app::Msg::MsgDrawPriorityChangedFor) + std::to_string(count) +
                           session.msg(app::Msg::MsgFilesSuffix));
    return count;
}

}  // namespace veldra::registration
