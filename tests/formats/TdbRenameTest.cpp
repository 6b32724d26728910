#include "formats/TdbMapRenameFile.h"

#include <algorithm>
#include <string_view>

#include <gtest/gtest.h>

#include "support/MapFiles.h"
#include "support/TdbTestReader.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbRename.h"
#include "formats/TdbTileList.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

std::size_t occurrences(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to, std::string_view text) {
    std::size_t count = 0;
    for (auto at = bytes.begin() + static_cast<std::ptrdiff_t>(from);;) {
        at = std::search(at, bytes.begin() + static_cast<std::ptrdiff_t>(to), text.begin(), text.end(),
                         [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); });
        if (at == bytes.begin() + static_cast<std::ptrdiff_t>(to)) return count;
        ++count;
        ++at;
    }
}

std::size_t occurrences(const std::vector<std::uint8_t>& bytes, const StrictBlock& block, std::string_view text) {
    return occurrences(bytes, block.start, block.start + 3 + block.length, text);
}

std::vector<std::uint8_t> blockBytes(const std::vector<std::uint8_t>& bytes, const StrictBlock& block) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(block.start),
            bytes.begin() + static_cast<std::ptrdiff_t>(block.start + 3 + block.length)};
}

class TdbRenameTest : public ScratchFolder {
protected:
    RenameResult rename(const fs::path& tdb, std::string_view name, bool quiet = false) {
        return renameMapInTdb(tdb, name, quiet);
    }
};

Notice backupNotice(const fs::path& tdb) { return {Msg::MsgBackupCreated, tdb.string() + "-BAK"}; }

TEST_F(TdbRenameTest, ALongerNameGrowsTheThreeBlocksAndKeepsTheFileWalkableAndChecked) {
    const fs::path tdb = copyIn(AlphaTdb);
    const auto original = readBytes(tdb);
    const auto before = strictTdbWalk(original).value();

    const RenameResult result = rename(tdb, "Veldra Alpha Extended Edition");
    ASSERT_EQ(result.outcome, RenameOutcome::Renamed) << result.error;

    const auto renamed = readBytes(tdb);
    const auto after = strictTdbWalk(renamed);
    ASSERT_TRUE(after) << "a block length no longer matches";
    EXPECT_EQ(blockTypes(*after), blockTypes(before));
    EXPECT_EQ(checksumMatches(renamed), true);

    // Series and family name in the header, the name in the overview block.
    const auto header = firstBlockOf(*after, 0x50);
    EXPECT_EQ(occurrences(renamed, header, "Veldra Alpha Extended Edition"), 2u);
    EXPECT_EQ(header.length, firstBlockOf(before, 0x50).length + 2 * 17);
    EXPECT_EQ(occurrences(renamed, firstBlockOf(*after, 0x42), "Veldra Alpha Extended Edition Overview"), 1u);
    EXPECT_EQ(parseTdbHeader(renamed)->shownName(), "Veldra Alpha Extended Edition");

    // Tile blocks keep the old name in their descriptions: only three blocks change.
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].type == 0x4C || before[i].type == 0x44) {
            EXPECT_EQ(blockBytes(renamed, (*after)[i]), blockBytes(original, before[i])) << "block " << i;
        }
    }
    EXPECT_EQ(listTdbTiles(renamed).size(), 3u);

    EXPECT_EQ(readBytes(tdbBackupPath(tdb)), original);
    EXPECT_EQ(result.notices, (std::vector<Notice>{backupNotice(tdb), {Msg::MsgMapNameChanged, {}, true}}));
}

TEST_F(TdbRenameTest, LengthFieldsPast255BytesGetTheirHighByte) {
    const fs::path tdb = copyIn(AlphaTdb);
    const std::string longName(200, 'N');
    ASSERT_EQ(rename(tdb, longName).outcome, RenameOutcome::Renamed);

    const auto renamed = readBytes(tdb);
    const auto blocks = strictTdbWalk(renamed);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(firstBlockOf(*blocks, 0x50).length, 75u + 2 * (200 - 12));
    EXPECT_GT(renamed[2], 0);
    EXPECT_EQ(checksumMatches(renamed), true);
    // The catalog shows 40 characters of it.
    EXPECT_EQ(parseTdbHeader(renamed)->shownName(), std::string(40, 'N'));
}

TEST_F(TdbRenameTest, TheNameBlockIsRenamedTooWhenItCarriesTheName) {
    // mkgmap's 0x52 block never names the map: give it the name.
    auto bytes = readBytes(AlphaTdb);
    const auto nameBlock = firstBlockOf(strictTdbWalk(bytes).value(), 0x52);
    const std::string_view data = "\xC3Veldra Alpha";
    std::vector<std::uint8_t> block = {0x52, static_cast<std::uint8_t>(data.size() + 1), 0};
    block.insert(block.end(), data.begin(), data.end());
    block.push_back(0);
    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(nameBlock.start),
                bytes.begin() + static_cast<std::ptrdiff_t>(nameBlock.start + 3 + nameBlock.length));
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(nameBlock.start), block.begin(), block.end());
    const fs::path tdb = writeFile("named.tdb", bytes);

    ASSERT_EQ(rename(tdb, "Gamma").outcome, RenameOutcome::Renamed);
    const auto renamed = readBytes(tdb);
    const auto blocks = strictTdbWalk(renamed).value();
    EXPECT_EQ(blockBytes(renamed, firstBlockOf(blocks, 0x52)),
              (std::vector<std::uint8_t>{0x52, 7, 0, 0xC3, 'G', 'a', 'm', 'm', 'a', 0}));
    EXPECT_EQ(checksumMatches(renamed), true);
}

