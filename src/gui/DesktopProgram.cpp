#include "gui/DesktopProgram.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "app/FailureText.h"
#include "app/Session.h"
#include "gui/MainWindow.h"
#include "gui/ProgramIcon.h"
#include "gui/QtDialogs.h"
#include "platform/HostBackend.h"

namespace veldra::gui {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

struct ProgramOptions {
    std::optional<int> exitNow;  // set when help, the version or a usage error ended the run
    std::string prefix;
};

// The help in the user's language: the stored language is known only once
// the prefix is open.
std::string helpText(const app::MessageCatalog& texts) {
    const auto line = [](const std::string& option, const std::string& what) {
        std::string padded = "  " + option;
        padded.resize(std::max<std::size_t>(padded.size() + 2, 22), ' ');
        return padded + what + '\n';
    };
    return texts.text(Msg::HelpLabelUsage) + ": VELDRA [" + texts.text(Msg::HelpLabelOptionsBadge) + "]\n" +
           texts.text(Msg::HelpProgram) + "\n\n" + texts.text(Msg::HelpLabelOptions) + ":\n" +
           line("--prefix " + texts.text(Msg::HelpArgumentDir), texts.text(Msg::HelpPrefix)) +
           line("-h, --help", texts.text(Msg::HelpHelp)) + line("-v, --version", texts.text(Msg::HelpVersion));
}

ProgramOptions readOptions(const QStringList& arguments, const app::MessageCatalog& texts) {
    QCommandLineParser parser;
    const QCommandLineOption prefix("prefix", {}, "DIR");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOptions({prefix, help, version});
    ProgramOptions options;
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        QStringList unexpected;
        for (const QString& name : parser.unknownOptionNames()) unexpected << (name.size() == 1 ? "-" : "--") + name;
        unexpected += parser.positionalArguments();
        std::cerr << (unexpected.isEmpty()
                          ? texts.text(Msg::MsgUsageMissing) + "--prefix " + texts.text(Msg::HelpArgumentDir)
                          : texts.text(Msg::MsgUsageUnexpected) + unexpected.join(' ').toStdString())
                  << '\n';
        options.exitNow = 1;
    } else if (parser.isSet(help)) {
        std::cout << helpText(texts);
        options.exitNow = 0;
    } else if (parser.isSet(version)) {
        std::cout << "VELDRA " << VELDRA_VERSION << '\n';
        options.exitNow = 0;
    }
    options.prefix = parser.value(prefix).toStdString();
    return options;
}

}  // namespace

int runDesktopProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VELDRA");
    QApplication::setApplicationVersion(VELDRA_VERSION);
    QApplication::setWindowIcon(programIcon());
    QApplication::setDesktopFileName("veldra");

    app::MessageCatalog texts;
    texts.fill(app::interfaceLanguage("", ""));
    const ProgramOptions options = readOptions(QApplication::arguments(), texts);
    if (options.exitNow) return *options.exitNow;

    auto backend = platform::openHostBackend(options.prefix);
    if (!backend) {
        QMessageBox::critical(nullptr, "VELDRA", qt(app::describeFailure(backend.failure(), texts)));
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
