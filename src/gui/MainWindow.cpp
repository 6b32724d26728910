#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSplitter>
#include <QToolTip>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>
#include <optional>

#include "app/FailureText.h"
#include "app/LanguageSwitch.h"
#include "app/Session.h"
#include "app/Startup.h"
#include "gui/CacheFoldersWindow.h"
#include "gui/ConsoleWindow.h"
#include "gui/CountProgress.h"
#include "gui/ExportImportWindow.h"
#include "gui/FidWindow.h"
#include "gui/LatitudeWindow.h"
#include "gui/RegisterExistingWindow.h"
#include "gui/TileNamesWindow.h"
#include "gui/OptionPictures.h"
#include "gui/ProgramSounds.h"
#include "gui/SettingsWindow.h"
#include "gui/TaskRunner.h"
#include "gui/WindowPlacement.h"
#include "platform/PathText.h"
#include "tasks/CacheTasks.h"
#include "tasks/CatalogTasks.h"
#include "tasks/IntegrateTask.h"
#include "tasks/ManagementTasks.h"
#include "tasks/StartupTask.h"
#include "tasks/TaskChecks.h"

namespace veldra::gui {
namespace {

constexpr const char* WebsiteUrl = "https://veldra.example/";
constexpr const char* OnlineHelpUrl = "https://veldra.example/help/";
constexpr const char* RestColour = "background-color: rgb(243,241,221);";
constexpr const char* HighlightColour = "background-color: rgb(255,200,100);";
const QStringList TilePatterns = {"????????.img", "????????.Img", "????????.IMG"};
const QStringList TypeFilePatterns = {"*.typ", "*.TYP", "*.Typ"};

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string text(const QString& text) { return text.toStdString(); }

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const char* name, bool wrap = false) {
    auto* l = named(new QLabel, name);
    l->setWordWrap(wrap);
    return l;
}

QListWidget* list(const char* name) { return named(new QListWidget, name); }

// The files of a folder that match the patterns, by name.
QStringList filesIn(const QString& folder, const QStringList& patterns) {
    return QDir(folder).entryList(patterns, QDir::Files, QDir::Name);
}

// A folder tree over a model that lists folders only.
QTreeView* folderTree(const char* name, QFileSystemModel* model) {
    auto* tree = named(new QTreeView, name);
    tree->setModel(model);
    for (int column = 1; column < model->columnCount(); ++column) tree->hideColumn(column);
    tree->header()->hide();
    return tree;
}

QFileSystemModel* folderModel(QObject* parent) {
    auto* model = new QFileSystemModel(parent);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QString());
    return model;
}

}  // namespace

MainWindow::MainWindow(app::Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), selection_(session.dialogs, session.catalog) {
    setObjectName("fMain");
    setWindowTitle("VELDRA");
    console_ = new ConsoleWindow(session.catalog, this);
    console_->setObjectName("FormPipe");
    folders_ = folderModel(this);
    typeFolders_ = folderModel(this);

    buildMenus();
    auto* central = new QWidget;
    auto* columns = new QSplitter(Qt::Horizontal);
    columns->addWidget(buildInstallPart());
    columns->addWidget(buildCatalogPart());
    columns->setStretchFactor(0, 3);
    columns->setStretchFactor(1, 2);
    columns->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(columns, 1);
    layout->addWidget(buildBottom());
    setCentralWidget(central);
    resize(1100, 750);
    // The windows reuse control names of this one (`Label1`, `Command1`): the
    // lookups by name reach this window's own controls first, in the central widget.
    latitudeWindow_ = new LatitudeWindow(session, this);
    fidWindow_ = new FidWindow(session, this);
    tileNamesWindow_ = new TileNamesWindow(session, this);
    registerExistingWindow_ = new RegisterExistingWindow(session, this);
    exportImportWindow_ = new ExportImportWindow(session, this);
    cacheFoldersWindow_ = new CacheFoldersWindow(session, this);

    taskButtons_ = {commandHinzufuegen_, commandKartenentfernen_, commandTypeaendern_, commandMapnameAendern_,
                    cmdExpImp_,          commandFilename_,        commandKompa_,       commandFID_};
    connectControls();
    retranslate();
    resetButtonColours();
    showOptionPictures();
    applyControlRules(*centralWidget(), MainState::Idle);
    showTypeFileChooser(false);
    selection_.reset();
    showSelection();
}

MainWindow::~MainWindow() {
    // A box that loses the focus while the window goes must not reach it any more.
    for (auto* child : findChildren<QWidget*>()) {
        child->disconnect(this);
        child->removeEventFilter(this);
    }
}

