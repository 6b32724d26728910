// The program folder the build lays out, as the pipeline expects to find it,
// SetACL.exe with the two command lines of the registry removal, and the
// command lines the outside programs build for the programs they run.
#include <gtest/gtest.h>

#include "common/RunProgram.h"
#include "platform/CommandLine.h"
#include "platform/LittleEndian.h"
#include "support/Commands.h"
#include "support/MapFiles.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

TEST(ProgramFolder, HoldsItsFilesAndPlayableSounds) {
    // The programs themselves run in the other tests of this suite.
    EXPECT_TRUE(fs::is_regular_file(programDir() / "Version97c" / "sendg.dll"));
    EXPECT_NE(readText(programDir() / "FAQ.html").find("<html"), std::string::npos);
    for (const char* sound : {"Intro.wav", "Success.wav"}) {
        const auto wav = readBytes(programDir() / sound);
        ASSERT_GT(wav.size(), 44u) << sound;
        const auto u32 = [&wav](std::size_t at) { return platform::u32At(wav, at).value_or(0); };
        EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
        EXPECT_EQ(u32(4), wav.size() - 8);
        EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(wav[20], 1);  // PCM
        EXPECT_EQ(u32(24), 11025u);
        EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
        EXPECT_EQ(u32(40), wav.size() - 44);
        const double seconds = static_cast<double>(u32(40)) / u32(28);
        EXPECT_GT(seconds, 0.1) << sound;
        EXPECT_LT(seconds, 2.0) << sound;
    }
}

TEST(SetAcl, RegistryRemovalCommandLinesSucceedAndOthersAreUsageErrors) {
    const fs::path setAcl = programDir() / "BIN" / "SetACL.exe";
    const std::string key = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin";
    for (const auto& [arguments, report] :
         {std::pair{std::vector<std::string>{"-on", key, "-ot", "reg", "-actn", "setowner", "-ownr", "n:Anna Maier"},
                    key + ": the registry files of a Wine prefix carry no access lists; owner Anna Maier"},
          {{"-on", key, "-ot", "reg", "-actn", "ace", "-ace", "n:Anna Maier;p:full"},
           "full access for Anna Maier needs no change, nothing changed"}}) {
        const CommandResult result = testing::runProgram(setAcl, arguments);
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_NE(result.output.find(report), std::string::npos) << result.output;
    }
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {},
             {"-ot", "reg", "-actn", "setowner", "-ownr", "n:a"},
             {"-on", "HKLM\\X", "-ot", "file", "-actn", "setowner", "-ownr", "n:a"},
             {"-on", "HKLM\\X", "-ot", "reg", "-actn", "setowner", "-ownr", "a"},
             {"-on", "HKLM\\X", "-ot", "reg", "-actn", "ace", "-ace", "n:a"},
             {"-on", "HKLM\\X", "-ot", "reg", "-actn", "delete"},
             {"-on", "HKLM\\X", "-ot"},
             {"-on", "HKLM\\X", "-rec", "yes"}}) {
        const CommandResult result = testing::runProgram(setAcl, arguments);
        EXPECT_EQ(result.status, 2) << result.output;
        EXPECT_NE(result.output.find("usage: SetACL.exe"), std::string::npos);
    }
}

TEST(RunProgram, CommandLinesSplitBackIntoTheirArguments) {
    const std::vector<std::string> arguments = {"/usr/bin/java", "-jar", "/opt/my maps/mkgmap.jar", "",
                                                "--family-name=Topo \"Nord\"", "C:\\Karten\\", "C:\\Meine Karten\\",
                                                "a\\\\\"b", "tab\there", "plain\\path"};
    EXPECT_EQ(platform::splitCommandLine(commandLineOf(arguments)), arguments);
    EXPECT_EQ(quoteCommandArgument("plain\\path"), "plain\\path");  // nothing to protect
}

}  // namespace
}  // namespace veldra::outside::test
