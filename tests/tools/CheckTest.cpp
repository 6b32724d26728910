// `check` on a prefix laid out by our own backend that holds one broken
// mapset of each kind: each is listed exactly once, `fix` repairs the ones
// with a safe repair, and a second check lists only the rest.
//
// VELDRA_CHECK_PREFIX=DIR (a folder that does not exist yet) keeps a copy of
// the broken prefix there, so that `veldra --prefix DIR check` can be shown.

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>

#include "app/RegistryEdit.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbRename.h"
#include "formats/TypStamp.h"
#include "gmap/GmapTestFiles.h"
#include "platform/HostBackend.h"
#include "platform/Prefix.h"
#include "registration/HostRegistryLayout.h"
#include "support/MapFiles.h"
#include "support/ScriptedDialogs.h"
#include "tasks/CheckTask.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::RecordKind;
using tools::CheckFinding;
using tools::CheckKind;

constexpr auto Machine = platform::RegistryRoot::LocalMachine;

// alpha's TDB renamed and given another FID, its checksum kept right.
std::vector<std::uint8_t> alphaTdb(const std::string& name, std::uint16_t fid) {
    auto bytes = formats::renameTdbImage(testing::readBytes(testing::AlphaTdb), name)->image;
    bytes[5] = static_cast<std::uint8_t>(fid & 0xFF);
    bytes[6] = static_cast<std::uint8_t>(fid >> 8);
    for (const auto& patch : formats::checksumUpdate(bytes).patches) bytes[patch.offset] = patch.value;
    return bytes;
}

// A prefix with a session on it, 64-bit host, English.
class BrokenPrefix {
public:
    explicit BrokenPrefix(const fs::path& dir) : dir_(dir) {
        if (auto laid = platform::createPrefixLayout(dir, "tester"); !laid) throw std::runtime_error(laid.error);
        auto backend = platform::openHostBackend(dir.string());
        if (!backend) throw std::runtime_error(backend.failure().detail);
        backend_ = std::make_unique<platform::HostBackend>(std::move(backend).value());
        session_ = std::make_unique<app::Session>(
            app::Host{*backend_->registry, *backend_->paths, *backend_->shell, *backend_->security,
                      *backend_->processes, backend_->programFolder},
            dialogs);
        if (!session_->settings.setWow64(true) || !session_->settings.setLanguage("Eng") || !session_->start())
            throw std::runtime_error("the settings were refused");
        auto edit = app::RegistryEdit::open(*backend_->registry);
        if (!edit) throw std::runtime_error(edit.failure().detail);
        breakEverything();
        if (!edit->commit()) throw std::runtime_error("the registry was not stored");
    }

    app::Session& session() { return *session_; }
    std::string host(const fs::path& native) const { return backend_->paths->toHost(native); }
    fs::path maps(const std::string& name) const { return dir_ / "drive_c" / "maps" / name; }
    fs::path garminMaps() const {
        return backend_->shell->specialFolder(platform::csidl::CommonAppData) / "GARMIN" / "Maps";
    }
    std::string family(const std::string& name) const {
        return registration::branchKey(*session_, RecordKind::Families) + name;
    }
    // The same family key under the root the 64-bit setting does not choose.
    std::string wrongFamily(const std::string& name) const {
        return "SOFTWARE\\Garmin\\MapSource\\Families\\" + name;
    }

    testing::ScriptedDialogs dialogs;

private:
    struct Files {
        std::string tdb, overview, loc;
    };

    // TDB (FID `fid`, PID 1) and overview map in maps/<name>/.
    Files install(const std::string& name, std::uint16_t fid) {
        const fs::path dir = maps(name);
        fs::create_directories(dir);
        testing::writeBytes(dir / "11000000.tdb", alphaTdb(name, fid));
        fs::copy_file(testing::builtData("alpha/11000000.img"), dir / "11000000.img");
        return {host(dir / "11000000.tdb"), host(dir / "11000000.img"), host(dir) + "\\"};
    }

    void store(const std::string& key, const std::string& name, const std::string& text) {
        if (!session_->routines.storeString(Machine, key, name, text)) throw std::runtime_error("cannot store " + key);
    }

    void registerFamily(const std::string& familyKey, const Files& files, std::uint16_t fid) {
        if (!session_->routines.storeTextAsBinary(Machine, familyKey, "ID", registration::familyIdText(fid)))
            throw std::runtime_error("cannot store " + familyKey);
        store(familyKey + "\\1", "TDB", files.tdb);
        store(familyKey + "\\1", "BMAP", files.overview);
        store(familyKey + "\\1", "LOC", files.loc);
    }

    void registerFamily(const std::string& name, std::uint16_t fid, Files files) {
        registerFamily(family(name), files, fid);
    }

