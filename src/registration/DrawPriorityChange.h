#pragma once
// Setting one draw priority for every listed tile of a mapset: the value as
// the user types it, and the write of one byte per tile file.

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string_view>

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"
#include "registration/TileListing.h"

namespace veldra::registration {

// Shown, in German only, when the draw priority field is left empty.
inline constexpr const char* NoDrawPriorityTyped = "Es ist keine DP eingetragen. Geben Sie eine DP ein.";

struct TypedDrawPriority {
    bool empty = false;      // nothing but blanks was typed
    std::uint8_t value = 0;  // 0: no change
};

// The rules of the draw priority field: text that is not a decimal number
// counts as 0, a value above 31 becomes 30.
TypedDrawPriority readTypedDrawPriority(std::string_view text);

// Writes `value` into every listed file that holds a TRE header, in place:
// exactly one byte, XORed with the file's XOR byte in IMG files. When a tile
// file cannot be opened for writing (a host program holds it), "Close
// Mapsource first" is shown and nothing is written. Afterwards the count
// message is shown and returned: the listed tiles for IMG, the files written
// for gmap packages. `progress` counts the files to write; a stop request
// ends the run between two files (each file holds one value, old or new) and
// tells how many were written.
Result<std::size_t> writeDrawPriority(app::Session& session, const TileListing& listing, std::uint8_t value,
                                      const Progress& progress = {}, std::stop_token stop = {});

}  // namespace veldra::registration