void MainWindow::buildMenus() {
    auto* bar = menuBar();
    bar->setObjectName("MenuBar");
    auto* language = named(bar->addAction(QString()), "Sprachwahl");
    connect(language, &QAction::triggered, this, &MainWindow::switchLanguage);
    auto* settings = named(bar->addAction(QString()), "Prop");
    connect(settings, &QAction::triggered, this, [this] {
        if (!settingsWindow_) settingsWindow_ = new SettingsWindow(session_, this);
        settingsWindow_->reload();
        bringToFront(*settingsWindow_);
    });
    connect(named(bar->addAction(QString()), "MnuLatitude"), &QAction::triggered, this,
            &MainWindow::showLatitudeWindow);
    auto* help = named(bar->addAction(QString()), "MnHilfe");
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);
    connect(help, &QAction::triggered, this, &MainWindow::openHelp);
    auto* website = named(bar->addAction(QString()), "mnuWebsite");
    connect(website, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(WebsiteUrl)); });
}

QWidget* MainWindow::buildInstallPart() {
    auto* part = new QWidget;
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);

    commandHinzufuegen_ = named(new QPushButton, "CommandHinzufuegen");
    commandHinzufuegen_->setDefault(true);
    optionTdbNo_ = named(new QRadioButton, "Optiontdbno");
    optionTdbYes_ = named(new QRadioButton, "Optiontdbja");
    for (auto* option : {optionTdbNo_, optionTdbYes_}) option->setIconSize(QSize(40, 40));
    optionTdbNo_->setChecked(true);
    auto* options = new QGridLayout;
    options->addWidget(commandHinzufuegen_, 0, 0, 2, 1);
    options->addWidget(optionTdbNo_, 0, 1);
    options->addWidget(label("Label17", true), 0, 2);
    options->addWidget(optionTdbYes_, 1, 1);
    options->addWidget(label("Label10", true), 1, 2);
    options->setColumnStretch(2, 1);
    layout->addLayout(options);

    commandFolder_ = named(new QPushButton, "CommandFolder");
    dir1_ = folderTree("Dir1", folders_);
    file1_ = list("File1");
    file1_->setMouseTracking(true);
    auto* browse = new QSplitter(Qt::Horizontal);
    browse->addWidget(dir1_);
    browse->addWidget(file1_);
    browse->setChildrenCollapsible(false);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(commandFolder_);
    folderRow->addStretch();
    layout->addLayout(folderRow);
    layout->addWidget(browse, 2);

    layout->addWidget(label("Label4"));
    list1_ = list("List1");
    list1_->setAcceptDrops(true);
    list1_->viewport()->setAcceptDrops(true);
    list1_->viewport()->installEventFilter(this);
    list1_->installEventFilter(this);
    layout->addWidget(list1_, 1);
    auto* rule = label("Label1", true);
    rule->setEnabled(false);  // a muted hint
    layout->addWidget(rule);
    command1_ = named(new QPushButton, "Command1");
    auto* selectionRow = new QHBoxLayout;
    selectionRow->addStretch();
    selectionRow->addWidget(command1_);
    layout->addLayout(selectionRow);

    textBoxMSName_ = named(new QLineEdit, "TextBoxMSName");
    textBoxID_ = named(new QLineEdit, "TextBoxID");
    textBoxID_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), textBoxID_));
    textLevel_ = named(new QLineEdit, "TextLevel");
    textZoom_ = named(new QLineEdit, "TextZoom");
    auto* naming = new QGridLayout;
    naming->addWidget(label("Label3"), 0, 0);
    naming->addWidget(textBoxMSName_, 0, 1, 1, 3);
    naming->addWidget(label("Label7"), 1, 0);
    naming->addWidget(textBoxID_, 1, 1);
    naming->addWidget(label("Label11"), 2, 0);
    naming->addWidget(textLevel_, 2, 1);
    naming->addWidget(label("Label12"), 2, 2);
    naming->addWidget(textZoom_, 2, 3);
    naming->setColumnStretch(1, 1);
    naming->setColumnStretch(3, 1);
    layout->addLayout(naming);
    layout->addWidget(buildTypeFileChooser());

    commandButtonPV_ = named(new QPushButton, "CommandButtonPV");
    auto* integrateRow = new QHBoxLayout;
    integrateRow->addStretch();
    integrateRow->addWidget(commandButtonPV_);
    layout->addLayout(integrateRow);
    return part;
}

QWidget* MainWindow::buildTypeFileChooser() {
    auto* chooser = new QWidget;
    auto* layout = new QGridLayout(chooser);
    layout->setContentsMargins(0, 0, 0, 0);
    checkTypfile_ = named(new QCheckBox, "CheckTypfile");
    drive2_ = named(new QComboBox, "Drive2");
    for (const auto& drive : QDir::drives()) drive2_->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    dirTypefile_ = folderTree("DirTypefile", typeFolders_);
    fileTypefile_ = list("FileTypefile");
    labelTypefile_ = label("LabelTypefile", true);
    layout->addWidget(checkTypfile_, 0, 0);
    layout->addWidget(drive2_, 0, 1);
    layout->addWidget(labelTypefile_, 0, 2);
    layout->addWidget(dirTypefile_, 1, 0, 1, 2);
    layout->addWidget(fileTypefile_, 1, 2);
    layout->setColumnStretch(2, 1);
    return chooser;
}

