#include "formats/TdbMapRenameFile.h"

#include <string_view>
#include <tuple>

#include <gtest/gtest.h>

#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbRename.h"
#include "formats/TdbTileList.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;
using Bytes = std::vector<std::uint8_t>;

Bytes blockBytes(const Bytes& bytes, const StrictBlock& block) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(block.start),
            bytes.begin() + static_cast<std::ptrdiff_t>(block.start + 3 + block.length)};
}

std::string shownName(const fs::path& tdb) { return parseTdbHeader(readBytes(tdb))->shownName(); }

Notice backupNotice(const fs::path& tdb) { return {Msg::MsgBackupCreated, tdb.string() + "-BAK"}; }

class TdbRenameTest : public ScratchFolder {};

TEST_F(TdbRenameTest, ALongerNameGrowsTheThreeBlocksAndKeepsTheFileWalkableAndChecked) {
    const fs::path tdb = copyIn(AlphaTdb);
    const auto original = readBytes(tdb);
    const auto before = strictTdbWalk(original).value();
    const RenameResult result = renameMapInTdb(tdb, "Veldra Alpha Extended Edition", false);
    ASSERT_EQ(result.outcome, RenameOutcome::Renamed) << result.error;

    const auto renamed = readBytes(tdb);
    const auto after = strictTdbWalk(renamed);
    ASSERT_TRUE(after) << "a block length no longer matches";
    EXPECT_EQ(blockTypes(*after), blockTypes(before));
    EXPECT_EQ(checksumMatches(renamed), true);
    // Series and family name in the header, the name in the overview block.
    const std::string name = "Veldra Alpha Extended Edition";
    const auto read = readTdbForTest(renamed);
    EXPECT_EQ(std::tie(read.seriesName, read.familyName, read.overviewDescription),
              std::make_tuple(name, name, name + " Overview"));
    EXPECT_EQ(firstBlockOf(*after, 0x50).length, firstBlockOf(before, 0x50).length + 2 * 17);
    EXPECT_EQ(shownName(tdb), name);
    // Tile blocks keep the old name in their descriptions: only three blocks change.
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].type == 0x4C || before[i].type == 0x44) {
            EXPECT_EQ(blockBytes(renamed, (*after)[i]), blockBytes(original, before[i])) << "block " << i;
        }
    }
    EXPECT_EQ(listTdbTiles(renamed).size(), 3u);
    EXPECT_EQ(readBytes(tdbBackupPath(tdb)), original);
    EXPECT_EQ(result.notices, (std::vector<Notice>{backupNotice(tdb), {Msg::MsgMapNameChanged, {}, true}}));

    // A second, quiet rename overwrites the backup and leaves out the last message.
    const RenameResult second = renameMapInTdb(tdb, "Second", true);
    ASSERT_EQ(second.outcome, RenameOutcome::Renamed);
    EXPECT_EQ(readBytes(tdbBackupPath(tdb)), renamed);
    EXPECT_EQ(shownName(tdb), "Second");
    EXPECT_EQ(second.notices, (std::vector<Notice>{backupNotice(tdb)}));
}

TEST_F(TdbRenameTest, LengthFieldsPast255BytesGetTheirHighByte) {
    const fs::path tdb = copyIn(AlphaTdb);
    ASSERT_EQ(renameMapInTdb(tdb, std::string(200, 'N'), false).outcome, RenameOutcome::Renamed);
    const auto renamed = readBytes(tdb);
    const auto blocks = strictTdbWalk(renamed);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(firstBlockOf(*blocks, 0x50).length, 75u + 2 * (200 - 12));
    EXPECT_GT(renamed[2], 0);
    EXPECT_EQ(checksumMatches(renamed), true);
    EXPECT_EQ(shownName(tdb), std::string(40, 'N'));  // the catalog shows 40 characters of it
}