TEST_F(TdbRenameTest, ASecondRenameOverwritesTheBackupAndQuietLeavesOutTheLastMessage) {
    const fs::path tdb = copyIn(AlphaTdb);
    ASSERT_EQ(rename(tdb, "First").outcome, RenameOutcome::Renamed);
    const auto first = readBytes(tdb);

    const RenameResult second = rename(tdb, "Second", true);
    ASSERT_EQ(second.outcome, RenameOutcome::Renamed);
    EXPECT_EQ(readBytes(tdbBackupPath(tdb)), first);
    EXPECT_EQ(parseTdbHeader(readBytes(tdb))->shownName(), "Second");
    EXPECT_EQ(second.notices, (std::vector<Notice>{backupNotice(tdb)}));
}

TEST_F(TdbRenameTest, TheChecksumIsNeededFromVersion301OrWithATrailer) {
    auto bytes = readBytes(AlphaTdb);
    const std::vector<std::uint8_t> noTrailer(bytes.begin(),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(*findTrailerBlock(bytes)));
    auto withVersion = [](std::vector<std::uint8_t> tdb, std::uint16_t version) {
        tdb[7] = static_cast<std::uint8_t>(version & 0xFF);
        tdb[8] = static_cast<std::uint8_t>(version >> 8);
        return tdb;
    };
    EXPECT_FALSE(renameTdbImage(withVersion(noTrailer, 300), "X")->checksumNeeded);
    EXPECT_TRUE(renameTdbImage(withVersion(noTrailer, 301), "X")->checksumNeeded);
    EXPECT_TRUE(renameTdbImage(withVersion(bytes, 300), "X")->checksumNeeded);

    // Version 300 with its trailer: renamed and checked.
    const fs::path tdb = writeFile("v300.tdb", withVersion(bytes, 300));
    ASSERT_EQ(rename(tdb, "Renamed").outcome, RenameOutcome::Renamed);
    EXPECT_EQ(checksumMatches(readBytes(tdb)), true);
}

TEST_F(TdbRenameTest, MissingShortAndOverlongCasesLeaveEverythingAsItWas) {
    const RenameResult missing = rename(folder() / "missing.tdb", "X");
    EXPECT_EQ(missing.outcome, RenameOutcome::FileMissing);
    EXPECT_EQ(missing.notices, (std::vector<Notice>{{std::nullopt, "da ging was schief, versuche es bitte erneut"}}));

    const auto alpha = readBytes(AlphaTdb);
    const std::vector<std::uint8_t> short39(alpha.begin(), alpha.begin() + 39);
    const fs::path shortTdb = writeFile("short.tdb", short39);
    const RenameResult tooShort = rename(shortTdb, "X");
    EXPECT_EQ(tooShort.outcome, RenameOutcome::TooShort);
    EXPECT_TRUE(tooShort.notices.empty());
    EXPECT_EQ(readBytes(shortTdb), short39);

    // A header block that would outgrow its 16-bit length.
    const fs::path tdb = copyIn(AlphaTdb);
    const RenameResult tooLong = rename(tdb, std::string(40000, 'L'));
    EXPECT_EQ(tooLong.outcome, RenameOutcome::NameTooLong);
    EXPECT_TRUE(tooLong.notices.empty());
    EXPECT_EQ(readBytes(tdb), alpha);

    EXPECT_FALSE(fs::exists(tdbBackupPath(shortTdb)));
    EXPECT_FALSE(fs::exists(tdbBackupPath(tdb)));
}

TEST_F(TdbRenameTest, ABackupThatCannotBeWrittenLeavesTheTdbUnchanged) {
    const fs::path tdb = copyIn(AlphaTdb);
    fs::create_directories(tdbBackupPath(tdb) / "occupied");  // a folder where the backup should go

    const RenameResult result = rename(tdb, "Blocked");
    EXPECT_EQ(result.outcome, RenameOutcome::BackupRefused);
    EXPECT_EQ(readBytes(tdb), readBytes(AlphaTdb));
    EXPECT_EQ(result.notices,
              (std::vector<Notice>{
                  {std::nullopt, "Zugriff zum Speichern eines Backupfiles " + tdb.string() + "-BAK wurde verweigert.", true}}));
}

TEST(TdbRenameImage, HostileBlockRunsAreCutAtTheEndOfTheFile) {
    // A header whose length runs past the end: the name is replaced as far as the file goes.
    std::vector<std::uint8_t> tdb = {0x50, 0xFF, 0x00, 1, 0, 2, 0, 0x2C, 0x01};
    for (const char c : std::string_view("Old\0tail Old", 12)) tdb.push_back(static_cast<std::uint8_t>(c));
    const auto renamed = renameTdbImage(tdb, "New name");
    ASSERT_TRUE(renamed);
    const std::string text(renamed->image.begin() + 9, renamed->image.end());
    EXPECT_EQ(text, std::string("New name\0tail New name", 22));
    EXPECT_EQ(renamed->image[1], renamed->image.size() - 3);

    // Without a header block there is no old name and nothing changes.
    const std::vector<std::uint8_t> headless = {0x44, 2, 0, 'a', 'b', 0x42, 1, 0, 'c'};
    EXPECT_EQ(renameTdbImage(headless, "X")->image, headless);
    EXPECT_EQ(renameTdbImage(std::vector<std::uint8_t>{}, "X")->image, std::vector<std::uint8_t>{});
}

}  // namespace
}  // namespace veldra::formats
