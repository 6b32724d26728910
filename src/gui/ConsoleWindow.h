#pragma once
// `FormPipe`: shows the command line of an outside program, the progress dots
// while it runs and what it printed. Text may be set from a worker thread; the
// widget follows on the UI thread.

#include <QDialog>

#include <mutex>
#include <string>

#include "app/ConsoleWindow.h"

class QPlainTextEdit;

namespace veldra::app {
class MessageCatalog;
}

namespace veldra::gui {

class ConsoleWindow : public QDialog, public app::ConsoleWindow {
    Q_OBJECT
public:
    ConsoleWindow(const app::MessageCatalog& catalog, QWidget* parent);

    void setText(const std::string& text) override;
    void appendText(const std::string& text) override;
    const std::string& text() const override;
    // Shows or hides the window; from any thread.
    void setVisible(bool visible) override;

    // Caption in the catalog's current language.
    void retranslate();

private:
    void showOnWidget(bool replace, const QString& text);

    const app::MessageCatalog& catalog_;
    QPlainTextEdit* text1_;
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace veldra::gui
