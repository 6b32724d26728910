#include "registration/FidFileWrites.h"

#include "formats/MdxStamp.h"
#include "formats/TdbChecksumFile.h"
#include "formats/TypStamp.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

Status statusOf(const platform::FileResult& result) {
    if (result) return {};
    return fail(result.error);
}

}  // namespace

Status writeFidIntoTdb(app::Session& session, FileBackups& backups, const fs::path& tdb, std::uint16_t fid) {
    if (auto kept = backups.keep(tdb); !kept) return kept;
    const auto checksum = formats::updateTdbChecksum(tdb, {.pid = std::nullopt, .fid = fid});
    if (checksum.outcome == formats::ChecksumOutcome::Failed) return fail(checksum.error);
    if (checksum.outcome == formats::ChecksumOutcome::UnknownFormat)
        session.dialogs.inform(formats::unknownTdbFormatMessage());
    return {};
}

Status writeFidIntoMdx(FileBackups& backups, const fs::path& mdx, std::uint16_t fid) {
    if (auto kept = backups.keep(mdx); !kept) return kept;
    return statusOf(formats::writeMdxFid(mdx, fid));
}

Status writeFidIntoTyp(FileBackups& backups, const fs::path& typ, std::uint16_t fid) {
    if (auto kept = backups.keep(typ); !kept) return kept;
    return statusOf(formats::writeTypFid(typ, fid));
}

Status copyTypWithFid(FileBackups& backups, const fs::path& source, const fs::path& target, std::uint16_t fid) {
    if (auto kept = backups.keep(target); !kept) return kept;
    return statusOf(formats::writeStampedTypCopy(source, target, fid));
}

Status rewriteDescription(FileBackups& backups, const fs::path& file, std::string_view text) {
    if (auto kept = backups.keep(file); !kept) return kept;
    return statusOf(platform::replaceFileAtomically(file, text));
}

}  // namespace veldra::registration
