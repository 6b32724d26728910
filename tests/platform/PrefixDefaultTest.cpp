// Choosing the prefix and making VELDRA's private one on first use.
#include <gtest/gtest.h>

#include "platform/CurrentUser.h"
#include "platform/MemoryRegistry.h"
#include "platform/Prefix.h"
#include "platform/WineHostPaths.h"
#include "platform/Shell.h"
#include "platform/WinePrefixRegistry.h"
#include "platform/WineShellFolders.h"
#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::readText;
using testing::TempDir;

std::unique_ptr<Registry> openWineRegistry(const fs::path& dir) { return std::make_unique<WinePrefixRegistry>(dir); }

TEST(PrefixChoiceTest, OptionThenWineprefixThenThePrivateDefault) {
    const PrefixEnvironment all{"/wine/prefix", "/data", "/home/joe"};
    const auto chosen = [](const std::string& option, const PrefixEnvironment& environment) {
        const auto choice = choosePrefix(option, environment);
        return std::make_pair(choice.dir, choice.privateDefault);
    };
    EXPECT_EQ(chosen("maps/prefix", all), std::make_pair(fs::current_path() / "maps" / "prefix", false));
    EXPECT_EQ(chosen("", all), std::make_pair(fs::path("/wine/prefix"), false));
    EXPECT_EQ(chosen("", {"", "/data", "/home/joe"}), std::make_pair(fs::path("/data/veldra/prefix"), true));

    // No data folder, or a relative one (invalid): the home folder's default.
    for (const char* dataHome : {"", "relative/data"})
        EXPECT_EQ(choosePrefix("", {"", dataHome, "/home/joe"}).dir, fs::path("/home/joe/.local/share/veldra/prefix"));
}

class DefaultPrefixTest : public ::testing::Test {
protected:
    TempDir temp;
    fs::path dir = temp.path() / "veldra" / "prefix";
    PrefixChoice privateChoice{dir, true};
};

// The shell folder values stored are checked by Wine itself (WinebootAdoptsTheNewPrefix).
TEST_F(DefaultPrefixTest, FirstUseMakesWinesLayoutBeforeOpeningItsRegistry) {
    bool filesExistedWhenOpened = false;
    ASSERT_TRUE(ensureDefaultPrefix(privateChoice, "joe", [&](const fs::path& opened) {
        filesExistedWhenOpened = opened == dir && prefixExists(opened) && fs::exists(opened / "user.reg");
        return openWineRegistry(opened);
    }));
    EXPECT_TRUE(filesExistedWhenOpened);
    EXPECT_TRUE(readText(dir / "system.reg")
                    .starts_with("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n"));
    EXPECT_TRUE(readText(dir / "user.reg")
                    .starts_with("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\"
                                 "S-1-5-21-0-0-0-1000\n\n#arch=win64\n"));
    EXPECT_EQ(fs::read_symlink(dir / "dosdevices" / "c:"), fs::path("../drive_c"));
    EXPECT_EQ(fs::read_symlink(dir / "dosdevices" / "z:"), fs::path("/"));
    // Its default folders are where the host paths lead.
    WineHostPaths paths(dir);
    for (int number : {csidl::AppData, csidl::LocalAppData, csidl::CommonAppData})
        EXPECT_TRUE(fs::is_directory(paths.toNative(defaultShellFolderHostPath(number, "joe")))) << number;
    EXPECT_FALSE(createPrefixLayout(temp.path() / "nameless", ""));
}

TEST_F(DefaultPrefixTest, ExistingPrefixesAndChosenOnesAreLeftAlone) {
    bool opened = false;
    const auto opener = [&](const fs::path&) {
        opened = true;
        return std::unique_ptr<Registry>(std::make_unique<MemoryRegistry>());
    };
    // A prefix named by the user is never made, even when missing.
    ASSERT_TRUE(ensureDefaultPrefix({dir, false}, "joe", opener));
    EXPECT_FALSE(fs::exists(dir));

    fs::create_directories(dir);
    { std::ofstream(dir / "system.reg") << "WINE REGISTRY Version 2\n;; theirs\n"; }
    ASSERT_TRUE(ensureDefaultPrefix(privateChoice, "joe", opener));
    EXPECT_FALSE(createPrefixLayout(dir, "joe"));
    EXPECT_FALSE(opened);
    EXPECT_EQ(readText(dir / "system.reg"), "WINE REGISTRY Version 2\n;; theirs\n");
    EXPECT_FALSE(fs::exists(dir / "dosdevices"));
    EXPECT_FALSE(fs::exists(dir / "user.reg"));
}

