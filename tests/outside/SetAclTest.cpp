// SetACL.exe with the two command lines of the registry removal.
#include <gtest/gtest.h>

#include "support/Commands.h"
#include "support/MapFiles.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

const std::filesystem::path& setAcl() {
    static const std::filesystem::path path = programDir() / "BIN" / "SetACL.exe";
    return path;
}

TEST(SetAcl, BothCommandLinesReportThatRegistryFilesHaveNoAccessLists) {
    const std::string key = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin";
    const CommandResult owner = runProgram(setAcl(), {"-on", key, "-ot", "reg", "-actn", "setowner", "-ownr", "n:Anna Maier"});
    EXPECT_EQ(owner.status, 0) << owner.output;
    EXPECT_NE(owner.output.find(key + ": the registry files of a Wine prefix carry no access lists; owner Anna Maier"),
              std::string::npos)
        << owner.output;
    const CommandResult entry = runProgram(setAcl(), {"-on", key, "-ot", "reg", "-actn", "ace", "-ace", "n:Anna Maier;p:full"});
    EXPECT_EQ(entry.status, 0) << entry.output;
    EXPECT_NE(entry.output.find("full access for Anna Maier needs no change, nothing changed"), std::string::npos)
        << entry.output;
}

TEST(SetAcl, OtherCommandLinesAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"-ot", "reg", "-actn", "setowner", "-ownr", "n:a"},
        {"-on", "HKLM\\X", "-ot", "file", "-actn", "setowner", "-ownr", "n:a"},
        {"-on", "HKLM\\X", "-ot", "reg", "-actn", "setowner", "-ownr", "a"},
        {"-on", "HKLM\\X", "-ot", "reg", "-actn", "ace", "-ace", "n:a"},
        {"-on", "HKLM\\X", "-ot", "reg", "-actn", "delete"},
        {"-on", "HKLM\\X", "-ot"},
        {"-on", "HKLM\\X", "-rec", "yes"},
    };
    for (const auto& arguments : wrong) {
        const CommandResult result = runProgram(setAcl(), arguments);
        EXPECT_EQ(result.status, 2) << result.output;
        EXPECT_NE(result.output.find("usage: SetACL.exe"), std::string::npos);
    }
}

}  // namespace
}  // namespace veldra::outside::test
