#pragma once
// `FormEinstellungen`: shows the stored answer to the 64-bit question; a click
// on it asks the question again and stores the new answer, which takes effect
// at the next start-up.

#include <QDialog>

namespace veldra::app {
class Session;
}

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace veldra::gui {

class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    SettingsWindow(app::Session& session, QWidget* parent);

    // Texts in the session's language and the list from the stored answer.
    void reload();

private:
    void askAgain(QListWidgetItem* item);

    app::Session& session_;
    QLabel* question_;
    QListWidget* list1_;
};

}  // namespace veldra::gui
