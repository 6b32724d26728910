#include <gtest/gtest.h>

#include "platform/LittleEndian.h"
#include "platform/ShellLinkIdList.h"
#include "platform/ShellLinkInfo.h"
#include "platform/ShellLinks.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

using platform::shellLinkBytes;

constexpr std::size_t HeaderSize = 0x4C;
constexpr std::size_t FlagsOffset = 0x14;
constexpr std::uint8_t ForceNoLinkInfo = 0x01;  // bit 8 of the flags: second flag byte

// The target each part of a written link names: the reader's choice, the
// item ID list alone and the LinkInfo alone.
struct Targets {
    std::string read, items, info;
};

Targets targetsOf(std::vector<std::uint8_t> link) {
    Targets targets;
    targets.read = platform::readShellLinkTarget(link).path.value_or("<none>");
    const std::span<const std::uint8_t> bytes(link);
    const std::size_t idListSize = platform::u16At(bytes, HeaderSize).value_or(0);
    targets.items = platform::shelllink::idListTarget(bytes.subspan(HeaderSize + 2, idListSize)).value_or("<none>");
    const auto infoBytes = bytes.subspan(HeaderSize + 2 + idListSize);
    targets.info = platform::shelllink::linkInfoTarget(infoBytes).value_or("<none>");
    link[FlagsOffset + 1] |= ForceNoLinkInfo;
    EXPECT_EQ(platform::readShellLinkTarget(link).path.value_or("<none>"), targets.items);
    return targets;
}

TEST(ShellLinkWriterTest, EveryPartOfAWrittenLinkNamesTheTarget) {
    for (const std::string target : {"C:\\ProgramData\\GARMIN\\Maps\\Topo.gmap", "Z:\\home\\me\\Karten\\Alpen.gmap",
                                     "C:\\Odd name.with.dots\\x", "D:\\"}) {
        const auto link = shellLinkBytes(target, true);
        ASSERT_TRUE(link) << target;
        const Targets targets = targetsOf(*link);
        EXPECT_EQ(targets.read, target);
        EXPECT_EQ(targets.items, target);
        EXPECT_EQ(targets.info, target);
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

TEST(ShellLinkWriterTest, RefusesPathsWithoutADriveOrWithEmptyNames) {
    for (const std::string target : {"", "Maps\\Topo.gmap", "\\\\server\\share\\Topo.gmap", "C:Topo", "C:\\a\\\\b"})
        EXPECT_FALSE(shellLinkBytes(target, true)) << target;
    testing::TempDir dir;
    EXPECT_FALSE(platform::writeShellLinkFile(dir.path() / "x.lnk", "Topo", true));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.lnk"));
}

TEST(ShellLinkWriterTest, WrittenFileReadsBack) {
    testing::TempDir dir;
    const auto link = dir.path() / "Link_Topo.lnk";
    ASSERT_TRUE(platform::writeShellLinkFile(link, "C:\\Maps\\Topo.gmap", true));
    ASSERT_TRUE(platform::writeShellLinkFile(link, "C:\\Maps\\Alpen.gmap", true));
    EXPECT_EQ(platform::readShellLinkFile(link).path, "C:\\Maps\\Alpen.gmap");
}

}  // namespace
}  // namespace veldra