QWidget* MainWindow::buildCatalogPart() {
    auto* frame2 = named(new QGroupBox, "Frame2");
    auto* layout = new QVBoxLayout(frame2);
    commandKartenentfernen_ = named(new QPushButton, "CommandKartenentfernen");
    commandMapnameAendern_ = named(new QPushButton, "CommandMapnameAendern");
    commandTypeaendern_ = named(new QPushButton, "CommandTypeaendern");
    commandFilename_ = named(new QPushButton, "CommandFilename");
    commandFID_ = named(new QPushButton, "CommandFID");
    cmdExpImp_ = named(new QPushButton, "CmdExpImp");
    commandKompa_ = named(new QPushButton, "CommandKompa");
    for (auto* button : {commandKartenentfernen_, commandMapnameAendern_, commandTypeaendern_, commandFilename_,
                         commandFID_, cmdExpImp_, commandKompa_})
        layout->addWidget(button);
    labelGMPFolder_ = label("LabelGMPFolder");
    labelGMPFolder_->setCursor(Qt::PointingHandCursor);
    labelGMPFolder_->installEventFilter(this);
    layout->addWidget(labelGMPFolder_);
    layout->addWidget(label("Label14"));

    listMapsetName_ = list("ListMapsetName");
    listID_ = list("ListID");
    listSubkey_ = list("ListSubkey");
    listLoeschen_ = list("ListLoeschen");
    auto* table = new QGridLayout;
    table->setHorizontalSpacing(0);
    table->addWidget(label("Label2"), 0, 0);
    table->addWidget(label("Label6"), 0, 1);
    table->addWidget(label("Label16"), 0, 2);
    table->addWidget(listMapsetName_, 1, 0);
    table->addWidget(listLoeschen_, 1, 0);
    table->addWidget(listID_, 1, 1);
    table->addWidget(listSubkey_, 1, 2);
    // An FID has at most five digits: the room goes to the names and keys.
    listID_->setFixedWidth(listID_->fontMetrics().horizontalAdvance("000000") + 4 * listID_->frameWidth() + 8);
    table->setColumnStretch(0, 1);
    table->setColumnStretch(2, 1);
    // The parallel lists read as one table: one scroll bar moves them all.
    const std::vector<QListWidget*> parallel = {listMapsetName_, listLoeschen_, listID_, listSubkey_};
    for (auto* from : parallel) {
        if (from != listSubkey_) from->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        for (auto* to : parallel)
            if (to != from)
                connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
                        &QScrollBar::setValue);
    }
    layout->addLayout(table, 2);
    listMapsetGMP_ = list("ListMapsetGMP");
    layout->addWidget(listMapsetGMP_, 1);
    textMapsetname_ = named(new QLineEdit, "TextMapsetname");
    commandNameuebernehmen_ = named(new QPushButton, "CommandNameuebernehmen");
    auto* renameRow = new QHBoxLayout;
    renameRow->addWidget(textMapsetname_, 1);
    renameRow->addWidget(commandNameuebernehmen_);
    layout->addLayout(renameRow);
    commandDoIt_ = named(new QPushButton, "CommandDoIt");
    layout->addWidget(commandDoIt_);
    auto* drawPriorityHint = label("Label15", true);
    drawPriorityHint->setEnabled(false);
    layout->addWidget(drawPriorityHint);
    commandKompa_->installEventFilter(this);
    listLoeschen_->installEventFilter(this);
    for (QWidget* hidden : std::initializer_list<QWidget*>{listLoeschen_, textMapsetname_, commandNameuebernehmen_,
                                                           commandDoIt_, frame2->findChild<QWidget*>("Label16")})
        hidden->hide();
    return frame2;
}

QWidget* MainWindow::buildBottom() {
    auto* bottom = new QWidget;
    auto* layout = new QHBoxLayout(bottom);
    layout->setContentsMargins(0, 0, 0, 0);
    textMeldung_ = named(new QLineEdit, "TextMeldung");
    textMeldung_->setReadOnly(true);
    cacheProgress_ = countProgressBar(bottom, "ProgressBarKompa");
    command2_ = named(new QPushButton, "Command2");
    commandAllesLoeschen_ = named(new QPushButton, "CommandAllesLoeschen");
    for (auto* button : {command2_, commandAllesLoeschen_})
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    label9_ = label("Label9");
    label9_->setCursor(Qt::PointingHandCursor);
    label9_->installEventFilter(this);
    layout->addWidget(textMeldung_, 1);
    layout->addWidget(cacheProgress_);
    layout->addWidget(command2_);
    layout->addWidget(commandAllesLoeschen_);
    layout->addWidget(label9_);
    return bottom;
}

