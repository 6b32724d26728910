#pragma once
// `fMain`: the program's one main window. Left the installation of new
// tiles (tile selection, name and FID, the integration), right the installed
// mapsets with the management commands, at the bottom the status line and
// the commands that end or restart a task. A presenter: the workflow rules
// live in the task layer; this window builds requests and shows results.

#include <QMainWindow>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "app/MapsetNaming.h"
#include "core/Result.h"
#include "gui/CatalogDispatch.h"
#include "gui/MainWindowStates.h"
#include "integration/TileSelection.h"
#include "registration/InstalledCatalog.h"
#include "tasks/MapsetChoice.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace veldra::app {
class Session;
}

namespace veldra::gui {

class CacheFoldersWindow;
class ConsoleWindow;
class ExportImportWindow;
class FidWindow;
class LatitudeWindow;
class RegisterExistingWindow;
class SettingsWindow;
class TileNamesWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(app::Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; false when the user chose to end the program.
    bool startUp();

    // `Dir1` moves to a folder: its tiles are listed and the selection starts over.
    void showTileFolder(const QString& folder);
    const QString& tileFolder() const { return tileFolder_; }

    QLineEdit* statusField() const { return textMeldung_; }
    ConsoleWindow& console() const { return *console_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    QWidget* buildInstallPart();
    QWidget* buildTypeFileChooser();
    QWidget* buildCatalogPart();
    QWidget* buildBottom();
    void connectControls();

    void retranslate();
    void showOptionPictures();
    // `Farbe`: every task button in the rest colour; then the active one highlighted.
    void resetButtonColours();
    void highlight(QPushButton* button);

    void addMapset();         // `CommandHinzufuegen`
    void chooseFolder();      // `CommandFolder`
    void addTile(QListWidgetItem* item);
    void addDropped(const std::vector<std::string>& files);
    void showSelection();
    void finishSelection();   // `Command1`
    void integrate();         // `CommandButtonPV`
    void backToIdle();        // `CommandAllesLoeschen`
    void nextMapset();        // `Command2`
    void enterManagementMode(QPushButton* button, MainState state);
    // A double click on a catalog entry, acted on by the current mode.
    void mapsetDoubleClicked(CatalogList list, QListWidgetItem* item);
    void removeMapset(const tasks::MapsetChoice& choice);
    void newNameEdited();    // `TextMapsetname` changed
    void newNameLeft();      // `TextMapsetname` left
    void takeNewName();      // `CommandNameuebernehmen`
    void attachTypeFile();   // `CommandDoIt`
    void emptyTileCache();   // `CommandKompa`
    void refreshCacheButton(bool withNotice);
    void showLatitudeWindow();  // `MnuLatitude`
    // A window changed installed mapsets: the lists show what is there now.
    void mapsetsChanged();
    void showTypeFileChooser(bool shown);
    void showTypeFolder(const QString& folder);

    void nameEdited();
    void nameLeft();
    void fidLeft();

    void switchLanguage();
    void restoreGerman();
    void openHelp();

    // Reads the installed mapsets off the UI thread and fills the catalog lists.
    bool refreshCatalog();
    void fillCatalogLists(const registration::InstalledCatalog& catalog);
    void reportFailure(const Failure& failure);
    // Runs one task off the UI thread; an exception it throws becomes its failure.
    template <class T>
    Result<T> runTask(const std::function<Result<T>()>& task);

    app::Session& session_;
    MainState mode_ = MainState::Idle;  // the management mode double clicks act in
    registration::InstalledCatalog catalog_;  // what the catalog lists show
    // The mapset a double click picked for a new name or a type file.
    std::optional<tasks::MapsetChoice> picked_;
    bool pickedPackage_ = false;
    integration::TileSelection selection_;
    app::NamesInUse namesInUse_;
    QString tileFolder_;
    ConsoleWindow* console_;
    SettingsWindow* settingsWindow_ = nullptr;
    LatitudeWindow* latitudeWindow_;
    FidWindow* fidWindow_;
    TileNamesWindow* tileNamesWindow_;
    RegisterExistingWindow* registerExistingWindow_;
    ExportImportWindow* exportImportWindow_;
    CacheFoldersWindow* cacheFoldersWindow_;
    std::vector<QPushButton*> taskButtons_;

    QFileSystemModel* folders_ = nullptr;
    QFileSystemModel* typeFolders_ = nullptr;

    QPushButton* commandHinzufuegen_ = nullptr;
    QRadioButton* optionTdbNo_ = nullptr;
    QRadioButton* optionTdbYes_ = nullptr;
    QPushButton* commandFolder_ = nullptr;
    QTreeView* dir1_ = nullptr;
    QListWidget* file1_ = nullptr;
    QListWidget* list1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QLineEdit* textBoxMSName_ = nullptr;
    QLineEdit* textBoxID_ = nullptr;
    QLineEdit* textLevel_ = nullptr;
    QLineEdit* textZoom_ = nullptr;
    QCheckBox* checkTypfile_ = nullptr;
    QComboBox* drive2_ = nullptr;
    QTreeView* dirTypefile_ = nullptr;
    QListWidget* fileTypefile_ = nullptr;
    QLabel* labelTypefile_ = nullptr;
    QPushButton* commandButtonPV_ = nullptr;

    QPushButton* commandKartenentfernen_ = nullptr;
    QPushButton* commandMapnameAendern_ = nullptr;
    QPushButton* commandTypeaendern_ = nullptr;
    QPushButton* commandFilename_ = nullptr;
    QPushButton* commandFID_ = nullptr;
    QPushButton* cmdExpImp_ = nullptr;
    QPushButton* commandKompa_ = nullptr;
    QListWidget* listMapsetName_ = nullptr;
    QListWidget* listID_ = nullptr;
    QListWidget* listSubkey_ = nullptr;
    QListWidget* listLoeschen_ = nullptr;
    QListWidget* listMapsetGMP_ = nullptr;
    QLineEdit* textMapsetname_ = nullptr;
    QPushButton* commandNameuebernehmen_ = nullptr;
    QPushButton* commandDoIt_ = nullptr;

    QLineEdit* textMeldung_ = nullptr;
    QProgressBar* cacheProgress_ = nullptr;  // shown while `CommandKompa` empties the cache
    QPushButton* command2_ = nullptr;
    QPushButton* commandAllesLoeschen_ = nullptr;
    QLabel* label9_ = nullptr;
    QLabel* labelGMPFolder_ = nullptr;
};

}  // namespace veldra::gui
