// The management windows on prefixes Wine made: a mapset that brings its TDB
// and overview map registered and built into a gmap package, a mapset exported
// from one prefix and imported into a second one, and a cache emptied. Wine
// itself reads back what the registry journeys wrote.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "formats/TdbHeader.h"
#include "gui/CacheFoldersWindow.h"
#include "gui/ExportImportWindow.h"
#include "gui/GuiTestRegistry.h"
#include "gui/WindowControls.h"
#include "gui/PrefixSession.h"
#include "gui/RegisterExistingWindow.h"
#include "gui/Screenshots.h"
#include "platform/PathText.h"
#include "registration/MapsetExport.h"

namespace veldra::gui {

namespace fs = std::filesystem;

namespace {

using testing::click;
using testing::control;

// The bar shows the whole count of the run that ended: `total` files.
bool showsAllOf(QWidget& window, const char* name, int total) {
    const auto* bar = control<QProgressBar>(window, name);
    return bar->maximum() == total && bar->value() == total && bar->text() == QString("%1 / %1").arg(total);
}

// Types a path into a field and leaves it, as the user does.
void enterPath(QWidget& window, const char* name, const fs::path& path) {
    auto* field = control<QLineEdit>(window, name);
    field->setText(QString::fromStdString(path.string()));
    emit field->editingFinished();
}

QString shown(const testing::ScriptedDialogs& dialogs) {
    QStringList texts;
    for (const auto& text : dialogs.texts()) texts << QString::fromStdString(text);
    return texts.join(" | ");
}

// A mapset folder as mkgmap made it: tiles, TDB, overview map and the optional files.
fs::path mapsetFolder(const fs::path& folder, const std::string& family) {
    fs::create_directories(folder);
    for (const auto& file : fs::directory_iterator(testing::builtData(family)))
        fs::copy_file(file, folder / file.path().filename());
    return folder;
}

std::string regQuery(const fs::path& prefix, const std::string& arguments) {
    const auto query = testing::runCommand(testing::wineCommand(prefix, "wine reg query " + arguments));
    testing::stopWineServer(prefix);
    return query.status == 0 ? query.output : "failed: " + query.output;
}

}  // namespace

class ManagementWindowsWineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (first_.empty()) {
            if (testing::underCi()) QFAIL("needs Wine (wine, wineboot, winepath) to make a test prefix");
            QSKIP("needs Wine (wine, wineboot, winepath) to make a test prefix");
        }
        QVERIFY2(fs::exists(testing::AlphaTdb), "the mkgmap test data is missing");
        QVERIFY(testing::wineboot(second_, "-i"));
    }

    // FormTDBvorhanden reads name, FID and PID from the TDB, registers beta
    // under the FID typed over them, stamps the files and empties itself; then
    // builds a gmap package of alpha.
    void existingTdbBecomesRegistryKeysAndAPackage() {
        auto opened = testing::openPrefixSession(first_);
        QVERIFY(opened);
        auto& dialogs = opened->dialogs;
        const fs::path beta = mapsetFolder(temp_.path() / "existing" / "beta", "beta");
        RegisterExistingWindow window(*opened->session, nullptr);
        QSignalSpy changed(&window, &RegisterExistingWindow::mapsetsChanged);
        window.showForTiles(QString::fromStdString(beta.string()));
        QCOMPARE(window.objectName(), QString("FormTDBvorhanden"));
        QCOMPARE(window.windowTitle(), QString("register existing tdb+preview (mapset)"));
        QVERIFY(!control(window, "Commandregistriere")->isEnabled());

        enterPath(window, "TextPfadTDB", beta / "00120000.tdb");
        QCOMPARE(control<QLineEdit>(window, "TextID")->text(), QString("4712"));
        QCOMPARE(control<QLineEdit>(window, "TextPID")->text(), QString("1"));
        const QString name = control<QLineEdit>(window, "Text1")->text();
        QVERIFY(!name.isEmpty() && !name.contains(' '));
        enterPath(window, "TextPfadPreview", beta / "00120000.tdb");  // the wrong file is refused
        QCOMPARE(dialogs.texts().back(), std::string("preview-file is not valide"));
        enterPath(window, "TextPfadPreview", beta / "00120000.img");
        enterPath(window, "TextIndexFile", beta / "00120000.mdx");
        enterPath(window, "TextPfadTyp", beta / "beta.typ");
        control<QLineEdit>(window, "TextPfadLoc")->setText(QString::fromStdString(beta.string()));
        control<QLineEdit>(window, "TextID")->setText("77x");
        QVERIFY(!control(window, "Commandregistriere")->isEnabled());
        control<QLineEdit>(window, "TextID")->setText("777");
        QCOMPARE(control<QPushButton>(window, "Commandgmapsatz")->text(), "create " + name + ".gmap installation");
        testing::saveScreenshot(window, "FormTDBvorhanden", "Eng");
        dialogs.messages.clear();
        click(window, "Commandregistriere");

        const std::vector<std::string> told = {
            "VELDRA has created a backupfile  as file : " + (beta / "00120000.tdb-BAK").string(),
            "ready. Start MapSource"};
        QVERIFY2(dialogs.texts() == told, qPrintable(shown(dialogs)));
        QCOMPARE(changed.count(), 1);
        QVERIFY(control<QLineEdit>(window, "TextPfadTDB")->text().isEmpty());
        const auto header = formats::readTdbHeader(beta / "00120000.tdb");
        QVERIFY(header.header);
        QCOMPARE(int(header.header->fid), 777);
        QVERIFY(fs::exists(beta / "93.Typ"));  // 777 = 0x0309: low byte 9, high byte 3

        // Alpha as a gmap package, in German.
        QVERIFY(opened->session->settings.setLanguage("Deu"));
        opened->session->start();
        const fs::path alpha = mapsetFolder(temp_.path() / "existing" / "alpha", "alpha");
        QSignalSpy built(&window, &RegisterExistingWindow::gmapPackageBuilt);
        window.showForTiles(QString::fromStdString(alpha.string()));
        QCOMPARE(window.windowTitle(), QString("Vorhandene TDB + Preview registrieren"));
        enterPath(window, "TextPfadTDB", alpha / "11000000.tdb");
        enterPath(window, "TextPfadPreview", alpha / "11000000.img");
        control<QLineEdit>(window, "TextPfadLoc")->setText(QString::fromStdString(alpha.string()));
        control<QLineEdit>(window, "Text1")->setText("Alpha Paket");
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), QString("Alpha_Paket"));
        dialogs.messages.clear();
        click(window, "Commandgmapsatz");
        QVERIFY2(built.count() == 1, qPrintable(shown(dialogs)));
        testing::saveScreenshot(window, "FormTDBvorhanden", "Deu");  // with the count of the tiles unpacked
        const fs::path package = opened->backend.shell->specialFolder(platform::csidl::CommonAppData) / "GARMIN" /
                                 "Maps" / "Alpha_Paket.gmap";
        QVERIFY2(fs::exists(package / "Info.xml"), qPrintable(shown(dialogs)));
        QVERIFY(showsAllOf(window, "ProgressBarGmap", 3));  // alpha's tiles

        const std::string families = regQuery(first_, testing::shellQuote("HKLM\\" + opened->session->mapSourceBase() +
                                                                          "Families") + " /s");
        QVERIFY2(families.find("777\\1") != std::string::npos, families.c_str());
        QVERIFY2(families.find(opened->backend.paths->toHost(beta / "00120000.tdb")) != std::string::npos,
                 families.c_str());
    }

    // ExportImport gathers alpha's files and `log` in its tiles folder; the
    // second prefix imports that folder and registers it.
    void exportedMapsetIsImportedIntoASecondPrefix() {
        const fs::path alpha = mapsetFolder(temp_.path() / "export" / "alpha", "alpha");
        QCOMPARE(testing::veldraOnPrefix(first_, "settings --os64 yes").status, 0);
        const auto registered = testing::veldraOnPrefix(
            first_, "register --tdb " + testing::shellQuote((alpha / "11000000.tdb").string()) + " --overview " +
                        testing::shellQuote((alpha / "11000000.img").string()) + " --mdx " +
                        testing::shellQuote((alpha / "11000000.mdx").string()) + " --fid 4800");
        QVERIFY2(registered.status == 0, registered.output.c_str());

        auto source = testing::openPrefixSession(first_);
        QVERIFY(source);
        ExportImportWindow exporter(*source->session, nullptr);
        exporter.showRefreshed();
        QCOMPARE(exporter.objectName(), QString("ExportImport"));
        auto* registryList = control<QListWidget>(exporter, "ListIMG");
        QVERIFY(!control(exporter, "CommandExport")->isEnabled());
        QList<QListWidgetItem*> rows;
        for (int row = 0; row < registryList->count(); ++row)
            if (registryList->item(row)->text().contains("lpha")) rows << registryList->item(row);
        QVERIFY2(!rows.isEmpty(), "alpha is not listed");
        testing::saveScreenshot(exporter, "ExportImport", "Eng");
        registryList->setCurrentItem(rows.last());
        emit registryList->itemClicked(rows.last());
        click(exporter, "CommandExport");
        QVERIFY2(source->dialogs.texts().back().starts_with("Copy the folder "), qPrintable(shown(source->dialogs)));
        std::ifstream logFile(alpha / registration::ExportLogName, std::ios::binary);
        const std::string log((std::istreambuf_iterator<char>(logFile)), {});
        QVERIFY2(log.find("11000000.tdb\r\n") != std::string::npos, log.c_str());
        QVERIFY(showsAllOf(exporter, "ProgressBarCopy", int(std::count(log.begin(), log.end(), '\n'))));
        const auto filesToImport = std::distance(fs::directory_iterator(alpha), fs::directory_iterator());

        auto target = testing::openPrefixSession(second_, "Deu");
        QVERIFY(target);
        const fs::path destination = temp_.path() / "import";
        fs::create_directories(destination);
        target->dialogs.folders = {alpha.string(), destination.string()};
        target->dialogs.answer({app::MessageAnswer::Yes});  // the MapSource offer
        ExportImportWindow importer(*target->session, nullptr);
        QSignalSpy changed(&importer, &ExportImportWindow::mapsetsChanged);
        importer.showRefreshed();
        click(importer, "CommandImport");
        QVERIFY2(changed.count() == 1, qPrintable(shown(target->dialogs)));
        QVERIFY(control(importer, "ListURL")->isVisible() && !control(importer, "ListIMG")->isVisible());
        testing::saveScreenshot(importer, "ExportImport", "Deu");  // the offer of the host program's installer
        const fs::path copiedTdb = destination / "alpha" / "11000000.tdb";
        QVERIFY(fs::exists(copiedTdb));
        QVERIFY(showsAllOf(importer, "ProgressBarCopy", int(filesToImport)));

        const std::string families = regQuery(second_, testing::shellQuote("HKLM\\" + target->session->mapSourceBase() +
                                                                           "Families") + " /s");
        QVERIFY2(families.find(target->backend.paths->toHost(copiedTdb)) != std::string::npos, families.c_str());
    }

    // Form1 measures the BaseCamp tile cache and empties its files; the
    // subfolder stays and the line shows what remains.
    void tileCacheIsEmptiedFromTheCacheWindow() {
        auto opened = testing::openPrefixSession(first_);
        QVERIFY(opened);
        const fs::path local = opened->backend.shell->specialFolder(platform::csidl::LocalAppData);
        const fs::path cache = local / "Garmin" / "BaseCamp" / "TileCache";
        fs::create_directories(cache / "kept");
        for (const char* name : {"a.tile", "b.tile", "kept/c.tile"})
            std::ofstream(cache / name, std::ios::binary) << std::string(1048476, 'x');
        for (const char* language : {"Deu", "Eng"}) {
            QVERIFY(opened->session->settings.setLanguage(language));
            opened->session->start();
            CacheFoldersWindow window(*opened->session, nullptr);
            window.showRefreshed();
            QVERIFY2(control<QLabel>(window, "Label5")->text().endsWith("TileCache :3 MB belegt"),
                     qPrintable(control<QLabel>(window, "Label5")->text()));
            QVERIFY(!control(window, "CmdMapinstallTileCache")->isEnabled());
            // The English picture follows the emptying, with its count.
            if (std::string(language) == "Deu") testing::saveScreenshot(window, "Form1", language);
        }
        CacheFoldersWindow window(*opened->session, nullptr);
        QSignalSpy emptied(&window, &CacheFoldersWindow::cacheEmptied);
        window.showRefreshed();
        click(window, "CmdBCTilecache");
        QCOMPARE(emptied.count(), 1);
        QCOMPARE(opened->dialogs.texts().back(), std::string("1 im Tilecache"));
        QVERIFY(showsAllOf(window, "ProgressBarCache", 2));  // the files directly in the cache
        testing::saveScreenshot(window, "Form1", "Eng");
        QVERIFY(!fs::exists(cache / "a.tile") && !fs::exists(cache / "b.tile") && fs::exists(cache / "kept/c.tile"));
        QVERIFY2(control<QLabel>(window, "Label5")->text().endsWith("TileCache :1 MB belegt"),
                 qPrintable(control<QLabel>(window, "Label5")->text()));
    }

private:
    const fs::path& first_ = testing::WineTestPrefix::path();
    testing::TempDir temp_;
    fs::path second_ = temp_.path() / "second-prefix";
};

VELDRA_GUI_TEST(ManagementWindowsWineTest)

}  // namespace veldra::gui

#include "ManagementWindowsWineTest.moc"
