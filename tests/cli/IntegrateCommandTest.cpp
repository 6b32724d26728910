// `veldra integrate` with our own outside programs on mkgmap's tiles, in a
// private prefix made for the test.

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace veldra {
namespace {

namespace fs = std::filesystem;

struct CommandRun {
    int exitCode;
    std::string out;
};

class IntegrateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(home);
        fs::create_directories(tiles);
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / tile, tiles / tile);
        ASSERT_EQ(veldra("settings --os64 yes").exitCode, 0);
    }
    void TearDown() override { fs::remove_all(home); }

    CommandRun veldra(const std::string& arguments) {
        const std::string command = "env -u WINEPREFIX XDG_DATA_HOME=" + home.string() + " " + VELDRA_PROGRAM_DIR +
                                    "/veldra --lang Eng " + arguments + " 2>&1 </dev/null";
        CommandRun run{-1, {}};
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        std::array<char, 4096> buffer{};
        while (auto n = fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    std::string tileArgs() const {
        return (tiles / "11000001.img").string() + " " + (tiles / "11000002.img").string() + " " +
               (tiles / "11000003.img").string();
    }

    fs::path home = fs::temp_directory_path() / ("veldra-integrate-" + std::to_string(getpid()));
    fs::path tiles = home / "maps" / "alps";
};

TEST_F(IntegrateCommandTest, TilesBecomeAListedFamily) {
    auto run = veldra("integrate --name Alps --fid 4711 --registry " + tileArgs());
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("Integration is now ready for use."), std::string::npos) << run.out;
    for (const char* made : {"Alpsoooo.tdb", "Alpsoooo.mp", "Alpsoooo.img"}) EXPECT_TRUE(fs::exists(tiles / made)) << made;

    auto list = veldra("list --json");
    ASSERT_EQ(list.exitCode, 0) << list.out;
    EXPECT_NE(list.out.find("\"subkey\": \"Alpsoooo4711\\\\1\""), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\"fid\": 4711"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\"kind\": \"Families\""), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\"tdb\": \"Z:" ), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("TDB-File fehlt"), std::string::npos) << list.out;

    // The same name or FID again is refused; the free FID search skips 4711.
    auto again = veldra("integrate --name Alps --registry " + tileArgs());
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.out.find("Such name is already existing."), std::string::npos) << again.out;
    auto sameFid = veldra("integrate --name Other --fid 4711 --registry " + tileArgs());
    EXPECT_EQ(sameFid.exitCode, 1);
    EXPECT_NE(sameFid.out.find("ID-Nr. exists already."), std::string::npos) << sameFid.out;
}

TEST_F(IntegrateCommandTest, WrongInputIsRefusedClearly) {
    auto mixed = veldra("integrate --name Alps --registry " + (tiles / "11000001.img").string() + " " +
                        (home / "11000002.img").string());
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_NE(mixed.out.find("Img-files must placed all in same folder."), std::string::npos) << mixed.out;

    auto gmap = veldra("integrate --name Alps --gmap " + tileArgs());
    EXPECT_EQ(gmap.exitCode, 1);
    EXPECT_NE(gmap.out.find("gmap package"), std::string::npos) << gmap.out;

    fs::copy_file(tiles / "11000001.img", tiles / "readme.img");
    auto wrongName = veldra("integrate --name Alps --registry " + (tiles / "readme.img").string());
    EXPECT_EQ(wrongName.exitCode, 1);
    EXPECT_NE(wrongName.out.find("You try to integrate files with wrong filename."), std::string::npos)
        << wrongName.out;
    EXPECT_EQ(veldra("integrate --name Alps").exitCode, 2);
}

}  // namespace
}  // namespace veldra
