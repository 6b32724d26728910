#pragma once
// What VELDRA reads from one map file (TDB, IMG tile, TYP, MDX), for the user to see.

#include <filesystem>

#include "formats/FileReadout.h"

namespace veldra::tasks {

inline formats::Inspection inspectMapFile(const std::filesystem::path& file) { return formats::inspectFile(file); }

}  // namespace veldra::tasks
