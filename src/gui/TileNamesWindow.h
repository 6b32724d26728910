#pragma once
// `FormMaptilename`: the tiles of one installed mapset with their descriptions
// and draw priorities, a to-scale view of where they lie, and one new draw
// priority for all of them.

#include <QDialog>

#include <stop_token>

#include "registration/TileListing.h"
#include "tasks/MapsetChoice.h"

namespace veldra::app {
class Session;
}

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace veldra::gui {

class TileCoverageView;

class TileNamesWindow : public QDialog {
    Q_OBJECT
public:
    TileNamesWindow(app::Session& session, QWidget* parent);

    // Lists the tiles and shows the window; false after telling the user when
    // the mapset cannot be listed (its TDB missing: "Map does not exist").
    bool showMapset(const tasks::MapsetChoice& choice);

signals:
    void mapsetsChanged();

private:
    void fillList(const registration::TileListing& listing);
    void limitValue();
    void checkValueGiven();
    void changeDrawPriority();
    void retranslate();
    void reportFailure(const Failure& failure);

    app::Session& session_;
    tasks::MapsetChoice choice_;
    QLabel* label1_;
    QListWidget* tileList_;
    TileCoverageView* coverage_;
    QLineEdit* textDp_;
    QPushButton* changeButton_;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    std::stop_source stopping_;  // of the draw priority run under way
};

}  // namespace veldra::gui
