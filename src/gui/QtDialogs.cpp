#include "gui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "app/MessageCatalog.h"
#include "gui/UiThread.h"

namespace veldra::gui {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon boxIcon(app::MessageIcon icon) {
    switch (icon) {
    case app::MessageIcon::Information: return QMessageBox::Information;
    case app::MessageIcon::Exclamation: return QMessageBox::Warning;
    case app::MessageIcon::Critical: return QMessageBox::Critical;
    case app::MessageIcon::Question: return QMessageBox::Question;
    case app::MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the order the box shows them; the first one is the default.
QList<QMessageBox::StandardButton> boxButtons(app::MessageButtons buttons) {
    switch (buttons) {
    case app::MessageButtons::OkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case app::MessageButtons::YesNo: return {QMessageBox::Yes, QMessageBox::No};
    case app::MessageButtons::YesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case app::MessageButtons::Ok: break;
    }
    return {QMessageBox::Ok};
}

Msg buttonCaption(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes: return Msg::CaptionButtonYes;
    case QMessageBox::No: return Msg::CaptionButtonNo;
    case QMessageBox::Cancel: return Msg::CaptionButtonCancel;
    default: break;
    }
    return Msg::CaptionButtonOk;
}

app::MessageAnswer answerOf(int pressed, app::MessageButtons buttons) {
    switch (pressed) {
    case QMessageBox::Yes: return app::MessageAnswer::Yes;
    case QMessageBox::No: return app::MessageAnswer::No;
    case QMessageBox::Cancel: return app::MessageAnswer::Cancel;
    case QMessageBox::Ok: return app::MessageAnswer::Ok;
    default: break;
    }
    // Closed without a button: what Escape would have chosen.
    switch (buttons) {
    case app::MessageButtons::YesNo: return app::MessageAnswer::No;
    case app::MessageButtons::Ok: return app::MessageAnswer::Ok;
    case app::MessageButtons::OkCancel:
    case app::MessageButtons::YesNoCancel: break;
    }
    return app::MessageAnswer::Cancel;
}

}  // namespace

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = qt(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << parts[i] + " (" + patterns + ")";
    }
    return filters.join(";;");
}

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

void QtDialogs::setStatusField(QLineEdit* field) { statusField_ = field; }

app::MessageAnswer QtDialogs::show(const app::MessageBox& box) {
    return onUiThread([&] {
        QMessageBox message(boxIcon(box.icon), qt(box.title), qt(box.text), QMessageBox::NoButton, parent_);
        const auto buttons = boxButtons(box.buttons);
        for (const auto button : buttons) {
            message.addButton(button);
            if (catalog_ && !catalog_->text(buttonCaption(button)).empty())
                message.button(button)->setText(qt(catalog_->text(buttonCaption(button))));
        }
        message.setDefaultButton(buttons.front());
        return answerOf(message.exec(), box.buttons);
    });
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title, const std::string& start) {
    return onUiThread([&]() -> std::optional<std::string> {
        const QString folder = QFileDialog::getExistingDirectory(parent_, qt(title), qt(start));
        if (folder.isEmpty()) return std::nullopt;
        return QDir::toNativeSeparators(folder).toStdString();
    });
}

std::optional<std::string> QtDialogs::chooseFile(const std::string& title, const std::string& filter,
                                                 const std::string& start) {
    return onUiThread([&]() -> std::optional<std::string> {
        const QString file = QFileDialog::getOpenFileName(parent_, qt(title), qt(start), qtFileFilter(filter));
        if (file.isEmpty()) return std::nullopt;
        return QDir::toNativeSeparators(file).toStdString();
    });
}

void QtDialogs::status(const std::string& text) {
    onUiThread([&] {
        if (!statusField_) return;
        statusField_->setVisible(true);
        statusField_->setText(qt(text));
    });
}

void QtDialogs::busy(bool on) {
    onUiThread([&] {
        // Nested busy steps keep the pointer until the outermost one ends.
        if (on) {
            ++busyDepth_;
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else if (busyDepth_ > 0) {
            --busyDepth_;
            QApplication::restoreOverrideCursor();
        }
    });
}

void QtDialogs::processEvents() {
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) QCoreApplication::processEvents();
}

}  // namespace veldra::gui
