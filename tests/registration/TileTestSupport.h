#pragma once
// Installed mapsets with real tiles beside their TDB: alpha registered with its
// three mkgmap tiles (one of them XOR-encoded), and a gmap package whose tile
// folders hold the tiles' TRE subfiles.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/ImgReader.h"
#include "formats/TreDrawPriority.h"
#include "registration/CatalogTestSupport.h"
#include "registration/InstalledCatalog.h"
#include "registration/RegistryRecordReading.h"

namespace veldra::testing {

using Bytes = std::vector<std::uint8_t>;

inline const std::vector<std::string> AlphaTiles = {"11000001", "11000002", "11000003"};

inline Bytes treSubfileOf(const fs::path& tile) {
    const auto image = readBytes(tile);
    const auto layout = formats::parseImgImage(image).layout;
    return formats::extractSubfile(image, *layout, *layout->find("TRE"));
}

class TileMapsetTest : public CatalogTest {
protected:
    // alpha registered as family Alpha4711 with its tiles in the tile folder;
    // the second tile is stored XORed with 0x5A.
    fs::path installAlphaWithTiles() {
        const MapsetFiles files = installAlpha("alpha");
        registerFamily(registration::RecordKind::Families, "Alpha4711", files);
        const fs::path folder = native(files.loc);
        for (const std::string& tile : AlphaTiles)
            fs::copy_file(builtData("alpha/" + tile + ".img"), folder / (tile + ".img"));
        writeBytes(folder / "11000002.img", xored(readBytes(folder / "11000002.img"), 0x5A));
        return folder;
    }

    registration::RegistryRecord registryRecord() {
        const auto records = registration::readRegistryRecords(fake.session);
        EXPECT_EQ(records.size(), 1u);
        return records.at(0);
    }

    // Package "Topo" (FID 1234): Product1/<tile>/<tile>.TRE for every tile.
    fs::path installPackageWithTiles() {
        const fs::path product = installPackage("Topo", "1234") / "Product1";
        for (const std::string& tile : AlphaTiles) {
            fs::create_directories(product / tile);
            writeBytes(product / tile / (tile + ".TRE"), treSubfileOf(builtData("alpha/" + tile + ".img")));
        }
        return product;
    }

    gmap::GmapRecord packageRecord() {
        registration::InstalledCatalog catalog;
        catalog.rebuild(fake.session);
        EXPECT_EQ(catalog.packages.records.size(), 1u);
        return catalog.packages.records.at(0);
    }

    static std::uint8_t storedDrawPriority(const fs::path& img) {
        const auto reading = formats::readImgDrawPriority(img);
        EXPECT_EQ(reading.status, formats::DrawPriorityStatus::Found) << reading.error;
        return reading.value;
    }
};

}  // namespace veldra::testing
