#pragma once
// The TDB renaming routine shared by the rename command and the registration
// of an existing TDB: new name into the TDB, old file kept as "<path>-BAK".

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Notice.h"

namespace veldra::formats {

enum class RenameOutcome {
    Renamed,
    FileMissing,     // the "da ging was schief" notice
    TooShort,        // below 40 bytes: left alone without a notice
    NameTooLong,     // a rebuilt block would outgrow its length field: nothing written
    BackupRefused,   // the "-BAK" copy could not be written: a notice, TDB unchanged
    Failed           // reading, writing or the checksum update failed; `error` says why
};

struct RenameResult {
    RenameOutcome outcome = RenameOutcome::Failed;
    std::string error;
    // For the user, in this order: the backup made, an unknown format met by
    // the checksum update, the name changed; or why nothing was done.
    std::vector<Notice> notices;
};

// The backup beside the TDB: the same path with "-BAK" appended.
std::filesystem::path tdbBackupPath(const std::filesystem::path& tdb);

// `newName` is UTF-8; the TDB receives it in code page 1252. `quiet` leaves out
// the closing "map name changed" notice (the existing-TDB registration).
RenameResult renameMapInTdb(const std::filesystem::path& tdb, std::string_view newName, bool quiet);

}  // namespace veldra::formats
