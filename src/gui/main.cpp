// `VELDRA`: the desktop program. Opens the host (a Wine prefix on Linux:
// --prefix, else $WINEPREFIX, else VELDRA's own), runs the start-up and shows
// the main window.

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <exception>

#include "app/Session.h"
#include "gui/MainWindow.h"
#include "gui/ProgramIcon.h"
#include "gui/QtDialogs.h"
#include "platform/HostBackend.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VELDRA");
    QApplication::setApplicationVersion(VELDRA_VERSION);
    QApplication::setWindowIcon(veldra::gui::programIcon());
    QApplication::setDesktopFileName("veldra");

    QCommandLineParser options;
    options.setApplicationDescription("VELDRA: install and manage Garmin vector mapsets");
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption prefix("prefix", "Wine prefix of the host programs (default: $WINEPREFIX, else VELDRA's own)",
                                    "DIR");
    options.addOption(prefix);
    options.process(application);

    auto backend = veldra::platform::openHostBackend(options.value(prefix).toStdString());
    if (!backend) {
        QMessageBox::critical(nullptr, "VELDRA", QString::fromStdString(backend.failure().detail));
        return 1;
    }
    auto& b = *backend;
    veldra::gui::QtDialogs dialogs(nullptr);
    veldra::app::Session session(
        veldra::app::Host{*b.registry, *b.paths, *b.shell, *b.security, *b.processes, b.programFolder}, dialogs);
    dialogs.setCatalog(session.catalog);
    try {
        veldra::gui::MainWindow window(session);
        dialogs.setStatusField(window.statusField());
        if (!window.startUp()) return 0;
        window.show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        // Nothing may end the program unexplained.
        QMessageBox::critical(nullptr, "VELDRA", QString::fromUtf8(e.what()));
        return 1;
    }
}
