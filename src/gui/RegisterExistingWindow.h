#pragma once
// `FormTDBvorhanden`: installs a mapset that brings its TDB and overview map
// along. The user names the files; the TDB's name, FID and PID fill the
// fields; `Commandregistriere` writes registry keys, `Commandgmapsatz` builds
// a gmap package.

#include <QDialog>
#include <QString>

#include <vector>

#include "core/Result.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace veldra::app {
class Session;
}

namespace veldra::gui {

class RegisterExistingWindow : public QDialog {
    Q_OBJECT
public:
    RegisterExistingWindow(app::Session& session, QWidget* parent);

    // Opens the window empty, in the session's language; the file choosers
    // start in `tilesFolder`. `tilesFromDeviceImage`: the main window's tiles
    // stem from a gmapsupp.img, so an MDR file is warned about.
    void showForTiles(const QString& tilesFolder, bool tilesFromDeviceImage = false);

signals:
    void mapsetsChanged();
    // A gmap package was built: the main window locks its integration controls
    // (`CommandButtonPV`, `TextBoxMSName`, `TextBoxID`).
    void gmapPackageBuilt();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PathField;

    std::vector<PathField> fields() const;
    QLabel* labelFor(const QLineEdit* edit) const;
    void retranslate();
    void choosePath(const PathField& field);
    void chooseTilesFolder();
    void storeTilesFolder();
    // The field's check; a failing one is told.
    bool checkPath(const PathField& field);
    void readTdb();
    void nameEdited();
    void updateCommands();
    // `Commandregistriere` (registry keys) or `Commandgmapsatz` (a gmap package).
    void install(bool asPackage);
    void clearFields();
    void report(const Failure& failure);

    app::Session& session_;
    QString tilesFolder_;
    bool tilesFromDeviceImage_ = false;
    bool checking_ = false;
    bool installing_ = false;

    QLineEdit* textPfadTDB_;
    QLineEdit* textPfadPreview_;
    QLineEdit* textPfadLoc_;
    QLineEdit* textPfadTyp_;
    QLineEdit* textIndexFile_;
    QLineEdit* textMdr_;
    QLineEdit* textPfadTrf_;
    QLineEdit* text1_;
    QLineEdit* textID_;
    QLineEdit* textPID_;
    QPushButton* commandregistriere_;
    QPushButton* commandgmapsatz_;
    QProgressBar* progress_;
};

}  // namespace veldra::gui