    // A package <name>.gmap whose TDB carries `fid`.
    fs::path installPackage(const std::string& name, std::uint16_t fid, std::string xml = {}) {
        const fs::path package = garminMaps() / (name + ".gmap");
        if (xml.empty()) xml = testing::packageInfoXml(name, std::to_string(fid), "11000000.tdb");
        testing::writeCp1252(package / "Info.xml", xml);
        fs::create_directories(package / "Product1" / "mapset");
        testing::writeBytes(package / "Product1" / "11000000.tdb", alphaTdb(name, fid));
        return package;
    }

    void breakEverything() {
        registerFamily("Good", 100, install("Good", 100));

        auto files = install("TdbGone", 101);
        fs::remove(maps("TdbGone") / "11000000.tdb");
        registerFamily("TdbGone", 101, files);

        files = install("OverviewGone", 102);
        fs::remove(maps("OverviewGone") / "11000000.img");
        registerFamily("OverviewGone", 102, files);

        files = install("TilesGone", 103);
        files.loc = host(maps("nowhere")) + "\\";
        registerFamily("TilesGone", 103, files);

        registerFamily("IndexGone", 104, install("IndexGone", 104));
        store(family("IndexGone"), "IDX", host(maps("IndexGone") / "gone.mdx"));

        registerFamily("TypGone", 105, install("TypGone", 105));
        store(family("TypGone"), "TYP", host(maps("TypGone") / "gone.typ"));

        files = install("Unreadable", 106);
        testing::writeBytes(maps("Unreadable") / "11000000.tdb", std::vector<std::uint8_t>(100, 'x'));
        registerFamily("Unreadable", 106, files);

        files = install("Trailer", 107);
        auto tdb = testing::readBytes(maps("Trailer") / "11000000.tdb");
        tdb[*formats::findTrailerBlock(tdb) + 5] ^= 0xFF;
        testing::writeBytes(maps("Trailer") / "11000000.tdb", tdb);
        registerFamily("Trailer", 107, files);

        registerFamily("IdsDiffer", 208, install("IdsDiffer", 108));

        registerFamily("Stamp", 109, install("Stamp", 109));
        fs::copy_file(testing::builtData("alpha/alpha.typ"), maps("Stamp") / "10900.TYP");
        store(family("Stamp"), "TYP", host(maps("Stamp") / "10900.TYP"));

        registerFamily("Twice", 110, install("Twice", 110));
        installPackage("TwiceToo", 110);

        registerFamily(wrongFamily("Wrong"), install("Wrong", 111), 111);

        files = install("Misplaced", 112);
        store(family("Misplaced"), "TDB", files.tdb);
        store(family("Misplaced"), "Bmap", files.overview);
        store(family("Misplaced"), "Loc", files.loc);

        installPackage("Damaged", 113, "<MapProduct><Name>Damaged</Name></MapProduct>\r\n");

        std::string outside = testing::packageInfoXml("Outside", "114", "11000000.tdb");
        outside.replace(outside.find("<Directory>Product1"), 19, "<Directory>../../../Product1");
        installPackage("Outside", 114, outside);

        std::string unnamed = testing::packageInfoXml("NoBaseMap", "115", "11000000.tdb");
        unnamed.erase(unnamed.find("<BaseMap>"), std::string("<BaseMap>mapset</BaseMap>\r\n").size());
        installPackage("NoBaseMap", 115, unnamed);
        fs::remove(installPackage("BaseMapGone", 116) / "Product1" / "mapset");

        testing::writeShellLink(garminMaps() / "Link_Gone.lnk", "C:\\maps\\Gone.gmap");
    }

    fs::path dir_;
    std::unique_ptr<platform::HostBackend> backend_;
    std::unique_ptr<app::Session> session_;
};

std::multimap<CheckKind, std::string> listed(const std::vector<CheckFinding>& findings) {
    std::multimap<CheckKind, std::string> out;
    for (const auto& finding : findings) out.emplace(finding.kind, finding.mapset);
    return out;
}

const std::multimap<CheckKind, std::string> NotRepairable = {
    {CheckKind::TdbMissing, "TdbGone"},
    {CheckKind::OverviewMissing, "OverviewGone"},
    {CheckKind::TilesFolderMissing, "TilesGone"},
    {CheckKind::IndexMissing, "IndexGone"},
    {CheckKind::TypeFileMissing, "TypGone"},
    {CheckKind::TdbUnreadable, std::string(40, 'x')},
    {CheckKind::IdsDiffer, "IdsDiffer"},
    {CheckKind::DuplicateFid, "Twice"},
    {CheckKind::InfoXmlDamaged, ""},
    {CheckKind::PackagePathOutside, "Outside"},
    {CheckKind::BaseMapUnnamed, "NoBaseMap"},
    {CheckKind::OverviewMissing, "BaseMapGone"},
};
const std::multimap<CheckKind, std::string> Repairable = {
    {CheckKind::TdbChecksumWrong, "Trailer"},
    {CheckKind::TypeFileFidWrong, "Stamp"},
    {CheckKind::WrongBranch, "Wrong"},
    {CheckKind::MisplacedLayout, "Misplaced"},
    {CheckKind::DeadLink, "Link_Gone.lnk"},
};

class CheckTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(testing::AlphaTdb)) << "the mkgmap test data is missing"; }

    testing::TempDir temp;
};

TEST_F(CheckTest, ListsEachBrokenMapsetOnceAndRepairsWhatHasASafeRepair) {
    if (const char* keep = std::getenv("VELDRA_CHECK_PREFIX"); keep && *keep) BrokenPrefix{keep};
    BrokenPrefix prefix(temp.path() / "prefix");
    auto& session = prefix.session();

    const auto checked = tasks::checkInstalledMapsets(session, {});
    ASSERT_TRUE(checked.ok());
    auto expected = NotRepairable;
    expected.insert(Repairable.begin(), Repairable.end());
    EXPECT_EQ(listed(checked->findings), expected);
    for (const auto& finding : checked->findings)
        EXPECT_EQ(finding.repairable, Repairable.contains(finding.kind)) << tools::checkKindName(finding.kind);
    EXPECT_TRUE(checked->repaired.empty());
    // Nothing was asked or shown, nothing repaired on the way.
    EXPECT_TRUE(prefix.dialogs.messages.empty());
    EXPECT_FALSE(session.host.registry.keyExists(Machine, prefix.family("Misplaced") + "\\1"));

    const fs::path tdb = prefix.maps("Trailer") / "11000000.tdb";
    const auto brokenTdb = testing::readBytes(tdb);
    const auto fixed = tasks::checkInstalledMapsets(session, {true});
    ASSERT_TRUE(fixed.ok()) << fixed.failure().detail;
    EXPECT_EQ(listed(fixed->repaired), Repairable);
    EXPECT_EQ(listed(fixed->findings), NotRepairable);

    // The TDB was kept before its checksum bytes, and only they, changed.
    EXPECT_EQ(testing::readBytes(tdb.string() + "-BAK"), brokenTdb);
    EXPECT_EQ(testing::differingOffsets(brokenTdb, testing::readBytes(tdb)).size(), 1u);
    EXPECT_TRUE(formats::checksumMatches(testing::readBytes(tdb)) == true);
    EXPECT_EQ(formats::readTypIds(prefix.maps("Stamp") / "10900.TYP").ids->fid, 109);
    EXPECT_FALSE(fs::exists(prefix.garminMaps() / "Link_Gone.lnk"));
    EXPECT_FALSE(session.host.registry.keyExists(Machine, prefix.wrongFamily("Wrong")));
    EXPECT_EQ(session.host.registry.queryValue(Machine, prefix.family("Wrong") + "\\1", "TDB")->text(),
              prefix.host(prefix.maps("Wrong") / "11000000.tdb"));
    EXPECT_TRUE(session.host.registry.keyExists(Machine, prefix.family("Misplaced") + "\\1"));

    // A second repair finds nothing more to do.
    const auto again = tasks::checkInstalledMapsets(session, {true});
    ASSERT_TRUE(again.ok());
    EXPECT_TRUE(again->repaired.empty());
    EXPECT_EQ(listed(again->findings), NotRepairable);
}

// The type file is stamped first; the TDB after it cannot be kept (its
// backup name is taken by a folder): the stamp goes back, no key moves.
TEST_F(CheckTest, ARepairThatFailsLeavesEveryFileAndKeyAsItWas) {
    BrokenPrefix prefix(temp.path() / "prefix");
    auto& registry = prefix.session().host.registry;
    const fs::path tdb = prefix.maps("Trailer") / "11000000.tdb";
    const fs::path typ = prefix.maps("Stamp") / "10900.TYP";
    fs::create_directories(tdb.string() + "-BAK/taken");
    const auto tdbBefore = testing::readBytes(tdb);
    const auto typBefore = testing::readBytes(typ);

    const auto fixed = tasks::checkInstalledMapsets(prefix.session(), {true});
    ASSERT_FALSE(fixed.ok());
    EXPECT_EQ(testing::readBytes(tdb), tdbBefore);
    EXPECT_EQ(testing::readBytes(typ), typBefore);
    EXPECT_TRUE(fs::exists(prefix.garminMaps() / "Link_Gone.lnk"));
    EXPECT_TRUE(registry.keyExists(Machine, prefix.wrongFamily("Wrong")));
    EXPECT_FALSE(registry.keyExists(Machine, prefix.family("Wrong")));
    EXPECT_FALSE(registry.keyExists(Machine, prefix.family("Misplaced") + "\\1"));

    const auto checked = tasks::checkInstalledMapsets(prefix.session(), {});
    ASSERT_TRUE(checked.ok());
    auto expected = NotRepairable;
    expected.insert(Repairable.begin(), Repairable.end());
    EXPECT_EQ(listed(checked->findings), expected);
}

}  // namespace
}  // namespace veldra
