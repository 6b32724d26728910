#pragma once
// `veldra` run on its own default prefix in a temporary home, with a copy of
// mkgmap's alpha tiles to integrate.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/Commands.h"
#include "support/PrefixTestSupport.h"
#include "support/TempFolder.h"

namespace veldra {

namespace fs = std::filesystem;

class IntegrateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(tiles);
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / tile, tiles / tile);
        ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    }

    testing::CommandResult veldra(const std::string& arguments) {
        return testing::runCommand("env -u WINEPREFIX XDG_DATA_HOME=" + home.path().string() + " " +
                                   VELDRA_PROGRAM_DIR + "/veldra --lang Eng " + arguments + " 2>&1 </dev/null");
    }

    // `veldra` on the prefix Wine made for the test program, once its server
    // has saved the registry (VELDRA writes only while none runs).
    testing::CommandResult veldraInWinePrefix(const std::string& arguments) {
        const auto& prefix = testing::WineTestPrefix::path();
        testing::runCommand(testing::wineCommand(prefix, "wineserver -w"));
        return veldra("--prefix " + testing::shellQuote(prefix.string()) + " " + arguments);
    }

    std::string tileArgs() const {
        return (tiles / "11000001.img").string() + " " + (tiles / "11000002.img").string() + " " +
               (tiles / "11000003.img").string();
    }

    testing::TempDir home;
    fs::path tiles = home.path() / "maps" / "alps";
};

}  // namespace veldra
