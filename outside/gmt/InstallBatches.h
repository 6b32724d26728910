#pragma once
// install.bat and uninstall.bat: registering a mapset for the host programs by
// hand, for users who run gmt.exe on its own (the pipeline deletes them).

#include <string>

#include "formats/TdbWriter.h"

namespace veldra::outside {

struct BatchTargets {
    std::string tdb;       // host paths as the batch file should store them
    std::string overview;
    std::string tiles;     // the tile folder, with a trailing backslash
};

// Code page text with CR LF line ends; the keys go to the 32-bit registry view
// that the host programs read.
std::string installBatch(const formats::TdbMapset& mapset, const BatchTargets& targets);
std::string uninstallBatch(const formats::TdbMapset& mapset);

}  // namespace veldra::outside
