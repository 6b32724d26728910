// The shell probes of a Wine prefix.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/MemoryRegistry.h"
#include "platform/WineHostPaths.h"
#include "platform/WineShell.h"
#include "platform/WineShellFolders.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

class ShellTest : public ::testing::Test {
protected:
    ShellTest() : prefix(temp.path() / "prefix"), paths(prefix), shell(registry, paths, "joe") {
        fs::create_directories(prefix / "dosdevices");
        fs::create_directories(prefix / "drive_c" / "users" / "joe" / "AppData" / "Roaming");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    }
    TempDir temp;
    fs::path prefix;
    MemoryRegistry registry;
    WineHostPaths paths;
    WineShell shell;
};

TEST_F(ShellTest, SpecialFoldersAreNativePathsOfTheStoredHostPaths) {
    const fs::path c = prefix / "dosdevices" / "c:";
    EXPECT_EQ(shell.specialFolder(csidl::AppData), c / "users" / "joe" / "AppData" / "Roaming");
    EXPECT_EQ(shell.specialFolder(csidl::CommonAppData), c / "ProgramData");
    ASSERT_EQ(registry.createKey(RegistryRoot::CurrentUser, ShellFoldersKey), regerror::Success);
    ASSERT_EQ(registry.setValue(RegistryRoot::CurrentUser, ShellFoldersKey, "Local AppData",
                                RegistryValue::fromString("c:\\USERS\\JOE\\appdata\\Lokal")),
              regerror::Success);
    EXPECT_EQ(shell.specialFolder(csidl::LocalAppData), c / "users" / "joe" / "AppData" / "Lokal");
    EXPECT_EQ(shell.specialFolder(0x05), fs::path());
}

TEST_F(ShellTest, APosixHostHasNoWindowsVersionNoAdministratorAndNoShortNames) {
    EXPECT_EQ(shell.myGetUserName(), "joe");
    EXPECT_EQ(shell.windowsVersionName(), "");
    EXPECT_FALSE(shell.IsAdmin());
    EXPECT_EQ(shell.shortPath("/some/Long Folder Name/file.img"), fs::path("/some/Long Folder Name/file.img"));
}

class PathVariable {
public:
    explicit PathVariable(const std::string& value) : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        ::setenv("PATH", value.c_str(), 1);
    }
    ~PathVariable() { ::setenv("PATH", saved_.c_str(), 1); }

private:
    std::string saved_;
};

TEST_F(ShellTest, DocumentsAreHandedToXdgOpenWithoutWaiting) {
    const fs::path bin = temp.path() / "bin";
    const fs::path received = temp.path() / "received";
    fs::create_directories(bin);
    {
        std::ofstream script(bin / "xdg-open");
        script << "#!/bin/sh\nsleep 1\nprintf '%s' \"$1\" > '" << received.string() << ".part'\nmv '" << received.string()
               << ".part' '" << received.string() << "'\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);

    {
        PathVariable path("/nonexistent");
        EXPECT_FALSE(shell.openDocument("https://example.org/"));
    }
    PathVariable path(bin.string() + ":/usr/bin:/bin");
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(shell.openDocument("/maps/FAQ file.html"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900));
    for (int i = 0; i < 100 && !fs::exists(received); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(testing::readText(received), "/maps/FAQ file.html");
}

}  // namespace
}  // namespace veldra::platform
