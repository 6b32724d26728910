// SetACL.exe with the two command lines of the registry removal.

#include <gtest/gtest.h>

#include "OutsideTestSupport.h"

namespace veldra::outside::test {
namespace {

const std::filesystem::path& setAcl() {
    static const std::filesystem::path path = programDir() / "BIN" / "SetACL.exe";
    return path;
}

TEST(SetAcl, BothCommandLinesReportThatRegistryFilesHaveNoAccessLists) {
    const std::string key = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin";
    const ToolRun owner = runTool(setAcl(), {"-on", key, "-ot", "reg", "-actn", "setowner", "-ownr", "n:Anna Maier"});
    EXPECT_EQ(owner.exitCode, 0) << owner.output;
    EXPECT_NE(owner.output.find(key + ": the registry files of a Wine prefix carry no access lists; owner Anna Maier"),
              std::string::npos)
        << owner.output;
    const ToolRun entry = runTool(setAcl(), {"-on", key, "-ot", "reg", "-actn", "ace", "-ace", "n:Anna Maier;p:full"});
    EXPECT_EQ(entry.exitCode, 0) << entry.output;
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
        const ToolRun result = runTool(setAcl(), arguments);
        EXPECT_EQ(result.exitCode, 2) << result.output;
        EXPECT_NE(result.output.find("usage: SetACL.exe"), std::string::npos);
    }
}

}  // namespace
}  // namespace veldra::outside::test
