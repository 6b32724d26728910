// The package description reader: any text gives facts, never a crash.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gmap/InfoXmlReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto facts = veldra::gmap::readInfoXml(text);
    // Every sub-product's name and TDB name were cut from the text.
    for (const auto& sub : facts.subProducts)
        if (text.find(sub.name) == std::string_view::npos || text.find(sub.tdbName) == std::string_view::npos)
            std::abort();
    return 0;
}