void MainWindow::connectControls() {
    connect(commandHinzufuegen_, &QPushButton::clicked, this, &MainWindow::addMapset);
    connect(commandFolder_, &QPushButton::clicked, this, &MainWindow::chooseFolder);
    connect(optionTdbNo_, &QRadioButton::toggled, this, &MainWindow::showOptionPictures);
    connect(dir1_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        showTileFolder(folders_->filePath(index));
    });
    connect(dir1_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        showTileFolder(folders_->filePath(index));
    });
    // The folder tree loads in the background: the chosen folder comes into
    // view once the folders on its way are there.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (QDir::fromNativeSeparators(tileFolder_).startsWith(loaded)) dir1_->scrollTo(dir1_->currentIndex());
    });
    connect(file1_, &QListWidget::itemDoubleClicked, this, &MainWindow::addTile);
    connect(list1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        selection_.removeAt(static_cast<std::size_t>(list1_->row(item)));
        showSelection();
    });
    connect(command1_, &QPushButton::clicked, this, &MainWindow::finishSelection);
    connect(textBoxMSName_, &QLineEdit::textEdited, this, &MainWindow::nameEdited);
    connect(textBoxID_, &QLineEdit::textEdited, this, [this] { textBoxMSName_->setEnabled(true); });
    connect(textBoxMSName_, &QLineEdit::editingFinished, this, &MainWindow::nameLeft);
    connect(textBoxID_, &QLineEdit::editingFinished, this, &MainWindow::fidLeft);
    connect(checkTypfile_, &QCheckBox::toggled, this, &MainWindow::showTypeFileChooser);
    connect(drive2_, &QComboBox::textActivated, this, [this](const QString& drive) {
        if (QDir(drive).isReadable()) showTypeFolder(drive);
    });
    connect(dirTypefile_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        showTypeFolder(typeFolders_->filePath(index));
    });
    connect(fileTypefile_, &QListWidget::currentTextChanged, labelTypefile_, &QLabel::setText);
    connect(commandButtonPV_, &QPushButton::clicked, this, &MainWindow::integrate);
    connect(commandAllesLoeschen_, &QPushButton::clicked, this, &MainWindow::backToIdle);
    connect(command2_, &QPushButton::clicked, this, &MainWindow::nextMapset);
    const std::pair<QPushButton*, MainState> modes[] = {
        {commandKartenentfernen_, MainState::Removing},   {commandFilename_, MainState::TileNames},
        {commandFID_, MainState::FidChange},              {commandMapnameAendern_, MainState::Renaming},
        {commandTypeaendern_, MainState::TypeFileChange},
    };
    for (const auto& [button, state] : modes)
        connect(button, &QPushButton::clicked, this, [this, button = button, state = state] {
            enterManagementMode(button, state);
        });
    const std::pair<QListWidget*, CatalogList> lists[] = {{listMapsetName_, CatalogList::MapsetNames},
                                                          {listLoeschen_, CatalogList::Removal},
                                                          {listMapsetGMP_, CatalogList::Packages}};
    for (const auto& [widget, which] : lists)
        connect(widget, &QListWidget::itemDoubleClicked, this,
                [this, which = which](QListWidgetItem* item) { mapsetDoubleClicked(which, item); });
    connect(listLoeschen_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        listLoeschen_->setToolTip(item->text() + qt(session_.msg(Msg::TextDoubleClickToDelete)));
    });
    connect(textMapsetname_, &QLineEdit::textEdited, this, &MainWindow::newNameEdited);
    connect(textMapsetname_, &QLineEdit::editingFinished, this, &MainWindow::newNameLeft);
    connect(commandNameuebernehmen_, &QPushButton::clicked, this, &MainWindow::takeNewName);
    connect(commandDoIt_, &QPushButton::clicked, this, &MainWindow::attachTypeFile);
    connect(commandKompa_, &QPushButton::clicked, this, &MainWindow::emptyTileCache);
    connect(cmdExpImp_, &QPushButton::clicked, this, [this] {
        highlight(cmdExpImp_);
        exportImportWindow_->showRefreshed();
    });
    connect(cacheFoldersWindow_, &CacheFoldersWindow::cacheEmptied, this, [this] { refreshCacheButton(false); });
    connect(registerExistingWindow_, &RegisterExistingWindow::gmapPackageBuilt, this, [this] {
        for (QWidget* locked : std::initializer_list<QWidget*>{commandButtonPV_, textBoxMSName_, textBoxID_})
            locked->setEnabled(false);
    });
    connect(registerExistingWindow_, &RegisterExistingWindow::mapsetsChanged, this, &MainWindow::mapsetsChanged);
    connect(exportImportWindow_, &ExportImportWindow::mapsetsChanged, this, &MainWindow::mapsetsChanged);
    connect(fidWindow_, &FidWindow::mapsetsChanged, this, &MainWindow::mapsetsChanged);
    connect(tileNamesWindow_, &TileNamesWindow::mapsetsChanged, this, &MainWindow::mapsetsChanged);
}

