#pragma once
// The four things gmt.exe does. Each prints what it wrote and throws GmtError
// when it cannot finish.

#include <ostream>

#include "gmt/GmtCommand.h"

namespace veldra::outside {

// -S with a list file: BASE.tdb and BASE.mp of the listed tiles.
void makeMapset(const GmtCommand& command, std::ostream& out);
// -S with an image: its tiles, type files and mapset files.
void splitImage(const GmtCommand& command, std::ostream& out);
// -G: one image per map family.
void splitFamilies(const GmtCommand& command, std::ostream& out);
// -g: the subfiles as files.
void unpackImage(const GmtCommand& command, std::ostream& out);

}  // namespace veldra::outside
