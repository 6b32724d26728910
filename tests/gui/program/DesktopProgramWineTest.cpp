// `VELDRA --prefix P` started as a user starts it, on an X server (CTest runs
// it under xvfb-run) and on a prefix Wine made for this run. A script inside
// the program answers its own message boxes and folder dialog and does the
// main job with mouse and keys: the sample tiles become a registered mapset
// that Wine's `reg query` reads, the console window shows the outside
// programs' output while they run and keeps it across a language switch, and
// closing the window leaves the tile folder stored as `Dir`. With
// VELDRA_SCREENSHOT_DIR set, the console window's pictures go there.

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/MessageCatalog.h"
#include "app/Settings.h"
#include "gui/ConsoleWindow.h"
#include "gui/DesktopProgram.h"
#include "gui/MainWindow.h"
#include "gui/Screenshots.h"
#include "gui/WindowControls.h"
#include "integration/IntegrationJob.h"
#include "platform/HostBackend.h"
#include "support/MapFiles.h"
#include "support/PrefixTestSupport.h"

namespace veldra::testing {
namespace {

std::vector<std::string> failures;

void expect(bool ok, const std::string& what) {
    if (!ok) failures.push_back(what);
}

std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const auto& text : texts) all += (all.empty() ? "" : " | ") + text;
    return all;
}

app::MessageCatalog catalogIn(const char* language) {
    app::MessageCatalog catalog;
    catalog.fill(language);
    return catalog;
}

// What the script is given before the program starts, and whether it ran.
struct Script {
    fs::path tileFolder;
    std::map<std::string, QMessageBox::StandardButton> answers;
    bool started = false;
} script;

// The user at the program's modal dialogs: the folder dialog gets the tile
// folder, each expected message its answer; every message's text is kept. The
// user also watches the console window while the integration runs.
class User : public QObject {
public:
    std::vector<std::string> shown;
    bool integrating = false;
    bool consoleLive = false;  // the console showed output while the integration worked

    User() {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &User::look);
        timer->start(50);
    }

private:
    void look() {
        auto* modal = QApplication::activeModalWidget();
        if (integrating && !modal)
            for (auto* window : QApplication::topLevelWidgets())
                if (window->objectName() == "FormPipe" && window->isVisible() &&
                    !window->findChild<QPlainTextEdit*>("Text1")->toPlainText().isEmpty())
                    consoleLive = true;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const std::string text = box->text().toStdString();
            shown.push_back(text);
            const auto answer = script.answers.find(text);
            if (answer != script.answers.end()) {
                box->button(answer->second)->click();
            } else {
                failures.push_back("an unexpected message: " + text);
                box->reject();
            }
        } else if (auto* folders = qobject_cast<QFileDialog*>(modal)) {
            folders->setDirectory(QString::fromStdString(script.tileFolder.string()));
            static_cast<QDialog*>(folders)->accept();  // as its Choose button does
        }
    }
};

User* user = nullptr;

gui::MainWindow* shownMainWindow() {
    for (auto* window : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<gui::MainWindow*>(window); main && main->isVisible()) return main;
    return nullptr;
}

