// Host paths over a hand-made dosdevices folder: the mapping rules on their own.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/WineHostPaths.h"
#include "support/TempFolder.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

class HostPathsTest : public ::testing::Test {
protected:
    HostPathsTest() : prefix(temp.path() / "prefix"), paths(prefix) {
        fs::create_directories(prefix / "dosdevices");
        fs::create_directories(prefix / "drive_c" / "ProgramData" / "Garmin");
        fs::create_directories(temp.path() / "outside");
        link('c', "../drive_c");
        link('z', "/");
    }
    void link(char letter, const fs::path& target) {
        fs::create_directory_symlink(target, prefix / "dosdevices" / std::string{letter, ':'});
    }
    fs::path drive(char letter) const { return prefix / "dosdevices" / std::string{letter, ':'}; }
    std::string unixAsHost(const fs::path& p) const {
        std::string host = "Z:";
        for (const auto& part : p.relative_path()) host += "\\" + part.string();
        return host;
    }

    TempDir temp;
    fs::path prefix;
    WineHostPaths paths;
};

// What winepath cannot show in its one prefix (PrefixBackendsWine compares the rest).
TEST_F(HostPathsTest, NativeToHostKeepsWhatDoesNotExistYetAsWritten) {
    EXPECT_EQ(paths.toHost(prefix / "drive_c" / "ProgramData" / ".." / "ProgramData" / "x" / ""), "C:\\ProgramData\\x\\");
    EXPECT_EQ(paths.toHost(temp.path() / "outside" / "Käse"), unixAsHost(temp.path() / "outside" / "Käse"));
}

TEST_F(HostPathsTest, DeepestAncestorFirstThenDriveLettersInOrder) {
    link('d', prefix / "drive_c" / "ProgramData");
    link('e', "../drive_c");
    EXPECT_EQ(paths.toHost(prefix / "drive_c" / "ProgramData" / "Garmin"), "D:\\Garmin");
    EXPECT_EQ(paths.toHost(prefix / "drive_c" / "users"), "C:\\users");
}

TEST_F(HostPathsTest, WithoutADriveForThePathTheUnixNamespaceIsUsed) {
    fs::remove(drive('z'));
    const fs::path outside = temp.path() / "outside" / "x";
    const std::string host = paths.toHost(outside);
    EXPECT_EQ(host, "\\\\?\\unix" + unixAsHost(outside).substr(2));
    EXPECT_EQ(paths.toNative(host), outside);
    EXPECT_EQ(paths.toHost(prefix / "drive_c" / "x"), "C:\\x");
}

TEST_F(HostPathsTest, HostToNativeMatchesUpToTheFirstMissingComponent) {
    // Later components cannot exist, so they keep their spelling.
    EXPECT_EQ(paths.toNative("C:\\Missing\\programdata"), drive('c') / "Missing" / "programdata");
    EXPECT_EQ(paths.toNative("C:\\programdata\\GARMIN\\Maps"), drive('c') / "ProgramData" / "Garmin" / "Maps");
    // Z: on the root gives plain Unix paths; other drives stay under dosdevices.
    EXPECT_EQ(paths.toNative(unixAsHost(temp.path() / "OUTSIDE" / "a")), temp.path() / "outside" / "a");
    EXPECT_EQ(paths.toNative(unixAsHost(temp.path() / "outside")), temp.path() / "outside");  // spelled as on disk
    EXPECT_EQ(paths.toNative("C:\\ProgramData\\Garmin"), drive('c') / "ProgramData" / "Garmin");
    EXPECT_EQ(paths.toNative("Q:\\x"), drive('q') / "x");
    EXPECT_EQ(paths.toNative("C:\\..\\ProgramData"), drive('c') / "ProgramData");
    EXPECT_EQ(paths.toNative("C:").string(), drive('c').string() + "/");
    for (const char* notAbsolute : {"", "C", "C:file", "1:\\x", "\\x", "ProgramData\\x", "\\\\server\\share"})
        EXPECT_EQ(paths.toNative(notAbsolute), fs::path()) << notAbsolute;

    // Existing files only, whether spelled as on disk or not; folders are none.
    // Their first bytes are read from the same file, or NoFile where there is none.
    std::ofstream(prefix / "drive_c" / "ProgramData" / "Garmin" / "A.tdb") << "tdb";
    std::ofstream(temp.path() / "outside" / "b.img") << "img";
    const auto start = [&](std::string_view host) {
        const FileStart read = paths.existingNativeFileStart(host, 2);
        return read.state == FileStart::State::Read ? std::string(read.bytes.begin(), read.bytes.end()) : "NoFile";
    };
    for (const char* garminTdb : {"C:\\ProgramData\\Garmin\\A.tdb", "c:/programdata/garmin/./a.TDB"}) {
        EXPECT_EQ(paths.existingNativeFile(garminTdb), drive('c') / "ProgramData" / "Garmin" / "A.tdb") << garminTdb;
        EXPECT_EQ(start(garminTdb), "td") << garminTdb;
    }
    EXPECT_EQ(paths.existingNativeFile(unixAsHost(temp.path() / "OUTSIDE" / "B.img")), temp.path() / "outside" / "b.img");
    EXPECT_EQ(start(unixAsHost(temp.path() / "OUTSIDE" / "B.img")), "im");
    for (const char* none : {"C:\\ProgramData\\Garmin", "C:\\ProgramData\\Garmin\\B.tdb", "C:", "Q:\\A.tdb", "C:A.tdb"}) {
        EXPECT_EQ(paths.existingNativeFile(none), fs::path()) << none;
        EXPECT_EQ(start(none), "NoFile") << none;
    }
}

}  // namespace
}  // namespace veldra::platform
