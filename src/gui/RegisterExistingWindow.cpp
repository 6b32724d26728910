#include "gui/RegisterExistingWindow.h"

#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

#include "app/FailureText.h"
#include "app/Session.h"
#include "existing/ExistingFileChecks.h"
#include "existing/ExistingTdbAdoption.h"
#include "gmap/PackageName.h"
#include "gui/CountProgress.h"
#include "gui/TaskRunner.h"
#include "gui/WindowPlacement.h"
#include "platform/PathText.h"
#include "registration/NumberText.h"
#include "tasks/RegisterExistingTask.h"

namespace veldra::gui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string text(const QString& text) { return text.toStdString(); }

std::optional<std::filesystem::path> optionalPath(const QLineEdit* field) {
    if (field->text().isEmpty()) return std::nullopt;
    return platform::pathFromText(text(field->text()));
}

bool isFile(const QLineEdit* field) { return !field->text().isEmpty() && QFileInfo(field->text()).isFile(); }

}  // namespace

// A file field: what its check expects, its file dialog and its label.
struct RegisterExistingWindow::PathField {
    QLineEdit* edit;
    existing::FileField field;
    Msg label;
    Msg dialogTitle;
    const char* filter;
};

RegisterExistingWindow::RegisterExistingWindow(app::Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName("FormTDBvorhanden");
    const auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    textPfadTDB_ = field("TextPfadTDB");
    textPfadPreview_ = field("TextPfadPreview");
    textPfadLoc_ = field("TextPfadLoc");
    textPfadTyp_ = field("TextPfadTyp");
    textIndexFile_ = field("TextIndexFile");
    textMdr_ = field("TextMdr");
    textPfadTrf_ = field("TextPfadTrf");
    text1_ = field("Text1");
    textID_ = field("TextID");
    textPID_ = field("TextPID");
    commandregistriere_ = new QPushButton(this);
    commandregistriere_->setObjectName("Commandregistriere");
    commandgmapsatz_ = new QPushButton(this);
    commandgmapsatz_->setObjectName("Commandgmapsatz");
    progress_ = countProgressBar(this, "ProgressBarGmap");

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    const auto row = [&](const char* labelName, QWidget* control) {
        auto* label = new QLabel(this);
        label->setObjectName(labelName);
        label->setBuddy(control);
        form->addRow(label, control);
    };
    row("LabelTDB", textPfadTDB_);
    row("LabelPreview", textPfadPreview_);
    row("LabelLoc", textPfadLoc_);
    row("LabelTyp", textPfadTyp_);
    row("LabelIndex", textIndexFile_);
    row("LabelMdr", textMdr_);
    row("LabelTrf", textPfadTrf_);
    row("LabelName", text1_);
    auto* ids = new QHBoxLayout;
    auto* pidLabel = new QLabel("PID", this);
    pidLabel->setObjectName("LabelPID");
    ids->addWidget(textID_, 1);
    ids->addWidget(pidLabel);
    ids->addWidget(textPID_, 1);
    auto* fidLabel = new QLabel("FID", this);
    fidLabel->setObjectName("LabelFID");
    form->addRow(fidLabel, ids);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progress_, 1);
    buttons->addStretch(0);  // takes the room while the bar is hidden
    buttons->addWidget(commandgmapsatz_);
    buttons->addWidget(commandregistriere_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    for (QLineEdit* path : {textPfadTDB_, textPfadPreview_, textPfadTyp_, textIndexFile_, textMdr_, textPfadTrf_}) {
        path->installEventFilter(this);
        connect(path, &QLineEdit::editingFinished, this, [this, path] {
            for (const auto& f : fields())
                if (f.edit == path) checkPath(f);
        });
        connect(path, &QLineEdit::textChanged, this, &RegisterExistingWindow::updateCommands);
    }
    textPfadLoc_->installEventFilter(this);
    connect(textPfadLoc_, &QLineEdit::textChanged, this, &RegisterExistingWindow::updateCommands);
    connect(textPfadLoc_, &QLineEdit::editingFinished, this, &RegisterExistingWindow::storeTilesFolder);
    connect(textPfadTDB_, &QLineEdit::textChanged, this, &RegisterExistingWindow::readTdb);
    connect(text1_, &QLineEdit::textChanged, this, &RegisterExistingWindow::nameEdited);
    connect(textID_, &QLineEdit::textChanged, this, &RegisterExistingWindow::updateCommands);
    connect(commandregistriere_, &QPushButton::clicked, this, [this] { install(false); });
    connect(commandgmapsatz_, &QPushButton::clicked, this, [this] { install(true); });
    retranslate();
    updateCommands();
    resize(680, sizeHint().height());
}

