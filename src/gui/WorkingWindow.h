#pragma once
// `FormArbeite`: the small window shown while a long step runs. While it is
// shown, the main window has the busy pointer.

#include <QDialog>

#include <QPointer>

namespace veldra::app {
class MessageCatalog;
}

namespace veldra::gui {

class WorkingWindow : public QDialog {
    Q_OBJECT
public:
    WorkingWindow(const app::MessageCatalog& catalog, QWidget* mainWindow);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
};

}  // namespace veldra::gui
