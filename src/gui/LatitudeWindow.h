#pragma once
// `fLatitude`: shows, sets or removes the projection latitude the host
// programs use for one map product, named by its FID and PID. Beside the
// field it shows the latitude that suits the installed mapset of that product.

#include <QDialog>

#include "core/Result.h"
#include "tasks/LatitudeTask.h"

namespace veldra::app {
class Session;
}

class QLabel;
class QLineEdit;
class QPushButton;

namespace veldra::gui {

class LatitudeWindow : public QDialog {
    Q_OBJECT
public:
    LatitudeWindow(app::Session& session, QWidget* parent);

    // Texts in the session's language.
    void retranslate();

private:
    tasks::LatitudeTarget target() const;  // the product the FID and PID fields name
    void showStored();      // `CmdShow`
    void setTyped();        // `CmdSet`
    void latitudeLeft();    // `TextLatitude` left: the range check
    void showSuggestion();  // the latitude that suits the product's installed mapset
    void takeSuggestion();
    void tell(const Failure& failure);

    app::Session& session_;
    QLabel* label1_;
    QLineEdit* textFID_;
    QLineEdit* textPID_;
    QLineEdit* textLatitude_;
    QLabel* labelLatitude_;
    QLabel* labelSuggested_;
    QPushButton* cmdShow_;
    QPushButton* cmdSet_;
    int suggested_ = 0;  // 0: none known for the typed product
};

}  // namespace veldra::gui
