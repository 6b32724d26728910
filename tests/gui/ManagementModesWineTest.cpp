// The main window's management modes on a prefix Wine made, with two mkgmap
// mapsets in the registry and one gmap package: rename, type files for both
// kinds, removal of both kinds, the BaseCamp tile cache button, and the
// projection latitude window. Wine itself reads back what the registry journeys wrote.

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <fstream>

#include "gui/GuiTestRegistry.h"
#include "gui/WindowControls.h"
#include "gui/LatitudeWindow.h"
#include "gui/MainWindow.h"
#include "gui/PrefixSession.h"
#include "gui/Screenshots.h"
#include "tasks/CacheTasks.h"

namespace veldra::gui {

namespace fs = std::filesystem;
using app::MessageAnswer;

namespace {

using testing::click;
using testing::control;

// Double-clicks the row of a list whose text starts with `start`; false when there is none.
bool doubleClick(QWidget& window, const char* list, const QString& start) {
    auto* widget = control<QListWidget>(window, list);
    for (int row = 0; row < widget->count(); ++row)
        if (widget->item(row)->text().startsWith(start)) {
            widget->setCurrentRow(row);
            emit widget->itemDoubleClicked(widget->item(row));
            return true;
        }
    return false;
}

QStringList rows(QWidget& window, const char* list) {
    QStringList texts;
    auto* widget = control<QListWidget>(window, list);
    for (int row = 0; row < widget->count(); ++row) texts << widget->item(row)->text();
    return texts;
}

QString shown(const testing::ScriptedDialogs& dialogs) {
    QStringList texts;
    for (const auto& text : dialogs.texts()) texts << QString::fromStdString(text);
    return texts.join(" | ");
}

std::string regQuery(const fs::path& prefix, const std::string& key) {
    const auto query =
        testing::runCommand(testing::wineCommand(prefix, "wine reg query " + testing::shellQuote(key) + " /s"));
    testing::stopWineServer(prefix);  // the next registry edit waits for no server
    return query.status == 0 ? query.output : "missing";
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The type file chooser shows the folder and picks its one type file.
void chooseTypeFile(MainWindow& window, const fs::path& folder) {
    control<QCheckBox>(window, "CheckTypfile")->setChecked(true);
    auto* tree = control<QTreeView>(window, "DirTypefile");
    const auto* model = qobject_cast<const QFileSystemModel*>(tree->model());
    emit tree->clicked(model->index(QString::fromStdString(folder.string())));
    QCOMPARE(control<QListWidget>(window, "FileTypefile")->count(), 1);
}

}  // namespace

class ManagementModesWineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!testing::wineInstalled()) {
            if (testing::underCi()) QFAIL("needs Wine (wine, wineboot, winepath) to make a test prefix");
            QSKIP("needs Wine (wine, wineboot, winepath) to make a test prefix");
        }
        QVERIFY2(fs::exists(testing::AlphaTdb), "the mkgmap test data is missing");
        QVERIFY(testing::wineboot(prefix_, "-i"));
        for (const auto& [family, name, fid, gmap] :
             {std::tuple{"alpha", "ModeAlpha", "5401", ""}, std::tuple{"beta", "ModeBeta", "5402", ""},
              std::tuple{"alpha", "ModePack", "5403", " --gmap"}}) {
            const fs::path folder = prefix_ / "drive_c" / "maps" / name;
            fs::create_directories(folder);
            for (const auto& file : fs::directory_iterator(testing::builtData(family)))
                if (file.path().extension() != ".typ") fs::copy_file(file, folder / file.path().filename());
            const fs::path tdb = folder / (family == std::string("alpha") ? "11000000" : "00120000");
            const auto registered = testing::veldraOnPrefix(
                prefix_, std::string("--yes register") + gmap + " --tdb " + testing::shellQuote(tdb.string() + ".tdb") +
                             " --overview " + testing::shellQuote(tdb.string() + ".img") + " --fid " + fid +
                             " --name " + name);
            QVERIFY2(registered.status == 0, registered.output.c_str());
        }
        opened_ = testing::openPrefixSession(prefix_);
        QVERIFY(opened_);
        window_ = std::make_unique<MainWindow>(*opened_->session);
        QVERIFY(window_->startUp());
        window_->show();
    }

    void cleanupTestCase() {
        window_.reset();
        if (!prefix_.empty()) testing::stopWineServer(prefix_);
    }

    // The name goes into the TDB, whose old bytes stay beside it as "-BAK".
    void renameARegistryMapset() {
        auto& window = *window_;
        click(window, "CommandMapnameAendern");
        QVERIFY(!control(window, "TextMapsetname")->isVisible());
        QVERIFY(doubleClick(window, "ListMapsetName", "ModeAlpha"));
        QVERIFY(!control(window, "ListMapsetName")->isEnabled() && !control(window, "ListMapsetGMP")->isEnabled());
        auto* name = control<QLineEdit>(window, "TextMapsetname");
        QCOMPARE(name->text(), QString("ModeAlpha"));
        name->clear();
        QTest::keyClicks(name, "  Alpenl");  // leading blanks go
        QCOMPARE(name->text(), QString("Alpenl"));
        name->insert(QString::fromUtf8("\xc3\xa4nder"));  // the name stops before the umlaut
        emit name->editingFinished();
        QCOMPARE(name->text(), QString("Alpenl"));
        QCOMPARE(opened_->dialogs.texts().back(), opened_->session->msg(Msg::MsgNoSpecialCharacters));
        QVERIFY(!control(window, "CommandNameuebernehmen")->isEnabled());
        QTest::keyClicks(name, "and");
        click(window, "CommandNameuebernehmen");

        const fs::path tdb = prefix_ / "drive_c" / "maps" / "ModeAlpha" / "11000000.tdb";
        QVERIFY(readText(tdb).find("Alpenland") != std::string::npos);
        QVERIFY(readText(fs::path(tdb.string() + "-BAK")).find("ModeAlpha") != std::string::npos);
        QVERIFY(!name->isVisible());
        QVERIFY(rows(window, "ListMapsetName").contains("Alpenland"));
    }

    // `CommandDoIt` stamps a copy of the type file with the FID: beside the
    // TDB under the FID's two bytes for a registry mapset, "<FID>.Typ" in a package.
    void attachTypeFilesToBothKinds() {
        auto& window = *window_;
        const fs::path typeFolder = prefix_ / "drive_c" / "typ";
        fs::create_directories(typeFolder);
        fs::copy_file(testing::builtData("alpha") / "alpha.typ", typeFolder / "design.typ");

        click(window, "CommandTypeaendern");
        QVERIFY(doubleClick(window, "ListMapsetName", "Alpenland"));
        QVERIFY(control(window, "CommandDoIt")->isVisible());
        QCOMPARE(control<QLineEdit>(window, "TextBoxMSName")->text(), QString("Alpenland"));
        chooseTypeFile(window, typeFolder);
        click(window, "CommandDoIt");
        QCOMPARE(opened_->dialogs.texts().back(), opened_->session->msg(Msg::MsgTypeFileChanged));
        const fs::path registryCopy = prefix_ / "drive_c" / "maps" / "ModeAlpha" / "2521.TYP";  // 5401 = 0x1519
        const std::string copied = readText(registryCopy);
        QVERIFY(copied.size() > 0x30 && copied[0x2F] == 0x19 && copied[0x30] == 0x15);
        QVERIFY(!control<QCheckBox>(window, "CheckTypfile")->isChecked());  // back to idle

        click(window, "CommandTypeaendern");
        QVERIFY(doubleClick(window, "ListMapsetGMP", "gmap; ModePack"));
        chooseTypeFile(window, typeFolder);
        click(window, "CommandDoIt");
        const fs::path package = opened_->backend.shell->specialFolder(platform::csidl::CommonAppData) / "GARMIN" /
                                 "Maps" / "ModePack.gmap";
        QVERIFY2(fs::exists(package / "5403.Typ"), qPrintable(shown(opened_->dialogs)));
        QVERIFY(readText(package / "Info.xml").find("<TYP>5403.Typ</TYP>") != std::string::npos);

        const std::string key = "HKLM\\" + opened_->session->mapSourceBase() + "Families";
        const std::string families = regQuery(prefix_, key);
        QVERIFY2(families.find(opened_->backend.paths->toHost(registryCopy)) != std::string::npos, families.c_str());
    }

    // The FID and tile modes hand the picked mapset to their windows; the
    // other windows open from their controls.
    void windowsOpenFromTheirModesAndControls() {
        auto& window = *window_;
        const auto opened = [&](const char* name) {
            QCoreApplication::processEvents();
            auto* shownWindow = window.findChild<QDialog*>(name);
            const bool visible = shownWindow && shownWindow->isVisible();
            if (shownWindow) shownWindow->close();
            return visible;
        };
        click(window, "CommandAllesLoeschen");  // each mode locks the others' buttons
        click(window, "CommandFID");
        QVERIFY(doubleClick(window, "ListMapsetGMP", "gmap; ModePack"));
        QVERIFY2(opened("formFID"), qPrintable(shown(opened_->dialogs)));
        QVERIFY(!control(window, "CommandFilename")->isEnabled());
        click(window, "CommandAllesLoeschen");
        click(window, "CommandFilename");
        QVERIFY(doubleClick(window, "ListMapsetName", "ModeBeta"));
        QVERIFY2(opened("FormMaptilename"), qPrintable(shown(opened_->dialogs)));
        QVERIFY(!control(window, "CommandTypeaendern")->isEnabled());
        click(window, "CmdExpImp");
        QVERIFY(opened("ExportImport"));
        QTest::mouseClick(control(window, "LabelGMPFolder"), Qt::LeftButton);
        QVERIFY(opened("Form1"));
        control<QAction>(window, "MnuLatitude")->trigger();
        QVERIFY(opened("fLatitude"));
    }

    // Cancel keeps the mapset; OK takes its keys, TDB and overview map but not
    // its tiles; Yes takes the package folder.
    void removeARegistryMapsetAndAPackage() {
        auto& window = *window_;
        click(window, "CommandAllesLoeschen");
        control<QCheckBox>(window, "CheckTypfile")->setChecked(false);
        click(window, "CommandKartenentfernen");
        QVERIFY(control(window, "ListLoeschen")->isVisible() && !control(window, "ListMapsetName")->isVisible());
        QCOMPARE(rows(window, "ListLoeschen"), QStringList({"Alpenland", "ModeBeta"}));
        const QString pictures = qEnvironmentVariable("VELDRA_SCREENSHOT_DIR");
        const testing::PictureTileFolder pictureTiles(prefix_);
        window.showTileFolder(pictureTiles.shown());
        QVERIFY(testing::chosenFolderInView(*control<QTreeView>(window, "Dir1")));
        for (const char* language : {"en", "de"}) {
            if (language == std::string("de")) control<QAction>(window, "Sprachwahl")->trigger();
            QCoreApplication::processEvents();
            if (!pictures.isEmpty())
                QVERIFY(window.grab().save(QString("%1/main-window-%2-remove.png").arg(pictures, language)));
        }
        QCOMPARE(control<QPushButton>(window, "CommandKartenentfernen")->text(), QString("Karten anzeigen/entfernen"));
        control<QAction>(window, "Sprachwahl")->trigger();

        const fs::path beta = prefix_ / "drive_c" / "maps" / "ModeBeta";
        opened_->dialogs.answer({MessageAnswer::Cancel});
        QVERIFY(doubleClick(window, "ListLoeschen", "ModeBeta"));
        QVERIFY(fs::exists(beta / "00120000.tdb"));
        opened_->dialogs.answer({MessageAnswer::Ok});
        QVERIFY(doubleClick(window, "ListLoeschen", "ModeBeta"));
        QCOMPARE(rows(window, "ListLoeschen"), QStringList({"Alpenland"}));
        QVERIFY2(!fs::exists(beta / "00120000.tdb") && !fs::exists(beta / "00120000.img"),
                 qPrintable(shown(opened_->dialogs)));
        QVERIFY(fs::exists(beta / "00120001.img"));

        opened_->dialogs.answer({MessageAnswer::Yes});
        QVERIFY(doubleClick(window, "ListMapsetGMP", "gmap; ModePack"));
        QVERIFY(!rows(window, "ListMapsetGMP").join("").contains("ModePack"));
        QVERIFY(!fs::exists(opened_->backend.shell->specialFolder(platform::csidl::CommonAppData) / "GARMIN" /
                            "Maps" / "ModePack.gmap"));

        const std::string families = regQuery(prefix_, "HKLM\\" + opened_->session->mapSourceBase() + "Families");
        QVERIFY2(families.find("ModeBeta") == std::string::npos && families.find("00120000") == std::string::npos,
                 families.c_str());
        QVERIFY2(families.find("11000000.tdb") != std::string::npos, families.c_str());
    }

    // The button deletes the files directly in the cache, not its subfolders, and shows what is left.
    void emptyTheBaseCampTileCache() {
        auto& window = *window_;
        const fs::path cache = tasks::inspectCaches(*opened_->session).caches.front().folder.native;
        fs::create_directories(cache / "sub");
        std::ofstream(cache / "a.bin") << std::string(1048476, 'a');
        std::ofstream(cache / "sub" / "kept.bin") << std::string(2 * 1048476, 'k');
        opened_->dialogs.messages.clear();
        auto* progress = control<QProgressBar>(window, "ProgressBarKompa");
        QSignalSpy steps(progress, &QProgressBar::valueChanged);
        click(window, "CommandKompa");
        QCOMPARE(opened_->dialogs.texts(), std::vector<std::string>{"2 MB im Tilecache"});
        QCOMPARE(steps.count(), 2);  // 0, then the one file directly in the cache
        QCOMPARE(steps.back().at(0).toInt(), 1);
        QVERIFY(!progress->isVisible());  // only while the cache is emptied
        QCOMPARE(control<QPushButton>(window, "CommandKompa")->text(), QString("2 MB"));
        QVERIFY(!fs::exists(cache / "a.bin") && fs::exists(cache / "sub" / "kept.bin"));
    }

    // The latitude of least distortion for FID 5401, PID 1, set to 30 and then left to the host.
    void setAndClearALatitude() {
        LatitudeWindow window(*opened_->session, nullptr);
        window.show();
        QCOMPARE(window.objectName(), QString("fLatitude"));
        for (auto [name, text] : {std::pair{"TextFID", "54x01"}, std::pair{"TextPID", "1"}}) {
            auto* field = control<QLineEdit>(window, name);
            QTest::keyClicks(field, text);
            emit field->editingFinished();
        }
        QCOMPARE(control<QLineEdit>(window, "TextFID")->text(), QString("01"));  // the "x" cleared the field
        auto* fid = control<QLineEdit>(window, "TextFID");
        fid->setText("5401");
        emit fid->editingFinished();
        QVERIFY(control<QLabel>(window, "LabelSuggested")->text().contains("47°"));

        auto* latitude = control<QLineEdit>(window, "TextLatitude");
        latitude->setText("86");
        emit latitude->editingFinished();
        QCOMPARE(opened_->dialogs.texts().back(), opened_->session->msg(Msg::MsgLatitudeOutOfRange));
        latitude->setText("30");
        emit latitude->editingFinished();
        click(window, "CmdSet");
        latitude->clear();
        click(window, "CmdShow");
        QCOMPARE(latitude->text(), QString("30°"));
        testing::saveScreenshot(window, "fLatitude", "Eng");
        const std::string key = "HKCU\\Software\\Garmin\\SharedSettings\\Products\\" +
                                std::to_string(5401u * 65536u + 1u);
        const std::string stored = regQuery(prefix_, key);
        QVERIFY2(stored.find("ProjectionAngle") != std::string::npos && stored.find("0x1e") != std::string::npos,
                 stored.c_str());

        latitude->clear();
        opened_->dialogs.answer({MessageAnswer::Yes});
        click(window, "CmdSet");
        QCOMPARE(latitude->text().toStdString(), opened_->session->msg(Msg::MsgNoLatitudeStored));
        QVERIFY(opened_->session->settings.setLanguage("Deu"));
        opened_->session->start();
        window.retranslate();
        click(window, "CmdShow");
        QCOMPARE(latitude->text().toStdString(), opened_->session->msg(Msg::MsgNoLatitudeStored));
        testing::saveScreenshot(window, "fLatitude", "Deu");
        QCOMPARE(regQuery(prefix_, key), std::string("missing"));
    }

private:
    testing::TempDir temp_;
    fs::path prefix_ = temp_.path() / "wine";
    std::unique_ptr<testing::PrefixSession> opened_;
    std::unique_ptr<MainWindow> window_;
};

VELDRA_GUI_TEST(ManagementModesWineTest)

}  // namespace veldra::gui

#include "ManagementModesWineTest.moc"
