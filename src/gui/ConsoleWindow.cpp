#include "gui/ConsoleWindow.h"

#include <QFontDatabase>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QThread>
#include <QVBoxLayout>

#include "app/MessageCatalog.h"

namespace veldra::gui {

ConsoleWindow::ConsoleWindow(const app::MessageCatalog& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog), text1_(new QPlainTextEdit(this)) {
    setObjectName("FormPipe");
    text1_->setObjectName("Text1");
    text1_->setReadOnly(true);
    text1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text1_);
    resize(720, 420);
    retranslate();
}

void ConsoleWindow::retranslate() { setWindowTitle(QString::fromStdString(catalog_.text(Msg::CaptionConsoleWindow))); }

void ConsoleWindow::setText(const std::string& text) {
    {
        const std::lock_guard lock(mutex_);
        text_ = text;
    }
    showOnWidget(true, QString::fromStdString(text));
}

void ConsoleWindow::appendText(const std::string& text) {
    {
        const std::lock_guard lock(mutex_);
        text_ += text;
    }
    showOnWidget(false, QString::fromStdString(text));
}

const std::string& ConsoleWindow::text() const {
    const std::lock_guard lock(mutex_);
    return text_;
}

void ConsoleWindow::setVisible(bool visible) {
    if (QThread::currentThread() == thread()) {
        QDialog::setVisible(visible);
        return;
    }
    QMetaObject::invokeMethod(this, [this, visible] { QDialog::setVisible(visible); }, Qt::QueuedConnection);
}

// From a worker the widget follows through the UI thread's queue, so that the
// pieces arrive in the order they were given.
void ConsoleWindow::showOnWidget(bool replace, const QString& text) {
    auto show = [this, replace, text] {
        if (replace) text1_->clear();
        text1_->moveCursor(QTextCursor::End);
        // Windows programs end their lines with CR LF.
        text1_->insertPlainText(QString(text).remove(u'\r'));
        text1_->verticalScrollBar()->setValue(text1_->verticalScrollBar()->maximum());
    };
    if (QThread::currentThread() == thread())
        show();
    else
        QMetaObject::invokeMethod(this, show, Qt::QueuedConnection);
}

}  // namespace veldra::gui
