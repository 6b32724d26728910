// Export gathers a mapset's files and lists them in `log`; import copies such
// a folder and installs it: registry keys from the log, or a package with a
// shortcut in the gmap package folder.

#include "tasks/ExportImportTasks.h"

#include "platform/ShellLinks.h"
#include "registration/CatalogTestSupport.h"
#include "support/ProgressRecord.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using app::MessageAnswer;
using registration::RecordKind;

class ExportImportTasksTest : public testing::CatalogTest {
protected:
    // alpha registered as family Alpha4711, with a traffic and an MDR file
    // elsewhere and the type and index values set but empty.
    fs::path registerAlphaWithExtras() {
        const auto files = installAlpha("alpha");
        registerFamily(RecordKind::Families, "Alpha4711", files);
        const fs::path extras = fake.temp.path() / "extras";
        fs::create_directories(extras);
        testing::writeText(extras / "alpha.trf", "traffic");
        fs::copy_file(testing::builtData("alpha/11000000_mdr.img"), extras / "11000000_mdr.img");
        const std::string family = key(RecordKind::Families) + "Alpha4711";
        auto& routines = fake.session.routines;
        EXPECT_TRUE(routines.storeString(Machine, family, "TRF", host(extras / "alpha.trf")).ok());
        EXPECT_TRUE(routines.storeString(Machine, family, "MDR", host(extras / "11000000_mdr.img")).ok());
        EXPECT_TRUE(routines.storeString(Machine, family, "TYP", " ").ok());
        EXPECT_TRUE(routines.storeString(Machine, family, "IDX", "").ok());
        return fake.temp.path() / "maps" / "alpha";
    }

    std::string exportDoneText(const fs::path& folder) const {
        return "Copy the folder " + folder.string() +
               " on a removable disk and hit 'IMPORT'-function on the destination computer,  after you have "
               "inserted the removable disk in the destination computer.";
    }

    fs::path gmapFolder(int csidl) const { return fake.shell.specialFolder(csidl) / "GARMIN" / "Maps"; }

    // A package as another computer exported it: <usb>/<name>.gmap with its Info.xml.
    fs::path exportedPackage(const std::string& folderName, const std::string& productName) {
        const fs::path package = fake.temp.path() / "usb" / folderName;
        testing::writeCp1252(package / "Info.xml", testing::packageInfoXml(productName, "4711", "11000000.tdb"));
        fs::create_directories(package / "Product1");
        fs::copy_file(testing::AlphaTdb, package / "Product1" / "11000000.tdb");
        return package;
    }
};

TEST_F(ExportImportTasksTest, LogListsTheSetValuesInOrderAndExportingAgainReplacesIt) {
    const fs::path tiles = registerAlphaWithExtras();
    const std::string expectedLog = "alpha.trf\r\n11000000_mdr.img\r\n11000000.tdb\r\n11000000.img\r\n";

    testing::ProgressRecord progress;
    const auto exported = tasks::exportMapset(fake.session, {{"4711", std::nullopt}, std::nullopt}, progress.callback());
    ASSERT_TRUE(exported.ok()) << exported.failure().detail;
    EXPECT_EQ(progress.told, testing::countsUpTo(4));  // the files the log lists
    EXPECT_EQ(*exported, tiles);
    EXPECT_EQ(testing::readText(tiles / "log"), expectedLog);
    EXPECT_EQ(testing::readText(tiles / "alpha.trf"), "traffic");
    EXPECT_EQ(testing::readBytes(tiles / "11000000_mdr.img"),
              testing::readBytes(testing::builtData("alpha/11000000_mdr.img")));
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.messages.back().text, exportDoneText(tiles));
    EXPECT_EQ(fake.dialogs.messages.back().icon, app::MessageIcon::Information);
    // The common gmap package folder is made on the way.
    EXPECT_TRUE(fs::is_directory(gmapFolder(platform::csidl::CommonAppData)));

    // A file already in the folder is not fetched again, and the old log is not appended to.
    fs::remove(fake.temp.path() / "extras" / "alpha.trf");
    ASSERT_TRUE(tasks::exportMapset(fake.session, {{"4711", std::nullopt}, std::nullopt}).ok());
    EXPECT_EQ(testing::readText(tiles / "log"), expectedLog);
}

