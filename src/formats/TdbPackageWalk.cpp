#include "formats/TdbPackageWalk.h"

#include "formats/TdbBlocks.h"
#include "formats/TdbTileList.h"

namespace veldra::formats {

std::vector<std::uint32_t> packageTileNumbers(ByteView tdb) {
    std::vector<std::uint32_t> numbers;
    const auto firstLength = u16At(tdb, 1);
    if (!firstLength) return numbers;
    const std::size_t second = TdbBlockPrefix + *firstLength;
    const auto secondLength = u16At(tdb, second + 1);
    if (!secondLength) return numbers;
    for (std::size_t block = second + TdbBlockPrefix + *secondLength; block + TdbTileMinimumSpan < tdb.size();
         block += TdbBlockPrefix + *u16At(tdb, block + 1)) {
        if (tdb[block] == TdbTileBlock) numbers.push_back(*u32At(tdb, block + TdbTileNumberOffset));
    }
    return numbers;
}

}  // namespace veldra::formats
