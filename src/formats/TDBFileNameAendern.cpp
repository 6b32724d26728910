#include "formats/TDBFileNameAendern.h"

#include <system_error>
#include <vector>

#include "formats/ChecksumAendern.h"
#include "formats/PathText.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbRename.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"

namespace veldra::formats {

std::filesystem::path tdbBackupPath(const std::filesystem::path& tdb) {
    std::filesystem::path backup = tdb;
    backup += "-BAK";
    return backup;
}

RenameResult TDBFileNameAendern(const std::filesystem::path& tdb, std::string_view newName, app::Dialogs& dialogs,
                                const app::MessageCatalog& catalog, bool quiet) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tdb, ec)) {
        dialogs.inform("da ging was schief, versuche es bitte erneut");
        return {RenameOutcome::FileMissing, {}};
    }
    const std::uintmax_t size = std::filesystem::file_size(tdb, ec);
    if (ec) return {RenameOutcome::Failed, "cannot read the size of " + pathText(tdb) + ": " + ec.message()};
    if (size < TdbMinimumSize) return {RenameOutcome::TooShort, {}};

    std::vector<std::uint8_t> original;
    if (auto read = platform::readWholeFile(tdb, original); !read) return {RenameOutcome::Failed, read.error};
    auto renamed = renameTdbImage(original, platform::utf8ToCp1252(newName));
    if (!renamed) return {RenameOutcome::NameTooLong, "the name makes a block of " + pathText(tdb) + " too long"};

    const std::filesystem::path backup = tdbBackupPath(tdb);
    if (auto saved = platform::replaceFileAtomically(backup, original); !saved) {
        dialogs.inform("Zugriff zum Speichern eines Backupfiles " + pathText(tdb) + "-BAK wurde verweigert.",
                       app::DefaultTitle, app::MessageIcon::Information);
        return {RenameOutcome::BackupRefused, saved.error};
    }
    dialogs.inform(catalog.text(app::Msg::MsgBackupCreated) + pathText(backup));

    // The checksum update runs on the new image before its one atomic write, so
    // the file is never seen with the new name and the old checksum.
    if (renamed->checksumNeeded) {
        if (renamed->image.size() < TdbMinimumSize) dialogs.inform(unknownTdbFormatMessage());
        else
            for (const BytePatch& patch : checksumUpdate(renamed->image).patches) renamed->image[patch.offset] = patch.value;
    }
    if (auto written = platform::replaceFileAtomically(tdb, renamed->image); !written)
        return {RenameOutcome::Failed, written.error};
    if (!quiet)
        dialogs.inform(catalog.text(app::Msg::MsgMapNameChanged), app::DefaultTitle, app::MessageIcon::Information);
    return {RenameOutcome::Renamed, {}};
}

}  // namespace veldra::formats