TEST_F(ExportImportTasksTest, ExportIntoAFolderGathersACopyAndLeavesTheTilesFolderAlone) {
    const fs::path tiles = registerAlphaWithExtras();
    const fs::path out = fake.temp.path() / "out";

    const auto exported = tasks::exportMapset(fake.session, {{"4711", std::nullopt}, out});
    ASSERT_TRUE(exported.ok()) << exported.failure().detail;
    EXPECT_EQ(*exported, out / "alpha");
    EXPECT_TRUE(fs::exists(out / "alpha" / "11000000.img"));
    EXPECT_TRUE(fs::exists(out / "alpha" / "alpha.trf"));
    EXPECT_EQ(testing::readText(out / "alpha" / "log"),
              "alpha.trf\r\n11000000_mdr.img\r\n11000000.tdb\r\n11000000.img\r\n");
    EXPECT_FALSE(fs::exists(tiles / "log"));
    EXPECT_FALSE(fs::exists(tiles / "alpha.trf"));
}

TEST_F(ExportImportTasksTest, PackageExportAsksFirstAndCopiesThePackageFolder) {
    const fs::path package = installPackage("Topo", "1234");
    const fs::path out = fake.temp.path() / "out";

    fake.dialogs.answer({MessageAnswer::No});
    const auto refused = tasks::exportMapset(fake.session, {{"Topo", std::nullopt}, out});
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().kind, FailureKind::Declined);
    EXPECT_EQ(fake.dialogs.messages.back().text, "Topo exportieren?");
    EXPECT_FALSE(fs::exists(out));

    fake.dialogs.answer({MessageAnswer::Yes});
    const auto exported = tasks::exportMapset(fake.session, {{"Topo", std::nullopt}, out});
    ASSERT_TRUE(exported.ok()) << exported.failure().detail;
    EXPECT_EQ(*exported, out / "Topo.gmap");
    EXPECT_EQ(testing::readText(out / "Topo.gmap" / "Info.xml"), testing::readText(package / "Info.xml"));
    EXPECT_EQ(fake.dialogs.messages.back().text, exportDoneText(out / "Topo.gmap"));
}

TEST_F(ExportImportTasksTest, ImportFillsTheFieldsByExtensionAndRegistersTheCopy) {
    const fs::path source = fake.temp.path() / "usb" / "MYMAP";
    fs::create_directories(source);
    fs::copy_file(testing::AlphaTdb, source / "MYMAP.tdb");
    fs::copy_file(testing::builtData("alpha/11000000.img"), source / "MYMAP.img");
    fs::copy_file(testing::builtData("alpha/11000000_mdr.img"), source / "MYMAP_mdr.img");
    fs::copy_file(testing::builtData("alpha/11000001.img"), source / "11000001.img");
    testing::writeText(source / "log", "MYMAP.tdb\r\n\r\nMYMAP.img\r\nMYMAP_mdr.img\r\n");
    const fs::path destination = fake.temp.path() / "dest";

    fake.dialogs.answer({MessageAnswer::Yes});  // the MapSource offer
    testing::ProgressRecord progress;
    const auto imported = tasks::importMapset(fake.session, {source, destination, std::nullopt}, progress.callback());
    ASSERT_TRUE(imported.ok()) << imported.failure().detail;
    EXPECT_EQ(progress.told, testing::countsUpTo(5));  // the four files and the log
    const fs::path copy = destination / "MYMAP";
    EXPECT_EQ(imported->folder, copy);
    EXPECT_TRUE(imported->installMapSource);
    ASSERT_TRUE(imported->registered);
    EXPECT_EQ(imported->registered->fid, "4711");
    const std::string family = imported->registered->location;
    EXPECT_EQ(value(family + "\\1", "TDB"), host(copy / "MYMAP.tdb"));
    EXPECT_EQ(value(family + "\\1", "Bmap"), host(copy / "MYMAP.img"));
    EXPECT_EQ(value(family + "\\1", "Loc"), host(copy));
    EXPECT_EQ(value(family, "MDR"), host(copy / "MYMAP_mdr.img"));
    EXPECT_TRUE(fs::exists(copy / "11000001.img"));
    // The source is not touched: the registration stamps the copy.
    EXPECT_EQ(testing::readBytes(source / "MYMAP.tdb"), testing::readBytes(testing::AlphaTdb));

    const auto texts = fake.dialogs.texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts.front(), "Navigate to the removable disk that contains the map.");
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "The map was copied, even now the registry entries must bee written. All paths are shown in "
                        "the window. Click 'ok' is the action done."),
              texts.end());
    EXPECT_EQ(texts[texts.size() - 2], "ready. Start MapSource");
    EXPECT_EQ(texts.back(),
              "want you install 'Mapsourve version 6.16.3 on this pc? There must be an internet connection.");
}

