// The main job from the main window on a prefix Wine made: a tile folder,
// three tiles, the proposed FID, the integration with the installation
// question answered, and a registry entry that Wine itself reads back.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "app/Session.h"
#include "gui/ConsoleWindow.h"
#include "gui/GuiTestRegistry.h"
#include "gui/WindowControls.h"
#include "gui/MainWindow.h"
#include "integration/IntegrationJob.h"
#include "platform/HostBackend.h"
#include "support/MapFiles.h"
#include "support/PrefixTestSupport.h"
#include "support/ScriptedDialogs.h"

namespace veldra::gui {

namespace fs = std::filesystem;

namespace {

using testing::click;

QString shown(const testing::ScriptedDialogs& dialogs) {
    QStringList texts;
    for (const auto& text : dialogs.texts()) texts << QString::fromStdString(text);
    return texts.join(" | ");
}

}  // namespace

class MainWindowWineTest : public QObject {
    Q_OBJECT
private slots:
    void tilesBecomeARegisteredMapsetThatWineReads() {
        const fs::path& prefix = testing::WineTestPrefix::path();
        if (prefix.empty()) {
            if (testing::underCi()) QFAIL("needs Wine (wine, wineboot, winepath) to make a test prefix");
            QSKIP("needs Wine (wine, wineboot, winepath) to make a test prefix");
        }
        QVERIFY2(fs::exists(testing::AlphaTdb), "the mkgmap test data is missing");
        testing::TempDir temp;
        const fs::path tiles = temp.path() / "maps" / "alps";
        fs::create_directories(tiles);
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            fs::copy_file(testing::builtData("alpha") / tile, tiles / tile);

        // VELDRA writes the registry files only while no wineserver runs.
        testing::runCommand(testing::wineCommand(prefix, "wineserver -w"));
        auto backend = platform::openHostBackend(prefix.string());
        QVERIFY(backend.ok());
        auto& b = *backend;
        testing::ScriptedDialogs dialogs;
        app::Session session(
            app::Host{*b.registry, *b.paths, *b.shell, *b.security, *b.processes, testing::programDir()}, dialogs);
        QVERIFY(session.settings.setLanguage("Eng").ok());
        QVERIFY(session.settings.setWow64(true).ok());

        MainWindow window(session);
        QVERIFY(window.startUp());
        window.show();
        window.showTileFolder(QString::fromStdString(tiles.string()));
        click(window, "CommandHinzufuegen");
        auto* files = window.findChild<QListWidget*>("File1");
        QCOMPARE(files->count(), 3);
        for (int row = 0; row < files->count(); ++row) emit files->itemDoubleClicked(files->item(row));
        QCOMPARE(window.findChild<QListWidget*>("List1")->count(), 3);
        click(window, "Command1");

        auto* fid = window.findChild<QLineEdit*>("TextBoxID");
        QCOMPARE(fid->text(), QString("10"));  // nothing is installed in the new prefix
        auto* name = window.findChild<QLineEdit*>("TextBoxMSName");
        QTest::keyClicks(name, "Alps");
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY2(dialogs.messages.empty(), qPrintable(shown(dialogs)));
        dialogs.answer({app::MessageAnswer::No});  // registry keys, not a gmap package
        click(window, "CommandButtonPV");

        QVERIFY2(dialogs.answers.empty(), qPrintable(shown(dialogs)));
        QCOMPARE(dialogs.texts().front(), session.msg(Msg::MsgAskGmapInstallation));
        QCOMPARE(dialogs.texts().back(), session.msg(Msg::MsgIntegrationReady));
        QCOMPARE(dialogs.statusTexts.back(), session.msg(Msg::MsgIntegrationComplete));
        QVERIFY(!window.console().text().empty());  // the outside programs wrote into the console window
        QVERIFY(window.findChild<QPushButton*>("Command2")->isEnabled());

        const std::string base = integration::fileBaseName("Alps");
        const std::string key = "HKLM\\" + session.mapSourceBase() + "Families\\" + base + "10\\1";
        const auto query = testing::runCommand(
            testing::wineCommand(prefix, "wine reg query " + testing::shellQuote(key) + " /v TDB"));
        testing::stopWineServer(prefix);
        QCOMPARE(query.status, 0);
        const std::string tdb = b.paths->toHost(tiles / (base + ".TDB"));
        QVERIFY2(query.output.find(tdb) != std::string::npos, query.output.c_str());
    }
};

VELDRA_GUI_TEST(MainWindowWineTest)

}  // namespace veldra::gui

#include "MainWindowWineTest.moc"