bool MainWindow::startUp() {
    resetButtonColours();
    optionTdbNo_->setChecked(true);
    showOptionPictures();
    session_.start();
    retranslate();
    if (tasks::userEndsForMissingAdminRights(session_)) return false;
    findChild<QWidget*>("Label11")->hide();
    findChild<QWidget*>("Label12")->hide();
    if (const QString dir = qt(session_.settings.dir()); !dir.isEmpty() && QDir(dir).exists()) showTileFolder(dir);
    playProgramSound(session_.host.programFolder, "Intro.wav");
    // A `Wow64` that holds neither answer leaves the host registry root unset.
    (void)app::startWithHostRoot(session_, {});
    retranslate();
    refreshCacheButton(false);
    return true;
}

void MainWindow::showTileFolder(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) return;
    tileFolder_ = QDir::toNativeSeparators(dir.absolutePath());
    const QModelIndex index = folders_->index(dir.absolutePath());
    dir1_->setCurrentIndex(index);
    dir1_->scrollTo(index);
    file1_->clear();
    file1_->addItems(filesIn(tileFolder_, TilePatterns));
    selection_.reset();
    showSelection();
    // Storing only a new folder keeps a start-up quiet while the host programs hold the registry.
    if (text(tileFolder_) != session_.settings.dir())
        if (auto stored = session_.settings.setDir(text(tileFolder_)); !stored) reportFailure(stored.failure());
}

void MainWindow::retranslate() {
    const auto& catalog = session_.catalog;
    for (const auto& [key, value] : catalog.controls()) {
        const auto dot = key.find('.');
        const QString name = qt(key.substr(0, dot));
        if (dot != std::string::npos && key.substr(dot) != ".ToolTip") continue;  // another window's text
        if (auto* action = findChild<QAction*>(name)) {
            if (dot == std::string::npos) action->setText(qt(value));
            continue;
        }
        auto* widget = centralWidget()->findChild<QWidget*>(name);
        if (!widget) continue;
        if (dot != std::string::npos) widget->setToolTip(qt(value));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(qt(value));
        else if (auto* labelWidget = qobject_cast<QLabel*>(widget)) labelWidget->setText(qt(value));
        else if (auto* box = qobject_cast<QLineEdit*>(widget)) box->setText(qt(value));
    }
    listMapsetGMP_->setToolTip(listMapsetName_->toolTip());
    cmdExpImp_->setToolTip(qt(session_.msg(Msg::TipExportImport)));
    file1_->setToolTip(qt(session_.msg(Msg::TipSelectionModes)));
    commandKompa_->setText(qt(session_.msg(Msg::CaptionClearTileCache)));
    checkTypfile_->setText(qt(session_.msg(Msg::CaptionUseTypeFile)));
    console_->retranslate();
    if (settingsWindow_) settingsWindow_->reload();
    // The placeholder of an empty selection is a catalog text too.
    if (selection_.chosenFiles().empty()) {
        selection_.reset();
        showSelection();
    }
}

void MainWindow::showOptionPictures() {
    const bool makeFiles = optionTdbNo_->isChecked();
    optionTdbNo_->setIcon(optionPicture(OptionKind::MakeFiles, makeFiles));
    optionTdbYes_->setIcon(optionPicture(OptionKind::FilesExist, !makeFiles));
}

void MainWindow::resetButtonColours() {
    for (auto* button : taskButtons_) button->setStyleSheet(RestColour);
}

void MainWindow::highlight(QPushButton* button) {
    resetButtonColours();
    button->setStyleSheet(HighlightColour);
}

void MainWindow::addMapset() {
    highlight(commandHinzufuegen_);
    applyControlRules(*centralWidget(), MainState::SelectingTiles);
    textBoxMSName_->clear();
    showTypeFileChooser(checkTypfile_->isChecked());
    if (optionTdbYes_->isChecked()) {
        registerExistingWindow_->showForTiles(tileFolder_, selection_.gmapsuppSelected());
        findChild<QWidget*>("Frame2")->show();
        listMapsetGMP_->hide();
        return;
    }
    chooseFolder();
}

void MainWindow::chooseFolder() {
    if (const auto folder = session_.dialogs.chooseFolder("Ordner auswaehlen", text(tileFolder_)))
        showTileFolder(qt(*folder));
}

void MainWindow::addTile(QListWidgetItem* item) {
    selection_.addFromFolder(text(tileFolder_), text(item->text()));
    showSelection();
}

void MainWindow::addDropped(const std::vector<std::string>& files) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    selection_.addDropped(files, text(tileFolder_), platform::pathText(session_.host.programFolder));
    QApplication::restoreOverrideCursor();
    showSelection();
}

void MainWindow::showSelection() {
    list1_->clear();
    for (const auto& entry : selection_.entries()) list1_->addItem(qt(entry));
    command1_->setEnabled(selection_.selectionFinishedEnabled());
    if (selection_.nextMapsetEnabled()) command2_->setEnabled(true);
    if (!selection_.levelAndZoomVisible()) {
        textLevel_->hide();
        textZoom_->hide();
    }
}