std::vector<RegisterExistingWindow::PathField> RegisterExistingWindow::fields() const {
    using existing::FileField;
    return {{textPfadTDB_, FileField::Tdb, Msg::CaptionTdbPath, Msg::CaptionChooseTdb, "TDB-Files|*.TDB"},
            {textPfadPreview_, FileField::OverviewMap, Msg::CaptionPreviewPath, Msg::CaptionChoosePreview,
             "Preview-Files|*.IMG"},
            {textPfadTyp_, FileField::TypeFile, Msg::CaptionTypeFilePath, Msg::CaptionChooseTypeFile,
             "Type-Files|*.Typ"},
            {textIndexFile_, FileField::IndexFile, Msg::CaptionIndexFilePath, Msg::CaptionChooseMdxFile,
             "Index-Files|*.mdx"},
            {textMdr_, FileField::MdrFile, Msg::CaptionMdrFilePath, Msg::CaptionChooseMdrFile,
             "Index-Files|*_mdr.img;MDR*.IMG"},
            {textPfadTrf_, FileField::TrafficFile, Msg::CaptionTrafficFilePath, Msg::CaptionChooseTrafficFile,
             "traffic-files|*.trf"}};
}

void RegisterExistingWindow::showForTiles(const QString& tilesFolder, bool tilesFromDeviceImage) {
    tilesFolder_ = tilesFolder;
    tilesFromDeviceImage_ = tilesFromDeviceImage;
    clearFields();
    retranslate();
    bringToFront(*this);
}

void RegisterExistingWindow::retranslate() {
    const auto msg = [this](Msg id) { return qt(session_.msg(id)); };
    setWindowTitle(msg(Msg::CaptionRegisterExistingWindow));
    for (const auto& f : fields()) labelFor(f.edit)->setText(msg(f.label));
    // The two required files show their label as the hint of the empty field.
    textPfadTDB_->setPlaceholderText(msg(Msg::CaptionTdbPath));
    textPfadPreview_->setPlaceholderText(msg(Msg::CaptionPreviewPath));
    labelFor(textPfadLoc_)->setText(msg(Msg::CaptionTilesFolderPath));
    textPfadLoc_->setPlaceholderText(msg(Msg::TextClickToChooseFolder));
    labelFor(text1_)->setText(msg(Msg::CaptionMapsetNameField));
    commandregistriere_->setText(msg(Msg::CaptionRegisterMapset));
    nameEdited();
}

QLabel* RegisterExistingWindow::labelFor(const QLineEdit* edit) const {
    for (auto* label : findChildren<QLabel*>())
        if (label->buddy() == edit) return label;
    return nullptr;
}