TEST_F(ExportImportTasksTest, AFolderWithoutLogThatIsNoPackageIsRefused) {
    const fs::path source = fake.temp.path() / "usb" / "Maps";
    fs::create_directories(source);
    const fs::path destination = fake.temp.path() / "dest";

    const auto imported = tasks::importMapset(fake.session, {source, destination, std::nullopt});
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(imported.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.messages.back().text, "wrong folder");
    EXPECT_EQ(fake.dialogs.messages.back().icon, app::MessageIcon::Exclamation);
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(ExportImportTasksTest, PackageImportLinksTheCopyUnlessItLandsInTheGmapFolderItself) {
    const fs::path source = exportedPackage("Topo.gmap", "Topo Nord");
    const fs::path destination = fake.temp.path() / "dest";

    fake.dialogs.answer({MessageAnswer::Yes, MessageAnswer::No});  // all users, MapSource
    auto imported = tasks::importMapset(fake.session, {source, destination, std::nullopt});
    ASSERT_TRUE(imported.ok()) << imported.failure().detail;
    EXPECT_EQ(fake.dialogs.messages[1].text,
              "want you install this map for 'all users' ? 'yes' will install for 'all users','no' only for tester");
    const fs::path link = gmapFolder(platform::csidl::CommonAppData) / "Link_Topo Nord.lnk";
    EXPECT_EQ(imported->shortcut, link);
    EXPECT_EQ(platform::readShellLinkFile(link).path, host(destination / "Topo.gmap"));
    EXPECT_TRUE(fs::exists(destination / "Topo.gmap" / "Product1" / "11000000.tdb"));
    EXPECT_FALSE(imported->installMapSource);

    // Straight into the user's gmap package folder: no shortcut, the answer was given beforehand.
    const fs::path userMaps = gmapFolder(platform::csidl::AppData);
    fake.dialogs.messages.clear();
    fake.dialogs.answer({MessageAnswer::No});
    imported = tasks::importMapset(fake.session, {source, userMaps, false});
    ASSERT_TRUE(imported.ok()) << imported.failure().detail;
    EXPECT_FALSE(imported->shortcut);
    EXPECT_TRUE(fs::exists(userMaps / "Topo.gmap" / "Info.xml"));
    EXPECT_EQ(std::distance(fs::directory_iterator(userMaps), fs::directory_iterator()), 1);
    EXPECT_EQ(fake.dialogs.messages.size(), 2u);  // import start, MapSource offer
}

TEST_F(ExportImportTasksTest, PackageWithoutOrWithDamagedInfoXmlIsNotCopied) {
    const fs::path destination = fake.temp.path() / "dest";
    const fs::path missing = fake.temp.path() / "usb" / "Empty.gmap";
    fs::create_directories(missing);
    auto imported = tasks::importMapset(fake.session, {missing, destination, true});
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(fake.dialogs.messages.back().text, "Missing file " + (missing / "Info.xml").string());

    const fs::path damaged = exportedPackage("Bad.gmap", "Bad");
    testing::writeText(damaged / "Info.xml", "<MapProduct><SubProduct><Name>Bad</MapProduct>");
    imported = tasks::importMapset(fake.session, {damaged, destination, true});
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(imported.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.messages.back().text, "File " + (damaged / "Info.xml").string() + " is damaged");
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(ExportImportTasksTest, AFailedFolderCopyIsShownAndStopsTheImportBeforeTheLog) {
    const fs::path source = fake.temp.path() / "usb" / "MYMAP";
    fs::create_directories(source);
    testing::writeText(source / "log", "MYMAP.tdb\r\n");

    const auto imported = tasks::importMapset(fake.session, {source, source / "inside", std::nullopt});
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(imported.failure().kind, FailureKind::AlreadyShown);
    const auto& shown = fake.dialogs.messages.back();
    EXPECT_TRUE(shown.text.starts_with("Following error occurd while copying folder " + source.string() + "\r\n"))
        << shown.text;
    EXPECT_EQ(shown.title, "Error message");
    EXPECT_EQ(shown.icon, app::MessageIcon::Exclamation);
}

TEST_F(ExportImportTasksTest, NoFolderChosenEndsTheImport) {
    const auto imported = tasks::importMapset(fake.session, {});
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(imported.failure().kind, FailureKind::Declined);
}

}  // namespace
}  // namespace veldra
