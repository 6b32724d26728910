#pragma once
// Package files for the gmap tests: Info.xml as the package writer lays it
// out, and shell links in the smallest form Wine's shell writes.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/Cp1252.h"
#include "support/FileBytes.h"

namespace veldra::testing {

// Info.xml of a package with one sub-product; `idx` empty for none.
inline std::string packageInfoXml(const std::string& name, const std::string& fid, const std::string& tdb,
                                  const std::string& idx = {}, const std::string& pid = "1") {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>\r\n"
                      "<MapProduct xmlns=\"http://www.garmin.com/xmlschemas/MapProduct/v1\">\r\n"
                      "<Name>" + name + "</Name>\r\n<DataVersion>100</DataVersion>\r\n"
                      "<DataFormat>Original</DataFormat>\r\n<ID>" + fid + "</ID>\r\n";
    if (!idx.empty()) xml += "<IDX>" + idx + "</IDX>\r\n";
    xml += "<SubProduct>\r\n<Name>" + name + "</Name>\r\n<ID>" + pid + "</ID>\r\n<BaseMap>mapset</BaseMap>\r\n<TDB>" +
           tdb + "</TDB>\r\n<Directory>Product" + pid + "</Directory>\r\n</SubProduct>\r\n</MapProduct>\r\n";
    return xml;
}

// Writes UTF-8 text as code page 1252 bytes, creating the folders.
inline void writeCp1252(const std::filesystem::path& file, const std::string& utf8) {
    std::filesystem::create_directories(file.parent_path());
    writeText(file, platform::utf8ToCp1252(utf8));
}

// Writes a link with only a LinkInfo naming the local path `target`, as Wine's shell writes it.
inline void writeShellLink(const std::filesystem::path& file, const std::string& target) {
    std::vector<std::uint8_t> link(0x4C, 0);
    auto put32 = [&link](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) link[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 0x4C);
    const std::uint8_t clsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    std::copy(std::begin(clsid), std::end(clsid), link.begin() + 4);
    put32(0x14, 0x2);   // HasLinkInfo
    put32(0x18, 0x10);  // a folder
    put32(0x3C, 1);
    const std::string path = platform::utf8ToCp1252(target);
    const std::size_t info = link.size();
    const std::uint32_t basePathOffset = 0x1C + 0x11;
    const std::uint32_t size = basePathOffset + static_cast<std::uint32_t>(path.size()) + 2;
    link.resize(info + size + 4, 0);
    // LinkInfo header, then the VolumeID: size, fixed drive, serial, label offset, empty label.
    for (const auto& [offset, value] : {std::pair<std::size_t, std::uint32_t>{0, size}, {4, 0x1C}, {8, 1}, {0x0C, 0x1C},
                                        {0x10, basePathOffset}, {0x18, size - 1}, {0x1C, 0x11},
                                        {0x20, 3}, {0x28, 0x10}})
        put32(info + offset, value);
    std::copy(path.begin(), path.end(), link.begin() + static_cast<std::ptrdiff_t>(info + basePathOffset));
    std::filesystem::create_directories(file.parent_path());
    writeBytes(file, link);
}

}  // namespace veldra::testing
