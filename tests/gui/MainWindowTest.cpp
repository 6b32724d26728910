// The main window over a fake host: the start-up questions in their order,
// the language switch both ways, the workflow states' controls, the name and
// FID checks against what is installed, files dropped on the selection, and help.

#include <QAction>
#include <QDesktopServices>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "gui/GuiTestRegistry.h"
#include "gui/WindowControls.h"
#include "gui/MainWindow.h"
#include "gui/Screenshots.h"
#include "registration/CatalogTestSupport.h"
#include "tasks/CatalogTasks.h"

namespace veldra::gui {
namespace {

using testing::click;
using testing::control;

namespace fs = std::filesystem;
using app::MessageAnswer;

// The catalog suite's fake host with installed mapsets, outside a GoogleTest run.
struct InstalledMapsets : testing::CatalogTest {
    void TestBody() override {}
    using CatalogTest::fake;
    using CatalogTest::installAlpha;
    using CatalogTest::installPackage;
    using CatalogTest::registerFamily;
};

QString caption(QWidget& window, const char* name) {
    auto* widget = control(window, name);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    return qobject_cast<QLabel*>(widget)->text();
}

// Types into a box and leaves it, as the user does.
void typeAndLeave(QWidget& window, const char* name, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(control(window, name));
    box->clear();
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(box, Qt::Key_Return);
}

void doubleClickFile(QWidget& window, const QString& fileName) {
    auto* files = qobject_cast<QListWidget*>(control(window, "File1"));
    const auto found = files->findItems(fileName, Qt::MatchExactly);
    if (found.isEmpty()) qFatal("File1 does not list %s", qPrintable(fileName));
    emit files->itemDoubleClicked(found.front());
}

// Files dragged from the desktop's file manager and dropped on a list; true
// when the list took the drag and the drop.
bool dropFiles(QWidget& window, const char* name, const std::vector<fs::path>& files) {
    auto* target = qobject_cast<QListWidget*>(control(window, name))->viewport();
    QList<QUrl> urls;
    for (const auto& file : files) urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

QStringList entries(QWidget& window, const char* name) {
    QStringList texts;
    auto* list = qobject_cast<QListWidget*>(control(window, name));
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

QString qt(const fs::path& path) { return QString::fromStdString(path.string()); }

fs::path tileFolderWith(const fs::path& folder, std::initializer_list<const char*> names) {
    fs::create_directories(folder);
    for (const char* name : names) std::ofstream(folder / name) << "tile";
    return folder;
}

// Stands in for the desktop's browser and file opener while it lives.
class UrlOpener : public QObject {
    Q_OBJECT
public:
    UrlOpener() {
        for (const char* scheme : {"file", "https"}) QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlOpener() override {
        for (const char* scheme : {"file", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpAsksItsQuestionsInOrder() {
        testing::FakeHost host;
        host.shell.versionName = "Windows 7";
        QVERIFY(host.session.routines.storeString(platform::RegistryRoot::CurrentUser, app::SettingsKey, "Wow64", "").ok());
        const fs::path tiles = tileFolderWith(host.temp.path() / "alps", {"11000001.img", "1100002.img", "notes.txt"});
        QVERIFY(host.session.settings.setDir(tiles.string()).ok());
        host.dialogs.answer({MessageAnswer::No, MessageAnswer::Yes});

        MainWindow window(host.session);
        QVERIFY(window.startUp());
        QCOMPARE(host.dialogs.texts(), (std::vector<std::string>{host.session.msg(Msg::MsgNoAdminRights),
                                                                  host.session.msg(Msg::MsgAskOs64)}));
        QCOMPARE(host.session.settings.wow64(), std::string(app::Wow64Yes));
        QCOMPARE(host.session.hostRegistryRoot, std::string("SOFTWARE\\Wow6432Node"));
        QCOMPARE(window.tileFolder(), QString::fromStdString(tiles.string()));
        auto* files = qobject_cast<QListWidget*>(control(window, "File1"));
        QCOMPARE(files->count(), 1);  // only eight-character tile names
        QVERIFY(!control(window, "Label11")->isVisibleTo(&window));

        // Yes to the rights question ends the program before anything else is asked.
        host.dialogs.messages.clear();
        host.dialogs.answer({MessageAnswer::Yes});
        QVERIFY(!window.startUp());
        QCOMPARE(host.dialogs.messages.size(), std::size_t{1});
        QVERIFY(host.dialogs.answers.empty());
    }

    void languageSwitchesBothWaysWithTheGermanDesignCaptions() {
        testing::FakeHost host;  // English
        MainWindow window(host.session);
        QVERIFY(window.startUp());
        auto* language = window.findChild<QAction*>("Sprachwahl");
        auto* chosen = qobject_cast<QListWidget*>(control(window, "List1"));
        QCOMPARE(language->text(), QString("Deutsch"));
        QCOMPARE(caption(window, "CommandHinzufuegen"), QString("add mapset"));
        QCOMPARE(chosen->item(0)->text(), QString("No File choosed."));

        language->trigger();
        QCOMPARE(host.session.settings.language(), std::string("Deu"));
        QCOMPARE(language->text(), QString("English"));
        QCOMPARE(caption(window, "CommandHinzufuegen"), QString("Mapset hinzufuegen"));
        QCOMPARE(caption(window, "Label4"), QString("ausgewaehlte Files :"));
        QCOMPARE(caption(window, "Command1"), QString(" Auswahl ist fertig"));
        QCOMPARE(caption(window, "CommandButtonPV"), QString("Mapset zu Mapsource hinzufuegen"));
        QCOMPARE(control(window, "ListMapsetName")->toolTip(), QString("Doppelclick waehlt Mapset aus."));
        QCOMPARE(chosen->item(0)->text(), QString("Kein File ausgewaehlt."));

        language->trigger();
        QCOMPARE(host.session.settings.language(), std::string("Eng"));
        QCOMPARE(language->text(), QString("Deutsch"));
        QCOMPARE(caption(window, "CommandAllesLoeschen"), QString("back"));
        QCOMPARE(window.findChild<QAction*>("MnHilfe")->text(), QString("Help ? "));

        // `Label9` brings German back with the design captions the German branch leaves alone.
        click(window, "Label9");
        QCOMPARE(host.session.settings.language(), std::string("Deu"));
        QCOMPARE(caption(window, "CommandAllesLoeschen"), QString("zurueck"));
        QCOMPARE(caption(window, "Command2"), QString("weiteres Mapset in 'Mapsource' einbinden oder entfernen"));
        QCOMPARE(caption(window, "CommandButtonPV"), QString("Mapset zu Mapsource hinzufuegen"));
        QCOMPARE(language->text(), QString("English"));
        QVERIFY(host.dialogs.messages.empty());
    }

    // Each step of the workflow, and what the user may use and see after it.
    void workflowStatesEnableAndShowTheirControls() {
        testing::FakeHost host;
        const fs::path tiles = tileFolderWith(host.temp.path() / "alps", {"11000001.img", "11000002.img"});
        MainWindow window(host.session);
        QVERIFY(window.startUp());
        window.showTileFolder(QString::fromStdString(tiles.string()));
        window.show();

        for (auto state : {MainState::Idle, MainState::SelectingTiles, MainState::Naming, MainState::Integrating,
                           MainState::Integrated, MainState::NextMapset, MainState::Removing, MainState::TileNames,
                           MainState::FidChange, MainState::Renaming, MainState::TypeFileChange})
            for (const auto& rule : controlRules(state))
                QVERIFY2(window.findChild<QWidget*>(rule.control), rule.control);

        struct Step {
            const char* name;
            std::function<void()> action;
            std::map<const char*, bool> enabled;
            std::map<const char*, bool> visible;
        };
        const Step steps[] = {
            {"idle", [] {},
             {{"CommandHinzufuegen", true}, {"CommandFID", true}, {"CommandButtonPV", false}, {"Command2", false},
              {"TextBoxMSName", false}, {"TextBoxID", false}, {"List1", true}, {"Command1", false}},
             {{"List1", true}, {"Frame2", true}, {"ListMapsetName", false}, {"CommandFolder", false},
              {"TextMeldung", false}, {"Label11", false}}},
            {"selecting tiles", [&] { click(window, "CommandHinzufuegen"); },
             {{"CommandHinzufuegen", false}, {"TextLevel", true}, {"File1", true}},
             {{"Frame2", false}, {"CommandFolder", true}, {"CommandButtonPV", true}, {"TextBoxID", true},
              {"Label11", true}, {"Label1", true}, {"DirTypefile", false}}},
            {"tile chosen", [&] { doubleClickFile(window, "11000002.img"); },
             {{"Command1", true}}, {}},
            {"naming", [&] { click(window, "Command1"); },
             {{"TextBoxMSName", true}, {"TextBoxID", true}, {"CommandButtonPV", false}, {"Dir1", false},
              {"File1", false}, {"Command1", false}},
             {{"Label4", false}, {"TextBoxMSName", true}}},
            {"named", [&] { typeAndLeave(window, "TextBoxMSName", "Alps"); },
             {{"CommandButtonPV", true}, {"TextBoxID", true}}, {}},
            // The fake program folder has no compiler: the run ends early, as after any run.
            {"integrated", [&] { click(window, "CommandButtonPV"); },
             {{"Command1", true}, {"Command2", true}, {"CommandAllesLoeschen", true}, {"CommandButtonPV", false},
              {"TextBoxMSName", false}, {"TextBoxID", false}, {"List1", true}},
             {{"TextMeldung", true}}},
            {"next mapset", [&] { click(window, "Command2"); },
             {{"CommandAllesLoeschen", true}, {"CommandHinzufuegen", true}, {"Command2", false}},
             {{"Frame2", false}, {"List1", true}, {"Label4", true}}},
            {"back", [&] { click(window, "CommandAllesLoeschen"); },
             {{"CommandHinzufuegen", true}}, {{"Frame2", true}, {"ListMapsetName", false}}},
            {"FID change", [&] { click(window, "CommandFID"); },
             {{"CommandFilename", false}, {"CommandKartenentfernen", false}, {"ListMapsetName", true}},
             {{"ListMapsetName", true}, {"ListMapsetGMP", true}, {"ListID", false}}},
            {"back to removing", [&] { click(window, "CommandAllesLoeschen"); click(window, "CommandKartenentfernen"); },
             {{"ListLoeschen", true}}, {{"ListLoeschen", true}, {"ListID", true}, {"ListMapsetName", false}}},
        };
        for (const auto& step : steps) {
            step.action();
            for (const auto& [name, enabled] : step.enabled)
                QVERIFY2(control(window, name)->isEnabled() == enabled,
                         qPrintable(QString("%1: %2 enabled").arg(step.name, name)));
            for (const auto& [name, visible] : step.visible)
                QVERIFY2(control(window, name)->isVisibleTo(&window) == visible,
                         qPrintable(QString("%1: %2 visible").arg(step.name, name)));
        }
        // The fake program folder has no SetACL.exe either, which the removal mode runs first.
        const auto texts = host.dialogs.texts();
        QCOMPARE(texts.size(), std::size_t{2});
        QCOMPARE(texts[0], host.session.msg(Msg::MsgCgpsmapper97cMissing));
        QVERIFY(texts[1].starts_with("Die Datei SetACL.exe"));
        QCOMPARE(control(window, "CommandKartenentfernen")->styleSheet(),
                 QString("background-color: rgb(255,200,100);"));
        QCOMPARE(control(window, "CommandFID")->styleSheet(), QString("background-color: rgb(243,241,221);"));
    }

    void nameAndFidAreRefusedWhenInstalledMapsetsUseThem() {
        InstalledMapsets installed;
        registerAlphaAndPackage(installed);
        auto& host = installed.fake;
        const fs::path tiles = tileFolderWith(host.temp.path() / "new", {"12000001.img"});
        MainWindow window(host.session);
        QVERIFY(window.startUp());
        window.showTileFolder(QString::fromStdString(tiles.string()));
        click(window, "CommandHinzufuegen");
        doubleClickFile(window, "12000001.img");
        click(window, "Command1");
        QCOMPARE(qobject_cast<QLineEdit*>(control(window, "TextBoxID"))->text(), QString("10"));

        struct Case {
            const char* box;
            QString typed;
            std::optional<Msg> refusal;
            const char* title;
            QString kept;
            std::map<const char*, bool> enabled;
        };
        const Case cases[] = {
            {"TextBoxMSName", "Veldra Alpha", Msg::MsgNameExists, "VELDRA-TOOL", "Veldra Alpha",
             {{"TextBoxID", false}, {"CommandButtonPV", false}}},
            {"TextBoxMSName", QString::fromUtf8("Gr\u00fcn"), Msg::MsgNoSpecialCharacters, "VELDRA", "Gr",
             {{"TextBoxID", true}, {"CommandButtonPV", true}}},
            {"TextBoxID", "4711", Msg::MsgIdExists, "VELDRA", "4711",
             {{"CommandButtonPV", false}, {"TextBoxMSName", false}}},
            {"TextBoxID", "04800", Msg::MsgIdExists, "VELDRA", "04800",  // a package's FID, compared as a number
             {{"CommandButtonPV", false}, {"TextBoxMSName", false}}},
            {"TextBoxID", "4712", std::nullopt, "", "4712", {{"TextBoxMSName", true}}},
        };
        for (const auto& c : cases) {
            host.dialogs.messages.clear();
            typeAndLeave(window, c.box, c.typed);
            const auto* box = qobject_cast<QLineEdit*>(control(window, c.box));
            QCOMPARE(box->text(), c.kept);
            if (c.refusal) {
                QCOMPARE(host.dialogs.texts(), std::vector<std::string>{host.session.msg(*c.refusal)});
                QCOMPARE(host.dialogs.messages[0].title, std::string(c.title));
            } else {
                QVERIFY(host.dialogs.messages.empty());
            }
            for (const auto& [name, enabled] : c.enabled)
                QVERIFY2(control(window, name)->isEnabled() == enabled, qPrintable(c.typed + ": " + name));
        }
    }

    // Tiles dropped on `List1` join the selection, other files are ignored; a
    // gmapsupp.img replaces the tiles and takes no later drop; the program's
    // own folder gives no tiles.
    void droppedFilesJoinTheSelectionByTheirNames() {
        testing::FakeHost host;
        const fs::path tiles =
            tileFolderWith(host.temp.path() / "alps", {"11000001.img", "11000002.img", "1100003.img", "notes.txt"});
        const fs::path device = tileFolderWith(host.temp.path() / "device", {"gmapsupp.img"});
        MainWindow window(host.session);
        QVERIFY(window.startUp());
        window.showTileFolder(qt(tiles));
        window.show();
        click(window, "CommandHinzufuegen");

        QVERIFY(dropFiles(window, "List1", {tiles / "11000001.img", tiles / "notes.txt", tiles / "1100003.img",
                                            tiles / "11000002.img"}));
        QCOMPARE(entries(window, "List1"), QStringList({qt(tiles / "11000001.img"), qt(tiles / "11000002.img")}));
        QVERIFY(control(window, "Command1")->isEnabled());
        QVERIFY(dropFiles(window, "List1", {tiles / "11000002.img"}));  // chosen already
        QCOMPARE(entries(window, "List1").size(), 2);
        QVERIFY(dropFiles(window, "List1", {tiles / "11000001.img", device / "gmapsupp.img"}));
        QCOMPARE(entries(window, "List1"), QStringList{qt(device / "gmapsupp.img")});
        QVERIFY(dropFiles(window, "List1", {tiles / "11000001.img"}));
        QCOMPARE(entries(window, "List1"), QStringList{qt(device / "gmapsupp.img")});
        QVERIFY(host.dialogs.messages.empty());

        window.showTileFolder(qt(host.session.host.programFolder));
        QVERIFY(dropFiles(window, "List1", {tiles / "11000001.img"}));
        QCOMPARE(host.dialogs.texts(), std::vector<std::string>{host.session.msg(Msg::MsgTileInProgramFolder)});
        QCOMPARE(entries(window, "List1"), QStringList{QString("No File choosed.")});
    }

    // F1 and the help menu open the program folder's FAQ.html; without one, the online help.
    void helpOpensTheFaqOfTheProgramFolder() {
        testing::FakeHost host;
        MainWindow window(host.session);
        QVERIFY(window.startUp());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        UrlOpener opener;

        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(opener.opened.size(), 1);
        QCOMPARE(opener.opened[0].scheme(), QString("https"));
        const fs::path faq = host.session.host.programFolder / "FAQ.html";
        std::ofstream(faq) << "<html></html>";
        QTest::keyClick(&window, Qt::Key_F1);
        window.findChild<QAction*>("MnHilfe")->trigger();
        QCOMPARE(opener.opened.mid(1), QList<QUrl>({QUrl::fromLocalFile(qt(faq)), QUrl::fromLocalFile(qt(faq))}));
    }

    // Idle and naming in both languages: every caption fits its button at the
    // window's first size. With VELDRA_SCREENSHOT_DIR set, the pictures go there.
    void captionsFitInBothLanguages() {
        const QString pictures = qEnvironmentVariable("VELDRA_SCREENSHOT_DIR");
        for (const char* language : {"Eng", "Deu"}) {
            testing::FakeHost host;
            QVERIFY(host.session.settings.setLanguage(language).ok());
            const testing::PictureTileFolder tiles(host.temp.path());
            MainWindow window(host.session);
            QVERIFY(window.startUp());
            window.showTileFolder(tiles.shown());
            window.show();
            // The fake host spoke English first: `Label9` puts the German design captions back.
            if (language == std::string("Deu")) click(window, "Label9");
            const auto check = [&](const char* state) {
                QCoreApplication::processEvents();
                for (auto* button : window.findChildren<QPushButton*>())
                    if (button->isVisible())
                        QVERIFY2(button->width() >= button->sizeHint().width(),
                                 qPrintable(QString("%1 %2: %3 is cut").arg(language, state, button->objectName())));
                QVERIFY(testing::chosenFolderInView(*control<QTreeView>(window, "Dir1")));
                if (!pictures.isEmpty())
                    QVERIFY(window.grab().save(QString("%1/main-window-%2-%3.png")
                                                   .arg(pictures, language == std::string("Eng") ? "en" : "de", state)));
            };
            check("idle");
            click(window, "CommandHinzufuegen");
            for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"}) doubleClickFile(window, tile);
            click(window, "Command1");
            QTest::keyClicks(control(window, "TextBoxMSName"), "Alps");
            check("naming");
        }
    }

private:
    static void registerAlphaAndPackage(InstalledMapsets& installed) {
        installed.registerFamily(registration::RecordKind::Families, "Alpha4711", installed.installAlpha("alpha"));
        installed.installPackage("Topo", "4800");
        QVERIFY(tasks::listMapsets(installed.fake.session)->registry.size() == 1);
    }
};

VELDRA_GUI_TEST(MainWindowTest)

}  // namespace veldra::gui

#include "MainWindowTest.moc"
