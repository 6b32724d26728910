#pragma once
// The Dialogs port with Qt message boxes and file choosers. Tasks may run on a
// worker thread: every call is then carried out on the UI thread and the
// worker waits for the answer.

#include <QPointer>
#include <QString>

#include "app/Dialogs.h"

class QLineEdit;
class QWidget;

namespace veldra::app {
class MessageCatalog;
}

namespace veldra::gui {

class QtDialogs : public app::Dialogs {
public:
    explicit QtDialogs(QWidget* parent);

    // The main window's status text box (`TextMeldung`).
    void setStatusField(QLineEdit* field);
    // Button captions of the message boxes follow the catalog's language
    // (the questions speak of 'ja' and 'nein'); without it Qt's own.
    void setCatalog(const app::MessageCatalog& catalog) { catalog_ = &catalog; }

    app::MessageAnswer show(const app::MessageBox& box) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::string> chooseFile(const std::string& title, const std::string& filter,
                                          const std::string& start) override;
    void status(const std::string& text) override;
    // The busy pointer over the whole program.
    void busy(bool on) override;
    void processEvents() override;

private:
    QPointer<QWidget> parent_;
    QPointer<QLineEdit> statusField_;
    const app::MessageCatalog* catalog_ = nullptr;
    int busyDepth_ = 0;
};

// "TYP files|*.typ|All|*.*" as a Qt name filter list: "TYP files (*.typ);;All (*.*)".
QString qtFileFilter(const std::string& filter);

}  // namespace veldra::gui
