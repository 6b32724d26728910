#include "gui/WorkingWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/MessageCatalog.h"

namespace veldra::gui {

WorkingWindow::WorkingWindow(const app::MessageCatalog& catalog, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mainWindow_(mainWindow) {
    setObjectName("FormArbeite");
    setWindowTitle(app::DefaultTitle);
    auto* text = new QLabel(QString::fromStdString(catalog.text(Msg::CaptionWorkingWindow)), this);
    text->setObjectName("working");
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(text);
}

void WorkingWindow::showEvent(QShowEvent* event) {
    if (mainWindow_) mainWindow_->setCursor(Qt::WaitCursor);
    QDialog::showEvent(event);
}

void WorkingWindow::hideEvent(QHideEvent* event) {
    if (mainWindow_) mainWindow_->unsetCursor();
    QDialog::hideEvent(event);
}

}  // namespace veldra::gui