TEST_F(DefaultPrefixTest, AnInterruptedFirstUseIsCompletedAndFailuresAreReported) {
    fs::create_directories(dir / "dosdevices");
    fs::create_directory_symlink("../drive_c", dir / "dosdevices" / "c:");
    ASSERT_TRUE(ensureDefaultPrefix(privateChoice, "joe", openWineRegistry));
    EXPECT_TRUE(fs::is_symlink(dir / "dosdevices" / "z:"));
    EXPECT_TRUE(fs::is_directory(dir / "drive_c" / "users" / "joe" / "AppData" / "Local"));

    const PrefixChoice second{temp.path() / "second", true};
    const auto noRegistry = ensureDefaultPrefix(second, "joe", [](const fs::path&) { return std::unique_ptr<Registry>(); });
    EXPECT_FALSE(noRegistry);
    EXPECT_NE(noRegistry.error.find(second.dir.string()), std::string::npos);

    const PrefixChoice third{temp.path() / "third", true};
    const auto refused = ensureDefaultPrefix(third, "joe", [](const fs::path&) {
        auto registry = std::make_unique<MemoryRegistry>();
        registry->denyWriteAccess(RegistryRoot::LocalMachine, "Software");
        return std::unique_ptr<Registry>(std::move(registry));
    });
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("error 5"), std::string::npos) << refused.error;
}

// wineboot takes the new prefix for its own: it loads both files as written
// (a value stored through them survives) and names the same folders.
TEST_F(DefaultPrefixTest, WinebootAdoptsTheNewPrefix) {
    VELDRA_REQUIRE_WINE();
    const std::string user = currentUserName();
    ASSERT_TRUE(ensureDefaultPrefix(privateChoice, user, openWineRegistry));
    {
        WinePrefixRegistry registry(dir);
        for (auto root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            ASSERT_EQ(registry.createKey(root, "Software\\VeldraTest"), regerror::Success);
            ASSERT_EQ(registry.setValue(root, "Software\\VeldraTest", "Kept", RegistryValue::fromString("ja")),
                      regerror::Success);
        }
    }
    ASSERT_TRUE(testing::wineboot(dir, "-u"));
    const auto query = [&](const std::string& key, const std::string& value) {
        const std::string command = "wine reg query " + testing::shellQuote(key) + " /v " + testing::shellQuote(value);
        for (const auto& line : testing::outputLines(testing::runCommand(testing::wineCommand(dir, command)).output)) {
            if (const auto at = line.find("REG_SZ    "); at != std::string::npos) return line.substr(at + 10);
        }
        return std::string("(missing)");
    };
    EXPECT_EQ(query("HKCU\\Software\\VeldraTest", "Kept"), "ja");
    EXPECT_EQ(query("HKLM\\Software\\VeldraTest", "Kept"), "ja");
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    EXPECT_EQ(query("HKCU\\" + shellFolders, "AppData"), defaultShellFolderHostPath(csidl::AppData, user));
    EXPECT_EQ(query("HKCU\\" + shellFolders, "Local AppData"), defaultShellFolderHostPath(csidl::LocalAppData, user));
    EXPECT_EQ(query("HKLM\\" + shellFolders, "Common AppData"), defaultShellFolderHostPath(csidl::CommonAppData, user));
    testing::stopWineServer(dir);
    EXPECT_EQ(fs::read_symlink(dir / "dosdevices" / "c:"), fs::path("../drive_c"));
    EXPECT_TRUE(fs::exists(dir / "drive_c" / "windows" / "system32"));
}

}  // namespace
}  // namespace veldra::platform
