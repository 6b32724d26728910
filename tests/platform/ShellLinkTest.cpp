// Shell links as we read them (samples Windows and Wine wrote) and as we write them.
#include "platform/ShellLinks.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/LittleEndian.h"
#include "platform/ShellLinkIdList.h"
#include "platform/ShellLinkInfo.h"
#include "platform/ShellLinkSamples.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

using platform::readShellLinkTarget;
using platform::shellLinkBytes;
using testing::WindowsLinkToFile;
using testing::WineLinkToAccentedPackage;
using testing::WineLinkToPackage;

constexpr std::size_t HeaderSize = 0x4C;
constexpr std::size_t FlagsOffset = 0x14;
constexpr std::uint8_t ForceNoLinkInfo = 0x01;  // bit 8 of the flags: second flag byte

// The same link told to ignore its LinkInfo, so the item ID list has to name the target.
std::vector<std::uint8_t> withoutLinkInfo(std::vector<std::uint8_t> link) {
    link[FlagsOffset + 1] |= ForceNoLinkInfo;
    return link;
}

std::string targetOf(const std::vector<std::uint8_t>& link, std::string_view folder = {}) {
    return readShellLinkTarget(link, folder).path.value_or("<none>");
}

TEST(ShellLinkTest, LinksAreReadFromLinkInfoAndFromTheirItemsAlike) {
    const std::pair<const std::vector<std::uint8_t>*, std::string> samples[] = {
        {&WindowsLinkToFile, "C:\\test\\a.txt"},
        {&WineLinkToPackage, "C:\\maps\\Topo North.gmap"},
        {&WineLinkToAccentedPackage, "C:\\maps\\Töpo Süd.gmap"}};
    for (const auto& [link, target] : samples) {
        EXPECT_EQ(targetOf(*link), target);
        EXPECT_EQ(targetOf(withoutLinkInfo(*link)), target);
    }
    // The short name of a folder item differs from its long name, as 8.3 names do.
    auto link = withoutLinkInfo(WindowsLinkToFile);
    link[0x7B + 14] = 'T';
    EXPECT_EQ(targetOf(link), "C:\\test\\a.txt");
}

TEST(ShellLinkTest, RelativePathIsTakenAgainstTheLinkFolderWhenNothingElseNamesTheTarget) {
    auto link = withoutLinkInfo(WindowsLinkToFile);
    link[0x50 + 4] ^= 0xFF;  // the root item no longer names the computer
    EXPECT_EQ(targetOf(link, "C:\\links\\sub"), "C:\\links\\sub\\a.txt");
    EXPECT_EQ(targetOf(link, "C:\\"), "C:\\a.txt");
    EXPECT_EQ(targetOf(link), "<none>");
}

TEST(ShellLinkTest, OtherFilesAreNoLinks) {
    EXPECT_EQ(readShellLinkTarget(std::vector<std::uint8_t>{}).error, "not a shell link");
    const std::string text = "<MapProduct>not a link at all, but long enough to fill a link header......</MapProduct>";
    EXPECT_FALSE(readShellLinkTarget(std::vector<std::uint8_t>(text.begin(), text.end())).path);
    auto wrongClass = WineLinkToPackage;
    wrongClass[4] = 0x02;
    EXPECT_FALSE(readShellLinkTarget(wrongClass).path);
}

// A cut-off or damaged link never reads outside its bytes, and whatever target
// it still gives is the real one: strings end inside their structures or not at all.
TEST(ShellLinkTest, TruncatedOrDamagedLinksGiveTheTargetOrNothing) {
    const std::vector<std::pair<const std::vector<std::uint8_t>*, std::string>> samples = {
        {&WindowsLinkToFile, "C:\\test\\a.txt"}, {&WineLinkToPackage, "C:\\maps\\Topo North.gmap"}};
    for (const auto& [sample, target] : samples) {
        for (std::size_t size = 0; size < sample->size(); ++size) {
            const std::vector<std::uint8_t> cut(sample->begin(), sample->begin() + static_cast<std::ptrdiff_t>(size));
            const auto read = readShellLinkTarget(cut);
            if (read.path) {
                EXPECT_EQ(*read.path, target) << "cut at " << size;
            }
        }
        for (std::size_t at = 0; at < sample->size(); ++at) {
            for (const std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
                auto damaged = *sample;
                damaged[at] = value;
                (void)readShellLinkTarget(damaged);
            }
        }
    }
}

TEST(ShellLinkTest, FilesAreReadWholeUpToTheLimit) {
    const testing::TempDir folder;
    EXPECT_FALSE(platform::readShellLinkFile(folder / "missing.lnk").path);
    auto padded = WineLinkToPackage;
    padded.resize(platform::ShellLinkFileLimit, 0);  // a link may carry trailing data up to the limit
    testing::writeBytes(folder / "Topo.lnk", padded);
    EXPECT_EQ(platform::readShellLinkFile(folder / "Topo.lnk").path.value_or(""), "C:\\maps\\Topo North.gmap");

    padded.push_back(0);
    testing::writeBytes(folder / "Topo.lnk", padded);
    const auto read = platform::readShellLinkFile(folder / "Topo.lnk");
    EXPECT_FALSE(read.path);
    EXPECT_NE(read.error.find((folder / "Topo.lnk").string()), std::string::npos) << read.error;
    EXPECT_NE(read.error.find(std::to_string(platform::ShellLinkFileLimit)), std::string::npos) << read.error;
}

