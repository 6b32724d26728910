#include "gui/DesktopProgram.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <exception>

#include "app/Session.h"
#include "gui/MainWindow.h"
#include "gui/ProgramIcon.h"
#include "gui/QtDialogs.h"
#include "platform/HostBackend.h"

namespace veldra::gui {

int runDesktopProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VELDRA");
    QApplication::setApplicationVersion(VELDRA_VERSION);
    QApplication::setWindowIcon(programIcon());
    QApplication::setDesktopFileName("veldra");

    QCommandLineParser options;
    options.setApplicationDescription("VELDRA: install and manage Garmin vector mapsets");
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption prefix("prefix", "Wine prefix of the host programs (default: $WINEPREFIX, else VELDRA's own)",
                                    "DIR");
    options.addOption(prefix);
    options.process(application);

    auto backend = platform::openHostBackend(options.value(prefix).toStdString());
    if (!backend) {
        QMessageBox::critical(nullptr, "VELDRA", QString::fromStdString(backend.failure().detail));
        return 1;
    }
    auto& b = *backend;
    QtDialogs dialogs(nullptr);
    app::Session session(app::Host{*b.registry, *b.paths, *b.shell, *b.security, *b.processes, b.programFolder},
                         dialogs);
    dialogs.setCatalog(session.catalog);
    try {
        MainWindow window(session);
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

}  // namespace veldra::gui