void MainWindow::finishSelection() {
    showTypeFileChooser(false);
    if (selection_.gmapsuppSelected()) {
        textLevel_->hide();
        textZoom_->hide();
        integrate();
        return;
    }
    applyControlRules(*centralWidget(), MainState::Naming);
    if (!refreshCatalog()) return;
    std::optional<Result<std::uint16_t>> fid;
    runWhileResponsive(centralWidget(), [&] { fid.emplace(tasks::findFreeFid(session_)); });
    if (*fid) textBoxID_->setText(QString::number(**fid));
    else reportFailure(fid->failure());
    textBoxMSName_->setFocus();
}

void MainWindow::integrate() {
    tasks::IntegrateRequest request;
    for (const auto& file : selection_.chosenFiles()) request.tiles.push_back(platform::pathFromText(file));
    if (!selection_.gmapsuppSelected()) {
        request.name = text(textBoxMSName_->text());
        request.fid = text(textBoxID_->text());
    }
    if (auto* typ = fileTypefile_->currentItem(); typ && checkTypfile_->isChecked())
        request.typeFile = platform::pathFromText(text(typ->toolTip()));
    applyControlRules(*centralWidget(), MainState::Integrating);
    std::optional<Result<tasks::IntegrateReport>> integrated;
    try {
        runWhileResponsive(centralWidget(),
                           [&] { integrated.emplace(tasks::integrateTiles(session_, request, *console_)); });
    } catch (const std::exception& e) {
        integrated.emplace(fail(e.what()));
    }
    applyControlRules(*centralWidget(), MainState::Integrated);
    refreshCatalog();  // whatever the run left installed
    if (*integrated) playProgramSound(session_.host.programFolder, "Success.wav");
    else reportFailure(integrated->failure());
}

void MainWindow::backToIdle() {
    mode_ = MainState::Idle;
    picked_.reset();
    resetButtonColours();
    applyControlRules(*centralWidget(), MainState::Idle);
    listID_->clear();
    showTileFolder(tileFolder_);
}

void MainWindow::nextMapset() {
    backToIdle();
    if (!startUp()) {
        close();
        return;
    }
    listLoeschen_->clear();
    textBoxMSName_->clear();
    applyControlRules(*centralWidget(), MainState::NextMapset);
    showTypeFileChooser(checkTypfile_->isChecked());
}

void MainWindow::enterManagementMode(QPushButton* button, MainState state) {
    mode_ = state;
    picked_.reset();
    highlight(button);
    applyControlRules(*centralWidget(), state);
    if (state == MainState::Removing) {
        const auto catalog = runTask<registration::InstalledCatalog>(
            [this] { return tasks::listMapsetsForRemoval(session_); });
        if (catalog) fillCatalogLists(*catalog);
        else reportFailure(catalog.failure());
    } else {
        refreshCatalog();
    }
    if (state == MainState::Renaming) {
        commandNameuebernehmen_->setText(qt(session_.msg(Msg::CaptionUseNewName)));
        textMapsetname_->setText(qt(session_.msg(Msg::CaptionTypeNewName)));
    }
}

void MainWindow::mapsetDoubleClicked(CatalogList list, QListWidgetItem* item) {
    const int row = item->listWidget()->row(item);
    std::optional<registration::CatalogEntry> entry;
    if (list == CatalogList::Packages) {
        // Without package folders the list's first line says so.
        const int index = row - (catalog_.packages.noPackageFolders ? 1 : 0);
        if (index >= 0 && static_cast<std::size_t>(index) < catalog_.packages.records.size())
            entry = registration::CatalogEntry{true, static_cast<std::size_t>(index)};
    } else if (row >= 0 && static_cast<std::size_t>(row) < catalog_.registry.size()) {
        entry = registration::CatalogEntry{false, static_cast<std::size_t>(row)};
    }
    const CatalogAction action = catalogAction(mode_, list);
    if (!entry || action == CatalogAction::None) return;
    const tasks::MapsetChoice choice = choiceFor(catalog_, *entry);
    if (action == CatalogAction::Remove) {
        removeMapset(choice);
        return;
    }
    applyControlRules(*centralWidget(), MainState::MapsetPicked);
    picked_ = choice;
    pickedPackage_ = entry->package;
    const auto name = entry->package ? catalog_.packages.records[entry->index].name
                                     : catalog_.registry[entry->index].shownName();
    switch (action) {
        case CatalogAction::ChangeFid: fidWindow_->showMapset(choice); break;
        case CatalogAction::ListTiles:
            applyControlRules(*centralWidget(), MainState::TilesPicked);
            if (!tileNamesWindow_->showMapset(choice)) applyControlRules(*centralWidget(), MainState::MapsetReleased);
            break;
        case CatalogAction::Rename:
            applyControlRules(*centralWidget(), MainState::NamePicked);
            textMapsetname_->setText(qt(name));
            break;
        case CatalogAction::ChooseTypeFile:
            applyControlRules(*centralWidget(), MainState::TypeFilePicked);
            textBoxMSName_->setText(entry->package ? item->text() : qt(name));
            break;
        case CatalogAction::None:
        case CatalogAction::Remove: break;
    }
}

