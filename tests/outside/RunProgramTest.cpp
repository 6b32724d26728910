// Command lines the outside programs build for the programs they run: the
// Windows splitting gives every argument back unchanged.

#include <gtest/gtest.h>

#include "common/RunProgram.h"
#include "platform/CommandLine.h"

namespace veldra::outside::test {
namespace {

TEST(RunProgram, CommandLinesSplitBackIntoTheirArguments) {
    const std::vector<std::string> arguments = {"/usr/bin/java", "-jar", "/opt/my maps/mkgmap.jar", "",
                                                "--family-name=Topo \"Nord\"", "C:\\Karten\\", "C:\\Meine Karten\\",
                                                "a\\\\\"b", "tab\there", "plain\\path"};
    EXPECT_EQ(platform::splitCommandLine(commandLineOf(arguments)), arguments);
    EXPECT_EQ(quoteCommandArgument("plain\\path"), "plain\\path");  // nothing to protect
}

}  // namespace
}  // namespace veldra::outside::test
