#pragma once
// Reads the polygons of a compiled map, level by level, with their labels:
// enough to see the definition areas of an overview map. Throws
// std::runtime_error on anything it does not understand.

#include <cstdint>
#include <string>
#include <vector>

namespace veldra::outside::test {

struct MapPolygon {
    std::uint8_t type = 0;
    std::uint8_t levelBits = 0;  // resolution of the zoom level it lies in
    std::string label;           // code page bytes; empty unless the map's labels are 8-bit encoded
};

struct CompiledMap {
    std::uint32_t mapId = 0;
    std::vector<MapPolygon> polygons;
};

CompiledMap readCompiledMap(const std::vector<std::uint8_t>& image);

}  // namespace veldra::outside::test
