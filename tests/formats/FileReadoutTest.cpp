#include "formats/FileReadout.h"

#include <gtest/gtest.h>

#include "support/MapFiles.h"
#include "formats/TdbChecksum.h"
#include "platform/Cp1252.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

class FileReadoutTest : public ScratchFolder {};

TEST_F(FileReadoutTest, ReadsEachKindOfMkgmapFile) {
    const Inspection tdb = inspectFile(AlphaTdb);
    EXPECT_EQ(tdb.kind, FileKind::Tdb);
    EXPECT_EQ(tdb.error, "");
    ASSERT_TRUE(tdb.header);
    EXPECT_EQ(tdb.header->fid, 4711);
    EXPECT_EQ(tdb.tiles.size(), 3u);
    EXPECT_EQ(tdb.checksumOk, true);

    const Inspection tile = inspectFile(builtData("beta/00120001.img"));
    EXPECT_EQ(tile.kind, FileKind::Img);
    EXPECT_EQ(tile.xorByte, 0);
    EXPECT_EQ(tile.drawPriority, 28);
    EXPECT_EQ(inspectFile(builtData("gmapsupp/gmapsupp.img")).kind, FileKind::Img);

    const Inspection typ = inspectFile(builtData("beta/beta.typ"));
    EXPECT_EQ(typ.kind, FileKind::Typ);
    ASSERT_TRUE(typ.typ);
    EXPECT_EQ(typ.typ->fid, 4712);

    const Inspection mdx = inspectFile(builtData("beta/00120000.mdx"));
    EXPECT_EQ(mdx.kind, FileKind::Mdx);
    EXPECT_EQ(mdx.records.size(), 2u);
}

TEST_F(FileReadoutTest, KindsAreTakenFromTheContentBeforeTheName) {
    // An XOR-encoded tile under a name without extension, a TDB without its extension.
    auto tile = readBytes(builtData("alpha/11000003.img"));
    for (auto& byte : tile) byte = static_cast<std::uint8_t>(byte ^ 0x5A);
    const Inspection xored = inspectFile(writeFile("tile", tile));
    EXPECT_EQ(xored.kind, FileKind::Img);
    EXPECT_EQ(xored.xorByte, 0x5A);
    EXPECT_EQ(xored.drawPriority, 25);
    EXPECT_EQ(detectFileKind(copyIn(AlphaTdb, "mapset")), FileKind::Tdb);
    EXPECT_EQ(detectFileKind(copyIn(builtData("alpha/alpha.typ"), "types.bin")), FileKind::Typ);
}

TEST_F(FileReadoutTest, DamagedFilesGiveAClearErrorOrAFailedChecksum) {
    auto bytes = readBytes(AlphaTdb);
    bytes[5] ^= 1;
    EXPECT_EQ(inspectFile(writeFile("changed.tdb", bytes)).checksumOk, false);

    bytes.resize(*findTrailerBlock(bytes));
    const Inspection noTrailer = inspectFile(writeFile("no-trailer.tdb", bytes));
    EXPECT_EQ(noTrailer.checksumOk, std::nullopt);
    EXPECT_EQ(noTrailer.tiles.size(), 3u);

    const Inspection stub = inspectFile(writeFile("stub.tdb", {0x50, 1}));
    EXPECT_FALSE(stub.header);
    EXPECT_NE(stub.error.find("too short"), std::string::npos);

    EXPECT_NE(inspectFile(writeFile("notes.txt", {'h', 'i'})).error, "");
    EXPECT_EQ(inspectFile(writeFile("notes.txt", {'h', 'i'})).kind, FileKind::Unknown);
    EXPECT_NE(inspectFile(folder()).error, "");
    EXPECT_NE(inspectFile(writeFile("empty.img", {})).error, "");
}

TEST_F(FileReadoutTest, ErrorsNamingAFileWithInvalidUtf8InItsNameAreValidUtf8) {
    // Latin-1 bytes, as an old archive leaves them: not UTF-8.
    const std::string latin1Name = "S\xFC" "d\xE9.tdb";
    const Inspection stub = inspectFile(writeFile(latin1Name, {0x50, 1}));
    EXPECT_NE(stub.error.find("S\uFFFDd\uFFFD.tdb"), std::string::npos) << stub.error;
    EXPECT_EQ(platform::validUtf8(stub.error), stub.error);

    const Inspection unknown = inspectFile(writeFile("\xFF\xFE", {'h', 'i'}));
    EXPECT_NE(unknown.error.find("\uFFFD\uFFFD"), std::string::npos) << unknown.error;
}

}  // namespace
}  // namespace veldra::formats
