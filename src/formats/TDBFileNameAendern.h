#pragma once
// The TDB renaming routine shared by the rename command and the registration
// of an existing TDB: new name into the TDB, old file kept as "<path>-BAK".

#include <filesystem>
#include <string>
#include <string_view>

#include "app/Dialogs.h"
#include "app/MessageCatalog.h"

namespace veldra::formats {

enum class RenameOutcome {
    Renamed,
    FileMissing,     // the "da ging was schief" message was shown
    TooShort,        // below 40 bytes: left alone without a message
    NameTooLong,     // a rebuilt block would outgrow its length field: nothing written
    BackupRefused,   // the "-BAK" copy could not be written: message shown, TDB unchanged
    Failed           // reading, writing or the checksum update failed; `error` says why
};

struct RenameResult {
    RenameOutcome outcome = RenameOutcome::Failed;
    std::string error;
};

// The backup beside the TDB: the same path with "-BAK" appended.
std::filesystem::path tdbBackupPath(const std::filesystem::path& tdb);

// `newName` is UTF-8; the TDB receives it in code page 1252. `quiet` leaves out
// the closing "map name changed" message (the existing-TDB registration).
RenameResult TDBFileNameAendern(const std::filesystem::path& tdb, std::string_view newName, app::Dialogs& dialogs,
                                const app::MessageCatalog& catalog, bool quiet);

}  // namespace veldra::formats
