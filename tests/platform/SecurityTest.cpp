// Owner and access rights on POSIX: what is done, and the host's messages for what cannot be.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/PosixSecurity.h"
#include "support/TempFolder.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using Messages = std::vector<std::string>;
using testing::TempDir;

constexpr uid_t Nobody = 65534;

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

void setMode(const fs::path& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

class SecurityTest : public ::testing::Test {
protected:
    SecurityTest() {
        const passwd* entry = ::getpwuid(::geteuid());
        if (entry) account = entry->pw_name;
    }
    ~SecurityTest() override {
        // Give everything back so the temporary folder can be removed.
        std::error_code ec;
        for (fs::recursive_directory_iterator it(temp.path(), ec), end; !ec && it != end; it.increment(ec))
            if (!fs::is_symlink(it->symlink_status())) ::chmod(it->path().c_str(), 0700);
    }

    TempDir temp;
    std::string account;
    PosixSecurity security;
};

// A missing folder is error 2 and an unknown account 1332, each reported by the
// step that finds it.
TEST_F(SecurityTest, MissingFoldersAndUnknownAccountsReportWindowsErrorCodes) {
    for (const fs::path& missing : {temp.path() / "Maps", temp.path() / "GARMIN" / "Maps"}) {
        EXPECT_EQ(security.SetOwner(missing, account), Messages{"SetFileSecurity failed with error code 2"});
        EXPECT_EQ(security.SetFolderRights(missing, account), Messages{"GetNamedSecurityInfo failed with error code : 2"});
    }
    const std::string nobodyHere = "veldra-no-such-account";
    EXPECT_EQ(security.SetOwner(temp.path(), nobodyHere), Messages{"LookupAccountName failed with error code 1332"});
    EXPECT_EQ(security.SetFolderRights(temp.path(), nobodyHere), Messages{"SetEntriesInAcl failed with error code : 1332"});
}

TEST_F(SecurityTest, TheAccountsOwnFolderBecomesFullyUsable) {
    const fs::path maps = temp.path() / "Maps";
    fs::create_directories(maps / "Sub");
    { std::ofstream(maps / "Sub" / "tile.img") << "x"; }
    { std::ofstream(temp.path() / "elsewhere") << "x"; }
    fs::create_symlink(temp.path() / "elsewhere", maps / "link");
    setMode(temp.path() / "elsewhere", 0444);
    setMode(maps / "Sub" / "tile.img", 0444);
    setMode(maps / "Sub", 0555);
    setMode(maps, 0555);

    EXPECT_EQ(security.SetOwner(maps, account), Messages{});
    EXPECT_EQ(modeOf(maps), 0755u);
    EXPECT_EQ(modeOf(maps / "Sub"), 0555u);  // the owner change reaches the folder only

    EXPECT_EQ(security.SetFolderRights(maps, account), Messages{});
    EXPECT_EQ(modeOf(maps / "Sub"), 0755u);
    EXPECT_EQ(modeOf(maps / "Sub" / "tile.img"), 0644u);  // data files do not become programs
    EXPECT_EQ(modeOf(temp.path() / "elsewhere"), 0444u);  // links are not followed
}

TEST_F(SecurityTest, AFolderOfAnotherOwnerIsAccessDenied) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a folder to another owner";
    const fs::path maps = temp.path() / "Maps";
    fs::create_directories(maps / "Theirs");
    fs::create_directories(maps / "Mine");
    setMode(maps / "Mine", 0500);
    setMode(maps / "Theirs", 0500);
    ASSERT_EQ(::chown((maps / "Theirs").c_str(), Nobody, Nobody), 0);

    EXPECT_EQ(security.SetOwner(maps / "Theirs", account), Messages{"SetFileSecurity failed with error code 5"});
    EXPECT_EQ(security.SetFolderRights(maps / "Theirs", account),
              Messages{"SetNamedSecurityInfo failed with error code : 5"});
    EXPECT_EQ(modeOf(maps / "Theirs"), 0500u);

    // Inside the account's own folder, another owner's entries keep their rights.
    EXPECT_EQ(security.SetFolderRights(maps, account), Messages{});
    EXPECT_EQ(modeOf(maps / "Mine"), 0700u);
    EXPECT_EQ(modeOf(maps / "Theirs"), 0500u);
}

TEST_F(SecurityTest, AFolderThatCannotBeReachedIsAccessDenied) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reaches every folder";
    const fs::path locked = temp.path() / "locked";
    fs::create_directories(locked / "Maps");
    setMode(locked, 0);
    EXPECT_EQ(security.SetOwner(locked / "Maps", account), Messages{"SetFileSecurity failed with error code 5"});
    EXPECT_EQ(security.SetFolderRights(locked / "Maps", account), Messages{"GetNamedSecurityInfo failed with error code : 5"});
}

}  // namespace
}  // namespace veldra::platform
