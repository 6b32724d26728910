// The windows every task shares: a worker's questions and console output
// reaching the user while the main window stays painted, and the settings
// window over a fake host in both languages.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "gui/ConsoleWindow.h"
#include "gui/GuiTestRegistry.h"
#include "gui/ProgramSounds.h"
#include "gui/QtDialogs.h"
#include "gui/Screenshots.h"
#include "gui/SettingsWindow.h"
#include "gui/TaskRunner.h"
#include "gui/WorkingWindow.h"
#include "support/FakeHost.h"

namespace veldra::gui {
namespace {

using namespace std::chrono_literals;
using app::MessageAnswer;

QStringList entries(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
}

QString text(const testing::FakeHost& host, Msg id) { return QString::fromStdString(host.session.msg(id)); }

}  // namespace

class SharedWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // The worker writes to the console, waits until its text is on screen (so
    // the UI thread served it while the work ran), asks a question and chooses
    // a file; a timer on the UI thread answers what is shown (buttons in the
    // session's language). The blocked window comes back enabled, also after
    // the work threw. The working window gives the main window the busy
    // pointer while it is shown.
    void workerTalksToTheUserWhileTheWindowStaysResponsive() {
        testing::FakeHost host;
        QVERIFY(host.session.settings.setLanguage("Deu").ok());
        host.session.start();
        QWidget mainWindow;
        QLineEdit status(&mainWindow);
        mainWindow.show();
        QtDialogs dialogs(&mainWindow);
        dialogs.setStatusField(&status);
        dialogs.setCatalog(host.session.catalog);
        ConsoleWindow console(host.session.catalog, &mainWindow);
        auto* text1 = console.findChild<QPlainTextEdit*>("Text1");
        QVERIFY(text1 && text1->isReadOnly());
        QCOMPARE(console.objectName(), QString("FormPipe"));

        std::atomic<bool> shownDuringWork{false};
        QStringList shown;
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            if (!mainWindow.isEnabled() && text1->toPlainText().endsWith("first chunk")) shownDuringWork = true;
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown << QString("%1|%2|%3|default %4")
                             .arg(box->windowTitle(), box->text())
                             .arg(box->icon())
                             .arg(box->defaultButton()->text());
                box->button(QMessageBox::No)->click();
            } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
                shown << chooser->windowTitle() + "|" + chooser->nameFilters().join(";;");
                chooser->reject();
            }
        });
        user.start(10);

        MessageAnswer answer = MessageAnswer::Ok;
        std::optional<std::string> chosen = "not asked";
        runWhileResponsive(&mainWindow, [&] {
            console.setVisible(true);
            console.setText("gmt.exe -j -o 12345678.img\r\n");
            console.appendText("first chunk");
            dialogs.status("integration is started. wait...");
            for (auto waited = 0ms; !shownDuringWork && waited < 10s; waited += 5ms) std::this_thread::sleep_for(5ms);
            answer = dialogs.show({"Keep the FID?", "VELDRA", app::MessageIcon::Question, app::MessageButtons::YesNo});
            chosen = dialogs.chooseFile("choose typfile", "TYP files|*.typ|all|*.typ;*.TYP", "/");
            console.appendText("...\r\ndone\r\n");
        });
        QVERIFY(shownDuringWork);
        QCOMPARE(answer, MessageAnswer::No);
        QCOMPARE(chosen, std::nullopt);
        QCOMPARE(shown, QStringList({QString("VELDRA|Keep the FID?|%1|default &Ja").arg(QMessageBox::Question),
                                     "choose typfile|TYP files (*.typ);;all (*.typ *.TYP)"}));
        QVERIFY(mainWindow.isEnabled() && console.isVisible());
        QCOMPARE(text1->toPlainText(), QString("gmt.exe -j -o 12345678.img\nfirst chunk...\ndone\n"));
        QCOMPARE(console.text(), std::string("gmt.exe -j -o 12345678.img\r\nfirst chunk...\r\ndone\r\n"));
        QCOMPARE(status.text(), QString("integration is started. wait..."));

        WorkingWindow working(host.session.catalog, &mainWindow);
        working.show();
        QCOMPARE(mainWindow.cursor().shape(), Qt::WaitCursor);
        working.close();
        QCOMPARE(mainWindow.cursor().shape(), Qt::ArrowCursor);

        // Sounds never hold the program up, with or without a sound device.
        std::ofstream(host.session.host.programFolder / "Intro.wav", std::ios::binary)
            .write("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data\0\0\0\0", 44);
        QElapsedTimer sounds;
        sounds.start();
        playProgramSound(host.session.host.programFolder, "Intro.wav");
        playProgramSound(host.session.host.programFolder, "Success.wav");
        QTest::qWait(100);
        QVERIFY(sounds.elapsed() < 2000);

        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 runWhileResponsive(&mainWindow, [] { throw std::runtime_error("tool failed"); }));
        QVERIFY(mainWindow.isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Console and settings window in both languages: captions, the stored
    // answer as the list's entry, a click that asks again and stores the new
    // answer for the next start-up, and no entry while nothing is stored.
    void settingsWindowShowsAndStoresTheAnswer() {
        struct Language {
            const char* name;
            QString question, tip;
        };
        for (const Language& language :
             {Language{"Eng", "is a 64 bit operatingsystem in use ? 'yes' for 64 bit, 'no' for 32 bit",
                       "single click on entry to change it"},
              Language{"Deu", "Wird dieser PC mit 64 bit Betriebssystem betrieben ? 'ja' für 64 bit, 'nein' für 32 bit",
                       "click auf Eintrag zum Aendern"}}) {
            testing::FakeHost host;
            QVERIFY(host.session.settings.setLanguage(language.name).ok());
            host.session.start();

            ConsoleWindow console(host.session.catalog, nullptr);
            QCOMPARE(console.windowTitle(), text(host, Msg::CaptionConsoleWindow));

            SettingsWindow window(host.session, nullptr);
            window.show();
            auto* list = window.findChild<QListWidget*>("List1");
            QVERIFY(list && window.objectName() == "FormEinstellungen");
            QCOMPARE(window.windowTitle(), text(host, Msg::CaptionSettingsWindow));
            QCOMPARE(window.findChild<QLabel*>("question")->text(), language.question);
            QCOMPARE(list->toolTip(), language.tip);
            QCOMPARE(entries(*list), QStringList{text(host, Msg::TextOs64)});
            testing::saveScreenshot(window, "settings-window", language.name);

            host.dialogs.answer({MessageAnswer::No});
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
            QCOMPARE(host.dialogs.texts(), std::vector<std::string>{language.question.toStdString()});
            QCOMPARE(host.session.settings.wow64(), std::string(app::Wow64No));
            QCOMPARE(entries(*list), QStringList{text(host, Msg::TextOs32)});
            QCOMPARE(host.session.hostRegistryRoot, std::string("SOFTWARE\\Wow6432Node"));

            QVERIFY(host.session.routines.deleteValue(platform::RegistryRoot::CurrentUser, app::SettingsKey, "Wow64").ok());
            window.reload();
            QCOMPARE(list->count(), 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(host.dialogs.messages.size(), std::size_t{1});
        }
    }
};

VELDRA_GUI_TEST(SharedWindowsTest)

}  // namespace veldra::gui

#include "SharedWindowsTest.moc"
