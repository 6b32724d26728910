#pragma once
// The tile list of one installed mapset with its draw priorities, and setting
// one draw priority for all of its tiles.

#include <cstddef>
#include <stop_token>
#include <string>

#include "app/Session.h"
#include "core/Result.h"
#include "registration/DrawPriorityChange.h"
#include "registration/TileListing.h"
#include "tasks/MapsetChoice.h"

namespace veldra::tasks {

Result<registration::TileListing> listTiles(app::Session& session, const MapsetChoice& choice);

struct DrawPriorityRequest {
    MapsetChoice mapset;
    std::string value;  // as typed into the draw priority field
};

// An empty value is refused with its message; 0 (or text that is no number)
// changes nothing. The result is the count the completion message shows;
// `progress` follows the files as they are written; `stop` ends the run after
// the file being written, with the count written so far.
Result<std::size_t> changeDrawPriority(app::Session& session, const DrawPriorityRequest& request,
                                       const Progress& progress = {}, std::stop_token stop = {});

}  // namespace veldra::tasks
