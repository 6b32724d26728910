#pragma once
// `formFID`: gives the chosen installed mapset a new family ID.

#include <QDialog>

#include "tasks/MapsetChoice.h"

namespace veldra::app {
class Session;
}

class QLabel;
class QLineEdit;
class QPushButton;

namespace veldra::gui {

class FidWindow : public QDialog {
    Q_OBJECT
public:
    FidWindow(app::Session& session, QWidget* parent);

    // Shows "FID : <fid>" of the mapset and the window; for a gmap package
    // the lowest free FID is offered in the new-FID field.
    void showMapset(const tasks::MapsetChoice& choice);

signals:
    void mapsetsChanged();

private:
    void validateNewFid();
    void offerFreeFid();
    void changeFid();
    void clearChoice();
    void retranslate();
    void reportFailure(const Failure& failure);

    app::Session& session_;
    tasks::MapsetChoice choice_;
    QLineEdit* text1_;
    QLineEdit* textMapname_;
    QLabel* label1_;
    QLabel* label2_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* commandExit_;
};

}  // namespace veldra::gui
