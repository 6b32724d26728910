#include "gmt/InstallBatches.h"

#include <cstdio>

namespace veldra::outside {
namespace {

std::string familyKey(const formats::TdbMapset& mapset) {
    return "HKLM\\SOFTWARE\\Garmin\\MapSource\\Families\\" + mapset.familyName;
}

std::string hexByte(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
    return text;
}

std::string add(const std::string& key, const std::string& value, const std::string& type, const std::string& data) {
    return "reg add \"" + key + "\" /reg:32 /f /v " + value + " /t " + type + " /d \"" + data + "\"\r\n";
}

}  // namespace

std::string installBatch(const formats::TdbMapset& mapset, const BatchTargets& targets) {
    const std::string family = familyKey(mapset);
    const std::string product = family + "\\" + std::to_string(mapset.pid);
    // A quoted value must not end in a backslash, or it escapes the quote.
    const std::string tiles = targets.tiles + (targets.tiles.ends_with('\\') ? "\\" : "");
    return "@echo off\r\nrem Registers the mapset " + mapset.familyName + " for the host programs.\r\n" +
           add(family, "ID", "REG_BINARY", hexByte(mapset.fid) + hexByte(static_cast<unsigned>(mapset.fid) >> 8)) +
           add(product, "TDB", "REG_SZ", targets.tdb) + add(product, "BMAP", "REG_SZ", targets.overview) +
           add(product, "LOC", "REG_SZ", tiles);
}

std::string uninstallBatch(const formats::TdbMapset& mapset) {
    return "@echo off\r\nrem Removes the mapset " + mapset.familyName + " from the host programs.\r\n" +
           "reg delete \"" + familyKey(mapset) + "\" /reg:32 /f\r\n";
}

}  // namespace veldra::outside
