#include "existing/ExistingMapsetStamping.h"

#include <system_error>

#include "formats/MdxStamp.h"
#include "formats/TdbIdPatch.h"
#include "formats/TypStamp.h"
#include "registration/MapsetRename.h"

namespace veldra::existing {
namespace fs = std::filesystem;
namespace {

bool isFile(const std::optional<fs::path>& file) {
    std::error_code ec;
    return file && fs::is_regular_file(*file, ec);
}

Status fromFile(const platform::FileResult& result) { return result ? Status{} : fail(result.error); }

}  // namespace

fs::path preparedTypeFilePath(const fs::path& typeFile, std::uint16_t fid) {
    return typeFile.parent_path() / (std::to_string(fid & 0xFF) + std::to_string(fid >> 8) + ".Typ");
}

Result<std::optional<fs::path>> stampExistingMapset(app::Session& session, const ExistingMapset& mapset,
                                                    std::uint16_t fid, std::uint16_t pid) {
    if (auto written = fromFile(formats::writeTdbPid(mapset.tdb, pid)); !written) return written.failure();
    if (auto written = fromFile(formats::writeTdbFid(mapset.tdb, fid)); !written) return written.failure();
    // The rename brings the checksum up to date after the ID bytes, too.
    if (auto renamed = registration::renameTdbQuietly(session, mapset.tdb, mapset.name); !renamed)
        return renamed.failure();

    std::optional<fs::path> prepared;
    if (isFile(mapset.typeFile)) {
        prepared = preparedTypeFilePath(*mapset.typeFile, fid);
        if (auto copied = fromFile(formats::writeStampedTypCopy(*mapset.typeFile, *prepared, fid)); !copied)
            return copied.failure();
    }
    if (isFile(mapset.indexFile))
        if (auto stamped = fromFile(formats::writeMdxFid(*mapset.indexFile, fid)); !stamped) return stamped.failure();
    return prepared;
}

}  // namespace veldra::existing
