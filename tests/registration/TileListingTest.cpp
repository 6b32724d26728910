// The tile list of an installed mapset: its TDB's tiles, each with the draw
// priority read from the tile file or the package's TRE files.

#include "registration/TileListing.h"

#include "registration/TileTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::TileKind;
using registration::TileListing;
using Texts = std::vector<std::string>;

Texts linesOf(const TileListing& listing) {
    Texts lines;
    for (const auto& tile : listing.tiles) lines.push_back(listing.line(tile));
    return lines;
}

class TileListingTest : public testing::TileMapsetTest {};

TEST_F(TileListingTest, RegistryTilesShowTheSameDrawPriorityWhateverTheirXorByte) {
    const fs::path folder = installAlphaWithTiles();
    ASSERT_EQ(testing::readBytes(folder / "11000002.img")[0], 0x5A);

    const auto listing = registration::listRegistryTiles(fake.session, registryRecord());
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing->kind, TileKind::Img);
    EXPECT_EQ(listing->folder, folder);
    EXPECT_EQ(linesOf(*listing), (Texts{"11000001.img  =  Veldra Alpha (11000001)  ; Drawpriority = 25",
                                        "11000002.img  =  Veldra Alpha (11000002)  ; Drawpriority = 25",
                                        "11000003.img  =  Veldra Alpha (11000003)  ; Drawpriority = 25"}));
    EXPECT_EQ(listing->tiles[1].location, folder / "11000002.img");
    EXPECT_EQ(listing->tiles[1].lastDrawPriority(), 25);
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(TileListingTest, TilesWithoutFileOrTreHeaderKeepTheirLineWithoutDrawPriority) {
    const fs::path folder = installAlphaWithTiles();
    fs::remove(folder / "11000001.img");
    testing::writeBytes(folder / "11000003.img", testing::Bytes(4096, 0x20));
    // The host finds a file whatever the case of its name.
    fs::rename(folder / "11000002.img", folder / "11000002.IMG");

    const auto listing = registration::listRegistryTiles(fake.session, registryRecord());
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(linesOf(*listing), (Texts{"11000001.img  =  Veldra Alpha (11000001)",
                                        "11000002.img  =  Veldra Alpha (11000002)  ; Drawpriority = 25",
                                        "11000003.img  =  Veldra Alpha (11000003)"}));
    EXPECT_TRUE(listing->tiles[0].files.empty());
    EXPECT_EQ(listing->tiles[1].location, folder / "11000002.IMG");
    ASSERT_EQ(listing->tiles[2].files.size(), 1u);
    EXPECT_EQ(listing->tiles[2].files[0].drawPriority, std::nullopt);
    EXPECT_EQ(listing->tiles[2].lastDrawPriority(), std::nullopt);
}

TEST_F(TileListingTest, AGoneTdbShowsMapDoesNotExist) {
    const fs::path folder = installAlphaWithTiles();
    fs::remove(folder / "11000000.tdb");

    const auto listing = registration::listRegistryTiles(fake.session, registryRecord());
    ASSERT_FALSE(listing.ok());
    EXPECT_EQ(listing.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.texts(), Texts{"Map does not exist"});

    fake.dialogs.messages.clear();
    const fs::path product = installPackageWithTiles();
    fs::remove(product / "11000000.tdb");
    EXPECT_FALSE(registration::listPackageTiles(fake.session, packageRecord()).ok());
    EXPECT_EQ(fake.dialogs.texts(), Texts{"Map does not exist"});
}

TEST_F(TileListingTest, PackageTilesAreReadPlainFromEveryTreAndGmpFileOfTheirFolder) {
    const fs::path product = installPackageWithTiles();
    // A second header file in one folder adds a second value; other files are not read.
    auto tre = testing::readBytes(product / "11000003" / "11000003.TRE");
    const std::uint64_t offset = formats::readGmapDrawPriority(product / "11000003" / "11000003.TRE").byteOffset;
    tre[offset] = 17;
    testing::writeBytes(product / "11000003" / "11000003.gmp", tre);
    testing::writeBytes(product / "11000003" / "11000003.LBL", tre);
    // An XOR-encoded file is not decoded in a package: its header is not found.
    testing::writeBytes(product / "11000002" / "11000002.TRE",
                        testing::xored(testing::readBytes(product / "11000002" / "11000002.TRE"), 0x5A));

    const auto listing = registration::listPackageTiles(fake.session, packageRecord());
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing->kind, TileKind::Gmp);
    EXPECT_EQ(listing->folder, product.parent_path());
    EXPECT_EQ(linesOf(*listing), (Texts{"11000001=  Veldra Alpha (11000001) ; DP = 25",
                                        "11000002=  Veldra Alpha (11000002)",
                                        "11000003=  Veldra Alpha (11000003) ; DP = 25 ; DP = 17"}));
    EXPECT_EQ(listing->tiles[2].location, product / "11000003");
    EXPECT_EQ(listing->tiles[2].files.size(), 2u);
    EXPECT_EQ(listing->tiles[2].lastDrawPriority(), 17);
}

TEST_F(TileListingTest, PackageWhoseTdbLeadsOutOfItsFolderIsNotRead) {
    const fs::path package = installPackageWithTiles().parent_path();
    std::string xml = testing::readText(package / "Info.xml");
    xml.replace(xml.find("11000000.tdb"), 12, "../../elsewhere.tdb");
    testing::writeCp1252(package / "Info.xml", xml);

    const auto listing = registration::listPackageTiles(fake.session, packageRecord());
    ASSERT_FALSE(listing.ok());
    EXPECT_EQ(listing.failure().kind, FailureKind::Error);
    EXPECT_NE(listing.failure().detail.find("elsewhere.tdb"), std::string::npos) << listing.failure().detail;
}

}  // namespace
}  // namespace veldra
