// The program folder the build lays out, as the pipeline expects to find it.
#include <gtest/gtest.h>

#include "platform/LittleEndian.h"
#include "support/MapFiles.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

std::uint32_t u32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return platform::u32At(bytes, at).value_or(0);
}

TEST(ProgramFolder, HoldsTheProgramsUnderTheirNames) {
    for (const char* program : {"gmt.exe", "Version97c/cgpsmapper.exe", "BIN/SetACL.exe"}) {
        const fs::path path = programDir() / program;
        EXPECT_TRUE(fs::is_regular_file(path)) << program;
        EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << program;
    }
    EXPECT_TRUE(fs::is_regular_file(programDir() / "Version97c" / "sendg.dll"));
    const auto jar = readBytes(programDir() / "mkgmap.jar");  // through the link
    ASSERT_GT(jar.size(), 4u);
    EXPECT_EQ(jar[0], 'P');
    EXPECT_EQ(jar[1], 'K');
    EXPECT_NE(readText(programDir() / "FAQ.html").find("<html"), std::string::npos);
}

TEST(ProgramFolder, SoundsArePlayableWaveFiles) {
    for (const char* sound : {"Intro.wav", "Success.wav"}) {
        const auto wav = readBytes(programDir() / sound);
        ASSERT_GT(wav.size(), 44u) << sound;
        EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
        EXPECT_EQ(u32(wav, 4), wav.size() - 8);
        EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(wav[20], 1);  // PCM
        const std::uint32_t rate = u32(wav, 24);
        EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
        EXPECT_EQ(u32(wav, 40), wav.size() - 44);
        const double seconds = static_cast<double>(u32(wav, 40)) / u32(wav, 28);
        EXPECT_GT(seconds, 0.1) << sound;
        EXPECT_LT(seconds, 2.0) << sound;
        EXPECT_EQ(rate, 11025u);
    }
}

}  // namespace
}  // namespace veldra::outside::test