void MainWindow::removeMapset(const tasks::MapsetChoice& choice) {
    const auto removed = runTask<void>([&] { return tasks::removeMapset(session_, choice); });
    if (!removed) reportFailure(removed.failure());
    refreshCatalog();
    commandFilename_->setEnabled(true);
    listLoeschen_->show();
}

void MainWindow::newNameEdited() {
    const QString text = textMapsetname_->text();
    qsizetype blanks = 0;
    while (blanks < text.size() && text[blanks] == ' ') ++blanks;
    if (blanks > 0) textMapsetname_->setText(text.mid(blanks));
    commandNameuebernehmen_->setEnabled(true);
}

void MainWindow::newNameLeft() {
    if (mode_ != MainState::Renaming || !textMapsetname_->isVisible()) return;
    const std::string name =
        app::validatedMapsetName(text(textMapsetname_->text()), session_.dialogs, session_.catalog);
    if (qt(name) == textMapsetname_->text()) return;
    textMapsetname_->setText(qt(name));
    commandNameuebernehmen_->setEnabled(false);
}

void MainWindow::takeNewName() {
    if (!picked_) return;
    const tasks::RenameRequest request{*picked_, text(textMapsetname_->text())};
    const auto renamed = runTask<void>([&] { return tasks::renameMapset(session_, request); });
    if (!renamed) reportFailure(renamed.failure());
    mode_ = MainState::Idle;
    picked_.reset();
    applyControlRules(*centralWidget(), MainState::NameTaken);
    refreshCatalog();
    if (renamed) playProgramSound(session_.host.programFolder, "Success.wav");
    resetButtonColours();
}

void MainWindow::attachTypeFile() {
    if (!picked_) return;
    tasks::TypeFileRequest request{*picked_, std::nullopt};
    if (auto* typ = fileTypefile_->currentItem(); typ && checkTypfile_->isChecked())
        request.typeFile = platform::pathFromText(text(typ->toolTip()));
    const auto changed = runTask<void>([&] { return tasks::changeTypeFile(session_, request); });
    if (!changed) {
        reportFailure(changed.failure());
        commandTypeaendern_->setStyleSheet(RestColour);
        return;
    }
    if (pickedPackage_) {
        commandTypeaendern_->setStyleSheet(RestColour);
        refreshCatalog();
        if (request.typeFile) listMapsetGMP_->hide();
        return;
    }
    playProgramSound(session_.host.programFolder, "Success.wav");
    if (!request.typeFile) {
        refreshCatalog();
        return;
    }
    checkTypfile_->setChecked(false);
    backToIdle();
}

void MainWindow::emptyTileCache() {
    highlight(commandKompa_);
    const auto caption = runTask<std::string>(
        [this, progress = feedProgressBar(cacheProgress_)] { return tasks::emptyBaseCampTileCache(session_, progress); });
    cacheProgress_->hide();
    if (caption) commandKompa_->setText(qt(*caption));
    else reportFailure(caption.failure());
    resetButtonColours();
}

void MainWindow::refreshCacheButton(bool withNotice) {
    const auto refreshed = tasks::refreshBaseCampCacheButton(session_);
    if (refreshed.caption) commandKompa_->setText(qt(*refreshed.caption));
    // The notice goes where the pointer is, not into a box that each move would open again.
    if (withNotice && refreshed.notice) QToolTip::showText(QCursor::pos(), qt(*refreshed.notice), commandKompa_);
}

void MainWindow::mapsetsChanged() {
    refreshCatalog();
    // Back in the management mode, so that the next mapset can be picked.
    if (catalogAction(mode_, CatalogList::Packages) != CatalogAction::None) applyControlRules(*centralWidget(), mode_);
}

void MainWindow::showLatitudeWindow() {
    latitudeWindow_->retranslate();
    bringToFront(*latitudeWindow_);
}

void MainWindow::showTypeFileChooser(bool shown) {
    for (QWidget* control : std::initializer_list<QWidget*>{drive2_, dirTypefile_, fileTypefile_, labelTypefile_})
        control->setVisible(shown);
}

void MainWindow::showTypeFolder(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    dirTypefile_->setCurrentIndex(typeFolders_->index(path));
    fileTypefile_->clear();
    labelTypefile_->clear();
    for (const auto& name : filesIn(path, TypeFilePatterns)) {
        auto* item = new QListWidgetItem(name, fileTypefile_);
        item->setToolTip(QDir::toNativeSeparators(QDir(path).filePath(name)));
    }
    if (fileTypefile_->count() > 0) fileTypefile_->setCurrentRow(0);
}

