// A FID change is refused before it writes anything, or it changes every file
// and value of the mapset, or, when a step fails, it puts every one of them
// back and says so.

#include "tasks/FidChangeTask.h"

#include "registration/ChangeJournal.h"
#include "registration/FidChangeTestSupport.h"
#include "registration/NewFid.h"
#include "tasks/CatalogTasks.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FidChangeTaskTest : public testing::FidChangeTest {
protected:
    Status change(const std::string& mapset, const std::string& newFid) {
        return tasks::changeFid(fake.session, {{mapset, std::nullopt}, newFid});
    }
    // The registry values a change may touch, and every file of the host.
    struct Snapshot {
        Bytes id;
        std::string typ;
        std::map<std::string, Bytes> files;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const {
        auto files = testing::filesBelow(fake.temp.path());
        // Once made, the journal's lock file stays, as lock files do.
        const fs::path lock = registration::journalLockPath(registration::changeJournalPath(fake.session));
        files.erase(fs::relative(lock, fake.temp.path()).string());
        return {registryBytes(alphaKey(), "ID"), value(alphaKey(), "TYP"), std::move(files)};
    }
    std::vector<std::string> listedFids() {
        const auto catalog = tasks::listMapsets(fake.session);
        std::vector<std::string> fids;
        for (const auto& record : catalog->registry) fids.push_back(record.fid);
        for (const auto& package : catalog->packages.records) fids.push_back(package.fid);
        return fids;
    }
    // Cuts the index file short after its first record's FID: the last step of a registry change fails.
    static void cutIndexFile(const fs::path& mdx) { fs::resize_file(mdx, 22); }
};

TEST_F(FidChangeTaskTest, AFidInUseOrOutOfRangeIsRefusedBeforeAnythingIsWritten) {
    registerAlpha();
    installIndexedPackage("Topo", "12");
    const auto before = snapshot();

    for (const auto& [fid, refusal] :
         {std::pair<std::string, Failure>{"12", alreadyShown()}, {"4711", alreadyShown()},
          {"0", fail(Msg::MsgFidNotPositive)}, {"60001", fail(registration::FidTooBig)},
          {"x", fail(registration::FidNotANumber)}}) {
        const auto changed = change("4711", fid);
        ASSERT_FALSE(changed.ok()) << fid;
        EXPECT_EQ(changed.failure(), refusal) << fid;
    }
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    for (const auto& box : fake.dialogs.messages) {
        EXPECT_EQ(box.text, "FID already in use");
        EXPECT_EQ(box.icon, app::MessageIcon::Information);
        EXPECT_EQ(box.title, app::DefaultTitle);
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(FidChangeTaskTest, RegistryMapsetAndPackageTakeTheNewFidAndTheCatalogListsIt) {
    const auto files = registerAlpha();
    const fs::path package = installIndexedPackage("Topo", "12");

    ASSERT_TRUE(change("4711", "4800").ok());
    // 4800 = 0x12C0: the bytes 192 and 18.
    EXPECT_EQ(registryBytes(alphaKey(), "ID"), (Bytes{0xC0, 0x12}));
    EXPECT_EQ(value(alphaKey(), "TYP"), files.loc + "19218.Typ");
    ASSERT_TRUE(change("Topo", "13").ok());
    EXPECT_NE(testing::readText(package / "Info.xml").find("<ID>13</ID>"), std::string::npos);
    EXPECT_EQ(listedFids(), (std::vector<std::string>{"4800", "13"}));
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(FidChangeTaskTest, AFailedLastStepOfARegistryMapsetPutsBackEveryFileAndValue) {
    const auto files = registerAlpha();
    cutIndexFile(native(files.loc) / "11000000.mdx");
    const auto before = snapshot();

    const auto changed = change("4711", "4800");
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().message, Msg::MsgFidChangeUndone);
    EXPECT_NE(changed.failure().detail.find("11000000.mdx"), std::string::npos) << changed.failure().detail;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(listedFids(), std::vector<std::string>{"4711"});
}

TEST_F(FidChangeTaskTest, AFailedRegistryCommitPutsBackEveryFile) {
    registerAlpha();
    const auto before = snapshot();
    fake.registry.failNextCommit();

    const auto changed = change("4711", "4800");
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().message, Msg::MsgFidChangeUndone);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(FidChangeTaskTest, AFailedTypeFileOfAPackagePutsBackItsTdbIndexAndInfoXml) {
    const fs::path package = installIndexedPackage("Topo", "12");
    // Too short to carry a FID: the type file fails after TDB, index and Info.xml were written.
    fs::resize_file(package / "typ" / "alpha.typ", 40);
    const auto before = snapshot();

    const auto changed = change("Topo", "4800");
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().message, Msg::MsgFidChangeUndone);
    EXPECT_NE(changed.failure().detail.find("alpha.typ"), std::string::npos) << changed.failure().detail;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(listedFids(), std::vector<std::string>{"12"});
}

// A run killed halfway leaves the journal: the next task undoes the change
// while the registry lacks its new ID, and only drops the journal once the
// registry holds it; a damaged journal, or one that names a file by a
// relative path, stops the task and changes nothing.
TEST_F(FidChangeTaskTest, AChangeCutShortIsUndoneOrFinishedByTheNextTask) {
    const auto files = registerAlpha();
    const fs::path tdb = native(files.tdb);
    const fs::path typCopy = native(files.loc) / "19218.Typ";
    const fs::path journal = registration::changeJournalPath(fake.session);
    const Bytes oldTdb = testing::readBytes(tdb);
    const auto leaveJournal = [&] {
        registration::JournalContents contents{
            registration::CommitMark{Machine, alphaKey(), "ID", platform::RegistryValue::fromBytes({0xC0, 0x12})},
            {{tdb, oldTdb}, {typCopy, std::nullopt}}};
        fs::create_directories(journal.parent_path());
        testing::writeBytes(journal, registration::journalBytes(contents));
    };
    const auto before = snapshot();

    leaveJournal();
    testing::writeBytes(tdb, Bytes(512, 'x'));
    testing::writeBytes(typCopy, Bytes(64, 't'));
    EXPECT_EQ(listedFids(), std::vector<std::string>{"4711"});
    EXPECT_EQ(snapshot(), before);

    ASSERT_TRUE(change("4711", "4800").ok());
    const auto after = snapshot();
    leaveJournal();
    EXPECT_EQ(listedFids(), std::vector<std::string>{"4800"});
    EXPECT_EQ(snapshot(), after);
    EXPECT_EQ(fake.dialogs.texts(), (std::vector<std::string>{fake.session.msg(Msg::MsgInterruptedChangeUndone),
                                                             fake.session.msg(Msg::MsgInterruptedChangeComplete)}));

    // A whole journal that names a relative path would put a file back wherever the run happens to be.
    const Bytes relative = registration::journalBytes({std::nullopt, {{"11000000.tdb", oldTdb}}});
    for (const Bytes& damaged : {Bytes(40, 'j'), relative}) {
        testing::writeBytes(journal, damaged);
        const auto listed = tasks::listMapsets(fake.session);
        ASSERT_FALSE(listed.ok());
        EXPECT_EQ(listed.failure().message, Msg::MsgChangeJournalDamaged);
        EXPECT_NE(listed.failure().detail.find("change.journal"), std::string::npos) << listed.failure().detail;
        EXPECT_EQ(testing::readBytes(journal), damaged);
    }
}

}  // namespace
}  // namespace veldra