TEST_F(TdbRenameTest, TheChecksumIsNeededFromVersion301OrWithATrailer) {
    const auto bytes = readBytes(AlphaTdb);
    const Bytes noTrailer(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(*findTrailerBlock(bytes)));
    auto withVersion = [](Bytes tdb, std::uint16_t version) {
        tdb[7] = static_cast<std::uint8_t>(version & 0xFF);
        tdb[8] = static_cast<std::uint8_t>(version >> 8);
        return tdb;
    };
    EXPECT_FALSE(renameTdbImage(withVersion(noTrailer, 300), "X")->checksumNeeded);
    EXPECT_TRUE(renameTdbImage(withVersion(noTrailer, 301), "X")->checksumNeeded);
    EXPECT_TRUE(renameTdbImage(withVersion(bytes, 300), "X")->checksumNeeded);
    const fs::path tdb = writeFile("v300.tdb", withVersion(bytes, 300));
    ASSERT_EQ(renameMapInTdb(tdb, "Renamed", false).outcome, RenameOutcome::Renamed);
    EXPECT_EQ(checksumMatches(readBytes(tdb)), true);
}

TEST_F(TdbRenameTest, RefusedRenamesLeaveEverythingAsItWas) {
    const RenameResult missing = renameMapInTdb(folder() / "missing.tdb", "X", false);
    EXPECT_EQ(missing.outcome, RenameOutcome::FileMissing);
    EXPECT_EQ(missing.notices, (std::vector<Notice>{{std::nullopt, "da ging was schief, versuche es bitte erneut"}}));

    const auto alpha = readBytes(AlphaTdb);
    const fs::path shortTdb = writeFile("short.tdb", {alpha.begin(), alpha.begin() + 39});
    const fs::path tdb = copyIn(AlphaTdb);
    const fs::path blocked = copyIn(AlphaTdb, "blocked.tdb");
    fs::create_directories(tdbBackupPath(blocked) / "occupied");  // a folder where the backup should go
    // The 40000 characters would outgrow the header block's 16-bit length.
    for (const auto& [file, name, outcome] : {std::tuple{shortTdb, std::string("X"), RenameOutcome::TooShort},
                                              {tdb, std::string(40000, 'L'), RenameOutcome::NameTooLong},
                                              {blocked, std::string("Blocked"), RenameOutcome::BackupRefused}}) {
        const auto before = readBytes(file);
        const RenameResult result = renameMapInTdb(file, name, false);
        EXPECT_EQ(result.outcome, outcome) << file;
        EXPECT_EQ(readBytes(file), before) << file;
        if (outcome == RenameOutcome::BackupRefused) {
            EXPECT_EQ(result.notices, (std::vector<Notice>{{std::nullopt,
                                                            "Zugriff zum Speichern eines Backupfiles " + file.string() +
                                                                "-BAK wurde verweigert.",
                                                            true}}));
        } else {
            EXPECT_TRUE(result.notices.empty()) << file;
            EXPECT_FALSE(fs::exists(tdbBackupPath(file))) << file;
        }
    }
}

TEST(TdbRenameImage, HostileBlockRunsAreCutAtTheEndOfTheFile) {
    // A header whose length runs past the end: the name is replaced as far as the file goes.
    Bytes tdb = {0x50, 0xFF, 0x00, 1, 0, 2, 0, 0x2C, 0x01};
    for (const char c : std::string_view("Old\0tail Old", 12)) tdb.push_back(static_cast<std::uint8_t>(c));
    const auto renamed = renameTdbImage(tdb, "New name");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(std::string(renamed->image.begin() + 9, renamed->image.end()),
              std::string("New name\0tail New name", 22));
    EXPECT_EQ(renamed->image[1], renamed->image.size() - 3);
    // Without a header block there is no old name and nothing changes.
    const Bytes headless = {0x44, 2, 0, 'a', 'b', 0x42, 1, 0, 'c'};
    EXPECT_EQ(renameTdbImage(headless, "X")->image, headless);
    EXPECT_EQ(renameTdbImage(Bytes{}, "X")->image, Bytes{});
}

}  // namespace
}  // namespace veldra::formats
