#pragma once
// Taking over an existing TDB: its name, FID and PID, with the two repairs a
// TDB from elsewhere may need (no FID, or no PID).

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/Result.h"

namespace veldra::existing {

struct AdoptedTdb {
    std::string shownName;  // the series name: the header text up to its zero byte, UTF-8
    std::string keyName;    // the 40-character header text, blanks and zero bytes as "_"
    std::uint16_t fid = 0;
    std::uint16_t pid = 0;
};

// A TDB without FID takes its PID as the FID and PID 1; one without PID gets
// PID 1. Either repair is written to the file, then the checksum is brought
// up to date.
Result<AdoptedTdb> adoptExistingTdb(const std::filesystem::path& tdb);

}  // namespace veldra::existing