// The main job, from the folder choice to the registered mapset; then the
// console window in both languages, and the window closed.
void integrateTheSampleTiles(gui::MainWindow& window) {
    const auto english = catalogIn("Eng");
    const auto german = catalogIn("Deu");
    click(window, "CommandHinzufuegen");
    auto* files = control<QListWidget>(window, "File1");
    expect(files->count() == 3, "File1 lists the three tiles of the chosen folder");
    for (int row = 0; row < files->count(); ++row) {
        // A double click is a press and release, then the second press.
        const QPoint at = files->visualItemRect(files->item(row)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    }
    const int chosen = control<QListWidget>(window, "List1")->count();
    expect(chosen == 3, "the double clicks chose the three tiles, not " + std::to_string(chosen));
    click(window, "Command1");
    expect(control<QLineEdit>(window, "TextBoxID")->text() == "10", "the free FID of a new prefix is proposed");
    auto* name = control<QLineEdit>(window, "TextBoxMSName");
    QTest::keyClicks(name, "Alps");
    QTest::keyClick(name, Qt::Key_Return);
    user->integrating = true;
    click(window, "CommandButtonPV");
    user->integrating = false;

    expect(user->consoleLive, "the console window showed output while the integration ran");
    // The prefix answers the 64-bit question itself: none is asked.
    expect(user->shown == std::vector<std::string>{english.text(Msg::MsgAskGmapInstallation),
                                                   english.text(Msg::MsgIntegrationReady)},
           "the questions and messages in their order, not: " + joined(user->shown));
    expect(control<QLineEdit>(window, "TextMeldung")->text().toStdString() ==
               english.text(Msg::MsgIntegrationComplete),
           "the status field says the integration is complete");
    expect(control(window, "Command2")->isEnabled(), "the next mapset can follow");
    expect(!control<QListWidget>(window, "ListMapsetName")->findItems("Alps", Qt::MatchExactly).isEmpty(),
           "the catalog lists the new mapset");

    auto& console = window.console();
    const QString output = console.findChild<QPlainTextEdit*>("Text1")->toPlainText();
    expect(output.contains(QString::fromStdString(integration::fileBaseName("Alps") + ".tdb")) &&
               output.contains("cgpsmapper"), "the console shows the outside programs' lines: " + output.toStdString());
    saveScreenshot(console, "console-window", "Eng");
    // A first start stores no language: the first switch stores English, the second German.
    auto* language = control<QAction>(window, "Sprachwahl");
    language->trigger();
    expect(console.windowTitle().toStdString() == english.text(Msg::CaptionConsoleWindow),
           "the first switch keeps English: " + console.windowTitle().toStdString());
    language->trigger();
    expect(console.windowTitle().toStdString() == german.text(Msg::CaptionConsoleWindow),
           "the second switch speaks German: " + console.windowTitle().toStdString());
    expect(console.findChild<QPlainTextEdit*>("Text1")->toPlainText() == output, "the switch keeps the console's text");
    saveScreenshot(console, "console-window", "Deu");
    window.close();
}

// The script starts once the program shows its main window, from the event
// loop of QApplication::exec(), so that the dialogs it opens nest inside it.
void startScript() {
    user = new User;
    user->setParent(QCoreApplication::instance());
    auto* waiting = new QTimer(user);
    QObject::connect(waiting, &QTimer::timeout, [waiting] {
        if (auto* window = shownMainWindow(); window && !QApplication::activeModalWidget()) {
            waiting->stop();
            script.started = true;
            QTimer::singleShot(0, window, [window] { integrateTheSampleTiles(*window); });
        }
    });
    waiting->start(100);
}

std::string regQuery(const fs::path& prefix, const std::string& key, const std::string& value) {
    const auto query = runCommand(wineCommand(prefix, "wine reg query " + shellQuote(key) + " /v " + value));
    return query.status == 0 ? query.output : "missing: " + key + " " + value;
}

}  // namespace
}  // namespace veldra::testing

// Runs as the QApplication of the program is made.
static void installScript() { QTimer::singleShot(0, &veldra::testing::startScript); }
Q_COREAPP_STARTUP_FUNCTION(installScript)

int main() {
    using namespace veldra::testing;
    const fs::path& prefix = WineTestPrefix::path();
    if (prefix.empty()) {
        std::cout << (underCi() ? "FAIL" : "SKIP") << ": needs Wine (wine, wineboot, winepath) to make a prefix\n";
        return underCi() ? 1 : 0;
    }
    if (!fs::exists(AlphaTdb)) {
        std::cout << "FAIL: the mkgmap test data is missing\n";
        return 1;
    }
    TempDir temp;
    const PictureTileFolder pictureTiles(temp.path());  // the console's picture shows its path
    const fs::path& tiles = pictureTiles.tiles();
    for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
        fs::copy_file(builtData("alpha") / tile, tiles / tile, fs::copy_options::overwrite_existing);
    runCommand(wineCommand(prefix, "wineserver -w"));  // VELDRA writes the registry only while none runs

    const auto english = catalogIn("Eng");
    script.tileFolder = tiles;
    script.answers = {{english.text(veldra::Msg::MsgAskGmapInstallation), QMessageBox::No},
                      {english.text(veldra::Msg::MsgIntegrationReady), QMessageBox::Ok}};
    std::string program = (programDir() / "VELDRA").string(), option = "--prefix", folder = prefix.string();
    std::vector<char*> arguments{program.data(), option.data(), folder.data(), nullptr};
    const int exitCode = veldra::gui::runDesktopProgram(3, arguments.data());
    expect(exitCode == 0, "the program ended with " + std::to_string(exitCode));
    expect(script.started, "the program showed its main window");

    const std::string base = veldra::integration::fileBaseName("Alps");
    const std::string key = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\" + base + "10\\1";
    const std::string tdb = regQuery(prefix, key, "TDB");
    const auto host = veldra::platform::openHostBackend(prefix.string());
    expect(host.ok() && tdb.find(host->paths->toHost(tiles / (base + ".TDB"))) != std::string::npos,
           "Wine reads the mapset's TDB from the registry: " + tdb);
    const std::string dir = regQuery(prefix, std::string("HKCU\\") + veldra::app::SettingsKey, "Dir");
    expect(dir.find(tiles.string()) != std::string::npos,
           "the tile folder is stored as Dir after the window closed: " + dir);
    stopWineServer(prefix);

    for (const auto& failure : failures) std::cout << "FAIL: " << failure << '\n';
    if (failures.empty())
        std::cout << "PASS: the sample tiles became a registered mapset through VELDRA's own window\n";
    return failures.empty() ? 0 : 1;
}
