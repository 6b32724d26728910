#include "platform/ShellLinks.h"

#include <gtest/gtest.h>

#include "platform/ShellLinkSamples.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

using platform::readShellLinkTarget;
using testing::WindowsLinkToFile;
using testing::WineLinkToAccentedPackage;
using testing::WineLinkToPackage;

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

}  // namespace
}  // namespace veldra
