#pragma once
// `ExportImport`: gathers an installed mapset in one folder for another
// computer (`CommandExport`), and installs such a folder here (`CommandImport`);
// after an import it offers the host program's installer.

#include <QDialog>

#include <optional>

#include "core/Result.h"
#include "registration/InstalledCatalog.h"
#include "tasks/MapsetChoice.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

namespace veldra::app {
class Session;
}

namespace veldra::gui {

class ExportImportWindow : public QDialog {
    Q_OBJECT
public:
    ExportImportWindow(app::Session& session, QWidget* parent);

    // Opens the window with the installed mapsets listed, in the session's language.
    void showRefreshed();

signals:
    void mapsetsChanged();

private:
    void retranslate();
    bool reloadLists();
    std::optional<tasks::MapsetChoice> selectedMapset() const;
    void exportSelected();  // `CommandExport`
    void importFolder();    // `CommandImport`
    void offerMapSource();
    void openSource(QListWidgetItem* item);
    void chooseInstaller();
    void startInstaller();
    void report(const Failure& failure);

    app::Session& session_;
    registration::InstalledCatalog catalog_;
    QListWidget* listIMG_;
    QListWidget* listgmp_;
    QLabel* labelIMG_ = nullptr;
    QLabel* labelgmp_ = nullptr;
    QPushButton* commandExport_;
    QPushButton* commandImport_;
    QProgressBar* progress_;
    QListWidget* listURL_;
    QLabel* labelSource_;
    QLineEdit* textUrl_;
};

}  // namespace veldra::gui