// The target each part of a written link names: the reader's choice, the
// item ID list alone and the LinkInfo alone.
struct Targets {
    std::string read, items, info;
};

Targets targetsOf(const std::vector<std::uint8_t>& link) {
    Targets targets;
    targets.read = targetOf(link);
    const std::span<const std::uint8_t> bytes(link);
    const std::size_t idListSize = platform::u16At(bytes, HeaderSize).value_or(0);
    targets.items = platform::shelllink::idListTarget(bytes.subspan(HeaderSize + 2, idListSize)).value_or("<none>");
    const auto infoBytes = bytes.subspan(HeaderSize + 2 + idListSize);
    targets.info = platform::shelllink::linkInfoTarget(infoBytes).value_or("<none>");
    EXPECT_EQ(targetOf(withoutLinkInfo(link)), targets.items);
    return targets;
}

TEST(ShellLinkWriterTest, EveryPartOfAWrittenLinkNamesTheTarget) {
    for (const std::string target : {"C:\\ProgramData\\GARMIN\\Maps\\Topo.gmap", "Z:\\home\\me\\Karten\\Alpen.gmap",
                                     "C:\\Odd name.with.dots\\x", "D:\\"}) {
        const auto link = shellLinkBytes(target, true);
        ASSERT_TRUE(link) << target;
        const Targets targets = targetsOf(*link);
        EXPECT_EQ(std::tie(targets.read, targets.items, targets.info), std::tie(target, target, target));
    }
}

TEST(ShellLinkWriterTest, NamesOutsideTheCodePageAreStoredInUtf16) {
    const std::string accented = "C:\\Karten\\K\xC3\xA4se.gmap";  // in the code page
    const std::string cyrillic = "C:\\\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0\\Topo.gmap";
    EXPECT_EQ(targetsOf(*shellLinkBytes(accented, true)).items, accented);
    EXPECT_EQ(targetsOf(*shellLinkBytes(accented, true)).info, accented);
    EXPECT_EQ(targetsOf(*shellLinkBytes(cyrillic, true)).items, cyrillic);
}

TEST(ShellLinkWriterTest, HeaderTellsFolderOrFileAndOnlyTheWrittenParts) {
    const auto folder = *shellLinkBytes("C:\\Maps\\Topo.gmap", true);
    const auto file = *shellLinkBytes("C:\\Maps\\list.txt", false);
    const std::span<const std::uint8_t> folderBytes(folder), fileBytes(file);
    EXPECT_EQ(platform::u32At(folderBytes, 0), HeaderSize);
    EXPECT_EQ(platform::u32At(folderBytes, FlagsOffset), 0x83u);  // item IDs, LinkInfo, Unicode
    EXPECT_EQ(platform::u32At(folderBytes, 0x18), 0x10u);
    EXPECT_EQ(platform::u32At(fileBytes, 0x18), 0x80u);
    EXPECT_EQ(platform::u32At(folderBytes, 0x3C), 1u);  // shown normally
    // The last item of the list is a folder or a file entry.
    const std::size_t idEnd = HeaderSize + 2 + *platform::u16At(folderBytes, HeaderSize);
    const std::size_t lastItem = idEnd - 2 - 24;  // 14 bytes, then the name with its NUL padded to 10
    EXPECT_EQ(folder[lastItem + 2], 0x31);
    EXPECT_EQ(file[lastItem + 2], 0x32);
    // Four zero bytes end the link.
    EXPECT_EQ(platform::u32At(folderBytes, folder.size() - 4), 0u);
}

TEST(ShellLinkWriterTest, RefusesPathsWithoutADriveOrWithEmptyNamesAndWrittenFilesReadBack) {
    for (const std::string target : {"", "Maps\\Topo.gmap", "\\\\server\\share\\Topo.gmap", "C:Topo", "C:\\a\\\\b"})
        EXPECT_FALSE(shellLinkBytes(target, true)) << target;
    testing::TempDir dir;
    EXPECT_FALSE(platform::writeShellLinkFile(dir.path() / "x.lnk", "Topo", true));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.lnk"));
    // A written file reads back, the second one written over the first.
    const auto link = dir.path() / "Link_Topo.lnk";
    ASSERT_TRUE(platform::writeShellLinkFile(link, "C:\\Maps\\Topo.gmap", true));
    ASSERT_TRUE(platform::writeShellLinkFile(link, "C:\\Maps\\Alpen.gmap", true));
    EXPECT_EQ(platform::readShellLinkFile(link).path, "C:\\Maps\\Alpen.gmap");
}

}  // namespace
}  // namespace veldra
