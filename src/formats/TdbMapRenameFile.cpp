#include "formats/TdbMapRenameFile.h"

#include <system_error>

#include "formats/FileSizeLimits.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbChecksumFile.h"
#include "formats/TdbRename.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"

namespace veldra::formats {

using platform::pathText;

std::filesystem::path tdbBackupPath(const std::filesystem::path& tdb) {
    std::filesystem::path backup = tdb;
    backup += "-BAK";
    return backup;
}

RenameResult renameMapInTdb(const std::filesystem::path& tdb, std::string_view newName, bool quiet) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tdb, ec))
        return {RenameOutcome::FileMissing, {}, {Notice{std::nullopt, "da ging was schief, versuche es bitte erneut"}}};
    const std::uintmax_t size = std::filesystem::file_size(tdb, ec);
    if (ec) return {RenameOutcome::Failed, "cannot read the size of " + platform::pathText(tdb) + ": " + ec.message(), {}};
    if (size < TdbMinimumSize) return {RenameOutcome::TooShort, {}, {}};

    const auto original = platform::readFileCapped(tdb, TdbFileLimit);
    if (!original) return {RenameOutcome::Failed, original.failure().detail, {}};
    auto renamed = renameTdbImage(*original, platform::utf8ToCp1252(newName));
    if (!renamed) return {RenameOutcome::NameTooLong, "the name makes a block of " + platform::pathText(tdb) + " too long", {}};

    const std::filesystem::path backup = tdbBackupPath(tdb);
    if (auto saved = platform::replaceFileAtomically(backup, *original); !saved)
        return {RenameOutcome::BackupRefused, saved.error,
                {Notice{std::nullopt, "Zugriff zum Speichern eines Backupfiles " + platform::pathText(tdb) + "-BAK wurde verweigert.",
                        true}}};
    RenameResult result{RenameOutcome::Renamed, {}, {Notice{Msg::MsgBackupCreated, platform::pathText(backup)}}};

    // The checksum update runs on the new image before its one atomic write, so
    // the file is never seen with the new name and the old checksum.
    if (renamed->checksumNeeded) {
        if (renamed->image.size() < TdbMinimumSize) result.notices.push_back({std::nullopt, unknownTdbFormatMessage()});
        else
            for (const BytePatch& patch : checksumUpdate(renamed->image).patches) renamed->image[patch.offset] = patch.value;
    }
    if (auto written = platform::replaceFileAtomically(tdb, renamed->image); !written) {
        result.outcome = RenameOutcome::Failed;
        result.error = written.error;
        return result;
    }
    if (!quiet) result.notices.push_back({Msg::MsgMapNameChanged, {}, true});
    return result;
}

}  // namespace veldra::formats
