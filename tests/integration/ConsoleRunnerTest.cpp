#include "integration/ConsoleRunner.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/MessageCatalog.h"
#include "platform/PosixProcesses.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

class ConsoleRunnerTest : public ::testing::Test {
protected:
    ConsoleRunnerTest() { catalog.fill("Eng"); }

    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    platform::PosixProcesses processes;
    app::TextConsoleWindow console;
    integration::ConsoleRunner runner{dialogs, catalog, processes, console};
};

TEST_F(ConsoleRunnerTest, StandardOutputChunksAreJoinedInArrivalOrderAndSilenceShowsDots) {
    EXPECT_EQ(runner.ExecCmd("sh -c \"printf one; sleep 0.2; echo hidden 1>&2; printf ' two'; sleep 0.2; printf ' 3'\""),
              "one two 3");
    EXPECT_TRUE(dialogs.messages.empty());
    // One dot about every 20 ms of the 0.4 s; scheduling may stretch the gaps, never shrink them.
    const auto dots = std::count(console.text().begin(), console.text().end(), '.');
    EXPECT_GE(dots, 5);
    EXPECT_LE(dots, 21);
}

TEST_F(ConsoleRunnerTest, MissingProgramReportsTheStartFailureAndASplitShowsItsProgressText) {
    EXPECT_EQ(runner.ExecCmd("/nonexistent/gmt.exe -S"), "");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Error while starting process!");
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA");
    // A gmapsupp split shows its progress text.
    runner.setLastCommandLine("\"C:\\VELDRA\\gmt.exe -G\" -o x");
    runner.ExecCmd("true");
    EXPECT_EQ(console.text().rfind("search for included FID's in gmapsupp.img, it may take a few minutes..", 0), 0u);
}

TEST_F(ConsoleRunnerTest, WaitForApplicationShowsTheOutputWithoutTheBanner) {
    runner.WaitForApplication(std::string("sh -c \"echo '") + integration::GmtBanner + "'; echo wrote Alps.tdb\"");
    EXPECT_EQ(console.text(), "wrote Alps.tdb\n");
    EXPECT_TRUE(console.visible());
    ASSERT_FALSE(dialogs.statusTexts.empty());
    EXPECT_EQ(dialogs.statusTexts.front(), "integration is started. wait...");
}

}  // namespace
}  // namespace veldra
