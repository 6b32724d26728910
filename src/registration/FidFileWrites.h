#pragma once
// The file writes of a FID change. Each keeps the file in `backups` before it
// touches it and writes the FID as two bytes, low byte first, exactly where
// the file's format carries it.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/Session.h"
#include "core/Result.h"
#include "registration/FileBackups.h"

namespace veldra::registration {

// The TDB header's FID, then its checksum; a file too short for a checksum
// gets the unknown-format message and keeps the new FID.
Status writeFidIntoTdb(app::Session& session, FileBackups& backups, const std::filesystem::path& tdb,
                       std::uint16_t fid);
// The FID of every record the index file counts.
Status writeFidIntoMdx(FileBackups& backups, const std::filesystem::path& mdx, std::uint16_t fid);
// The type file's FID.
Status writeFidIntoTyp(FileBackups& backups, const std::filesystem::path& typ, std::uint16_t fid);
// A copy of the type file `source` at `target` (replaced when it exists), carrying the FID.
Status copyTypWithFid(FileBackups& backups, const std::filesystem::path& source, const std::filesystem::path& target,
                      std::uint16_t fid);
// Replaces a package description file with `text` (code page 1252 bytes).
Status rewriteDescription(FileBackups& backups, const std::filesystem::path& file, std::string_view text);

}  // namespace veldra::registration
