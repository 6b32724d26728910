#include "formats/FileReadout.h"

#include <gtest/gtest.h>

#include <tuple>

#include "formats/TdbChecksum.h"
#include "platform/Cp1252.h"
#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

class FileReadoutTest : public ScratchFolder {};

TEST_F(FileReadoutTest, ReadsEachKindOfMkgmapFile) {
    const Inspection tdb = inspectFile(AlphaTdb);
    ASSERT_TRUE(tdb.header) << tdb.error;
    EXPECT_EQ(std::tie(tdb.kind, tdb.error, tdb.header->fid, tdb.checksumOk),
              std::make_tuple(FileKind::Tdb, "", 4711, std::optional<bool>(true)));
    EXPECT_EQ(tdb.tiles.size(), 3u);
    const Inspection tile = inspectFile(builtData("beta/00120001.img"));
    EXPECT_EQ(std::tie(tile.kind, tile.xorByte, tile.drawPriority), std::make_tuple(FileKind::Img, 0, 28));
    EXPECT_EQ(inspectFile(builtData("gmapsupp/gmapsupp.img")).kind, FileKind::Img);
    const Inspection typ = inspectFile(builtData("beta/beta.typ"));
    ASSERT_TRUE(typ.typ);
    EXPECT_EQ(std::tie(typ.kind, typ.typ->fid), std::make_tuple(FileKind::Typ, 4712));
    const Inspection mdx = inspectFile(builtData("beta/00120000.mdx"));
    EXPECT_EQ(mdx.kind, FileKind::Mdx);
    EXPECT_EQ(mdx.records.size(), 2u);
}

TEST_F(FileReadoutTest, KindsAreTakenFromTheContentBeforeTheName) {
    const Inspection encoded = inspectFile(writeFile("tile", xored(readBytes(builtData("alpha/11000003.img")), 0x5A)));
    EXPECT_EQ(std::tie(encoded.kind, encoded.xorByte, encoded.drawPriority), std::make_tuple(FileKind::Img, 0x5A, 25));
    EXPECT_EQ(detectFileKind(copyIn(AlphaTdb, "mapset")), FileKind::Tdb);
    EXPECT_EQ(detectFileKind(copyIn(builtData("alpha/alpha.typ"), "types.bin")), FileKind::Typ);
}

TEST_F(FileReadoutTest, DamagedFilesGiveAClearUtf8ErrorOrAFailedChecksum) {
    auto bytes = readBytes(AlphaTdb);
    bytes[5] ^= 1;
    EXPECT_EQ(inspectFile(writeFile("changed.tdb", bytes)).checksumOk, false);
    bytes.resize(*findTrailerBlock(bytes));
    const Inspection noTrailer = inspectFile(writeFile("no-trailer.tdb", bytes));
    EXPECT_EQ(noTrailer.checksumOk, std::nullopt);
    EXPECT_EQ(noTrailer.tiles.size(), 3u);

    // Latin-1 bytes in the name, as an old archive leaves them: the error stays UTF-8.
    const Inspection stub = inspectFile(writeFile("S\xFC" "d\xE9.tdb", {0x50, 1}));
    EXPECT_FALSE(stub.header);
    EXPECT_NE(stub.error.find("is not a TDB file"), std::string::npos);
    EXPECT_NE(stub.error.find("S\uFFFDd\uFFFD.tdb"), std::string::npos) << stub.error;
    EXPECT_EQ(platform::validUtf8(stub.error), stub.error);
    const Inspection unknown = inspectFile(writeFile("\xFF\xFE", {'h', 'i'}));
    EXPECT_EQ(unknown.kind, FileKind::Unknown);
    EXPECT_NE(unknown.error.find("\uFFFD\uFFFD"), std::string::npos) << unknown.error;
    EXPECT_NE(inspectFile(folder()).error, "");
    EXPECT_NE(inspectFile(writeFile("empty.img", {})).error, "");
}

}  // namespace
}  // namespace veldra::formats
