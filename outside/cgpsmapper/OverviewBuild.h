#pragma once
// Making the overview map X.img beside an overview source X.mp with mkgmap
// (java -jar <program folder>/mkgmap.jar). For mapset.mp, the source of a
// split device image, mkgmap builds mapset.img, mapset.tdb and mapset.mdx from
// the tiles beside it. mkgmap works in a folder of its own; only complete
// results are moved beside the source, so a failure leaves no file.

#include <filesystem>
#include <ostream>

namespace veldra::outside {

// True when every result file was made.
bool buildOverview(const std::filesystem::path& source, const std::filesystem::path& programFolder,
                   std::ostream& out);

}  // namespace veldra::outside