bool RegisterExistingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == textPfadLoc_) {
            chooseTilesFolder();
            return true;
        }
        for (const auto& f : fields())
            if (watched == f.edit) {
                choosePath(f);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterExistingWindow::choosePath(const PathField& field) {
    const auto chosen = session_.dialogs.chooseFile(session_.msg(field.dialogTitle), field.filter, text(tilesFolder_));
    if (!chosen || chosen->empty()) return;
    field.edit->setText(qt(*chosen));
    checkPath(field);
}

void RegisterExistingWindow::chooseTilesFolder() {
    const auto chosen = session_.dialogs.chooseFolder(session_.msg(Msg::CaptionChooseTilesFolder), text(tilesFolder_));
    if (!chosen || chosen->empty()) return;
    textPfadLoc_->setText(qt(*chosen));
    storeTilesFolder();
}

void RegisterExistingWindow::storeTilesFolder() {
    const std::string folder = text(textPfadLoc_->text());
    if (folder.empty() || folder == session_.settings.lastDir()) return;
    if (auto stored = session_.settings.setLastDir(folder); !stored) report(stored.failure());
}

bool RegisterExistingWindow::checkPath(const PathField& field) {
    if (checking_) return false;  // a message box takes the focus: no second check of the same field
    checking_ = true;
    bool passed = true;
    if (field.field == existing::FileField::MdrFile && tilesFromDeviceImage_ && !field.edit->text().isEmpty() &&
        session_.dialogs.ask(session_.msg(Msg::MsgMdrFromDeviceImage))) {
        field.edit->clear();
    } else if (auto checked = existing::checkFileField(field.field, optionalPath(field.edit)); !checked) {
        passed = false;
        session_.dialogs.inform(app::describeFailure(checked.failure(), session_.catalog));
        if (checked.failure().message == Msg::MsgNoSpecialCharacters) field.edit->clear();
    }
    checking_ = false;
    return passed;
}

void RegisterExistingWindow::readTdb() {
    if (!isFile(textPfadTDB_) ||
        !existing::checkFileField(existing::FileField::Tdb, optionalPath(textPfadTDB_)))
        return;
    // A file that is no TDB ends the reading silently; registering names the fault.
    const auto adopted = existing::adoptExistingTdb(*optionalPath(textPfadTDB_));
    if (!adopted) return;
    text1_->setText(qt(adopted->shownName));
    textID_->setText(QString::number(adopted->fid));
    textPID_->setText(QString::number(adopted->pid));
    updateCommands();
}

void RegisterExistingWindow::nameEdited() {
    const QString cleaned = qt(gmap::cleanedMapsetName(text(text1_->text())));
    if (cleaned != text1_->text()) {
        const int cursor = text1_->cursorPosition();
        text1_->setText(cleaned);  // comes back here once with nothing left to clean
        text1_->setCursorPosition(cursor);
        return;
    }
    commandgmapsatz_->setText(qt(session_.msg(Msg::CaptionCreateGmapPrefix)) + cleaned +
                              qt(session_.msg(Msg::CaptionCreateGmapSuffix)));
}

void RegisterExistingWindow::updateCommands() {
    const bool ready = isFile(textPfadTDB_) && isFile(textPfadPreview_) && !textPfadLoc_->text().isEmpty() &&
                       QFileInfo(textPfadLoc_->text()).isDir() &&
                       registration::wholeNumber(text(textID_->text())).has_value();
    commandregistriere_->setEnabled(ready && !installing_);
    commandgmapsatz_->setEnabled(ready && !installing_);
}

void RegisterExistingWindow::install(bool asPackage) {
    if (asPackage && !isFile(textPfadPreview_)) {
        session_.dialogs.inform(session_.msg(Msg::MsgExistingPreviewInvalid));
        return;
    }
    tasks::RegisterExistingRequest request;
    auto& mapset = request.mapset;
    mapset.tdb = *optionalPath(textPfadTDB_);
    mapset.overviewMap = *optionalPath(textPfadPreview_);
    mapset.tilesFolder = *optionalPath(textPfadLoc_);
    mapset.typeFile = optionalPath(textPfadTyp_);
    mapset.indexFile = optionalPath(textIndexFile_);
    mapset.mdrFile = optionalPath(textMdr_);
    mapset.trafficFile = optionalPath(textPfadTrf_);
    mapset.name = text(text1_->text());
    mapset.fid = text(textID_->text());
    mapset.pid = text(textPID_->text());
    request.install = asPackage ? existing::ExistingInstall::GmapPackage : existing::ExistingInstall::Registry;

    installing_ = true;
    updateCommands();
    std::optional<Result<existing::RegisteredMapset>> registered;
    try {
        progress_->reset();
        runWhileResponsive(this, [&, progress = feedProgressBar(progress_)] {
            registered.emplace(tasks::registerExisting(session_, request, progress));
        });
    } catch (const std::exception& e) {
        registered.emplace(fail(e.what()));
    }
    installing_ = false;
    updateCommands();
    if (!*registered) {
        report(registered->failure());
        return;
    }
    emit mapsetsChanged();
    if (asPackage) {
        emit gmapPackageBuilt();
    } else {
        clearFields();
    }
}

void RegisterExistingWindow::clearFields() {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->clear();
    updateCommands();
}

void RegisterExistingWindow::report(const Failure& failure) {
    if (failure.kind != FailureKind::Error) return;
    session_.dialogs.inform(app::describeFailure(failure, session_.catalog), app::DefaultTitle,
                            app::MessageIcon::Critical);
}

}  // namespace veldra::gui