void MainWindow::nameEdited() {
    textBoxID_->setEnabled(true);
    commandButtonPV_->setEnabled(true);
}

void MainWindow::nameLeft() {
    const std::string name = app::validatedMapsetName(text(textBoxMSName_->text()), session_.dialogs, session_.catalog);
    if (qt(name) != textBoxMSName_->text()) textBoxMSName_->setText(qt(name));
    if (app::nameInUse(name, namesInUse_, session_.dialogs, session_.catalog)) {
        textBoxID_->setEnabled(false);
        commandButtonPV_->setEnabled(false);
    }
}

void MainWindow::fidLeft() {
    const bool taken = app::fidInUse(text(textBoxID_->text()), namesInUse_, session_.dialogs, session_.catalog);
    if (taken) commandButtonPV_->setEnabled(false);
    textBoxMSName_->setEnabled(!taken);
}

void MainWindow::switchLanguage() {
    if (auto stored = app::switchLanguage(session_.settings, session_.catalog, {text(tileFolder_), {}, {}});
        !stored)
        reportFailure(stored.failure());
    retranslate();
}

void MainWindow::restoreGerman() {
    if (auto stored = app::restoreGerman(session_.settings, session_.catalog, {text(tileFolder_), {}, {}}); !stored)
        reportFailure(stored.failure());
    retranslate();
}

void MainWindow::openHelp() {
    const QString faq = qt(platform::pathText(session_.host.programFolder / "FAQ.html"));
    if (!QFileInfo::exists(faq)) QDesktopServices::openUrl(QUrl(OnlineHelpUrl));
    else QDesktopServices::openUrl(QUrl::fromLocalFile(faq));
}

bool MainWindow::refreshCatalog() {
    const auto catalog = runTask<registration::InstalledCatalog>([this] { return tasks::listMapsets(session_); });
    if (!catalog) {
        reportFailure(catalog.failure());
        return false;
    }
    fillCatalogLists(*catalog);
    return true;
}

void MainWindow::fillCatalogLists(const registration::InstalledCatalog& catalog) {
    for (auto* l : {listMapsetName_, listID_, listSubkey_, listLoeschen_, listMapsetGMP_}) l->clear();
    for (const auto& record : catalog.registry) {
        listMapsetName_->addItem(qt(record.shownName()));
        listLoeschen_->addItem(qt(record.shownName()));
        listID_->addItem(qt(record.fid));
        listSubkey_->addItem(qt(record.subkey));
    }
    if (catalog.packages.noPackageFolders) listMapsetGMP_->addItem(qt(session_.msg(Msg::MsgNoGmpMapsets)));
    for (const auto& package : catalog.packages.records) listMapsetGMP_->addItem(qt(package.display()));
    namesInUse_ = tasks::namesInUse(catalog);
    catalog_ = catalog;
}

template <class T>
Result<T> MainWindow::runTask(const std::function<Result<T>()>& task) {
    std::optional<Result<T>> result;
    try {
        runWhileResponsive(centralWidget(), [&] { result.emplace(task()); });
    } catch (const std::exception& e) {
        result.emplace(fail(e.what()));
    }
    return std::move(*result);
}

void MainWindow::reportFailure(const Failure& failure) {
    if (failure.kind != FailureKind::Error) return;
    session_.dialogs.inform(app::describeFailure(failure, session_.catalog), app::DefaultTitle,
                            app::MessageIcon::Critical);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!tileFolder_.isEmpty() && text(tileFolder_) != session_.settings.dir())
        if (auto stored = session_.settings.storeDirVerified(text(tileFolder_)); !stored)
            reportFailure(stored.failure());
    console_->close();
    if (settingsWindow_) settingsWindow_->close();
    for (QWidget* window : std::initializer_list<QWidget*>{latitudeWindow_, fidWindow_, tileNamesWindow_,
                                                           registerExistingWindow_, exportImportWindow_,
                                                           cacheFoldersWindow_})
        window->close();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label9_ && event->type() == QEvent::MouseButtonRelease) {
        restoreGerman();
        return true;
    }
    if (watched == labelGMPFolder_ && event->type() == QEvent::MouseButtonRelease) {
        cacheFoldersWindow_->showRefreshed();
        return true;
    }
    if (watched == commandKompa_ && event->type() == QEvent::Enter) {
        refreshCacheButton(true);
        return false;
    }
    if (watched == listLoeschen_ && event->type() == QEvent::FocusOut) {
        commandFilename_->setEnabled(true);
        return false;
    }
    if (watched == list1_ && event->type() == QEvent::FocusOut) {
        selection_.focusLost();
        return false;
    }
    if (watched == list1_->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> files;
            for (const auto& url : drop->mimeData()->urls())
                if (url.isLocalFile()) files.push_back(text(QDir::toNativeSeparators(url.toLocalFile())));
            drop->acceptProposedAction();
            addDropped(files);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace veldra::gui
