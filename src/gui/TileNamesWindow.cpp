#include "gui/TileNamesWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <exception>
#include <optional>

#include "app/FailureText.h"
#include "app/Session.h"
#include "formats/TdbTileList.h"
#include "gui/CountProgress.h"
#include "gui/TaskRunner.h"
#include "gui/TileCoverageView.h"
#include "gui/WindowPlacement.h"
#include "tasks/TileTasks.h"

namespace veldra::gui {
namespace {

std::string text(const QLineEdit* field) { return field->text().toStdString(); }

// The list shows the lines and the pointer of one tile; the view its place.
std::vector<CoverageTile> coverageOf(const registration::TileListing& listing) {
    std::vector<CoverageTile> tiles;
    for (const auto& listed : listing.tiles)
        tiles.push_back({listed.tile.bounds, QString::fromStdString(formats::tileFileName(listed.tile.number))});
    return tiles;
}

}  // namespace

TileNamesWindow::TileNamesWindow(app::Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      label1_(new QLabel(this)),
      tileList_(new QListWidget(this)),
      coverage_(new TileCoverageView(this)),
      textDp_(new QLineEdit(this)),
      changeButton_(new QPushButton(this)),
      progress_(countProgressBar(this, "ProgressBarDP")),
      cancelButton_(new QPushButton(this)) {
    setObjectName("FormMaptilename");
    label1_->setObjectName("Label1");
    tileList_->setObjectName("Listmaptilename");
    coverage_->setObjectName("TileCoverage");
    textDp_->setObjectName("TextDP");
    changeButton_->setObjectName("CommandDPAendern");
    cancelButton_->setObjectName("CommandDPCancel");
    setModal(false);

    label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label1_->setWordWrap(true);
    // Two digits are all a draw priority has; the field is sized for three.
    textDp_->setMaximumWidth(textDp_->fontMetrics().horizontalAdvance("0000") + 16);
    cancelButton_->setEnabled(false);
    progress_->show();  // with the count of the tiles listed

    auto* tiles = new QSplitter(Qt::Horizontal, this);
    tiles->addWidget(tileList_);
    tiles->addWidget(coverage_);
    tiles->setStretchFactor(0, 3);
    tiles->setStretchFactor(1, 2);
    tiles->setChildrenCollapsible(false);

    auto* change = new QHBoxLayout;
    change->addWidget(changeButton_);
    change->addWidget(textDp_);
    change->addWidget(progress_, 1);
    change->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(tiles, 1);
    layout->addLayout(change);

    connect(tileList_, &QListWidget::currentRowChanged, coverage_, &TileCoverageView::highlight);
    connect(coverage_, &TileCoverageView::tileClicked, tileList_, [this](int row) { tileList_->setCurrentRow(row); });
    connect(textDp_, &QLineEdit::textEdited, this, &TileNamesWindow::limitValue);
    connect(textDp_, &QLineEdit::editingFinished, this, &TileNamesWindow::checkValueGiven);
    connect(changeButton_, &QPushButton::clicked, this, &TileNamesWindow::changeDrawPriority);
    // Each file holds one value, old or new: the run may end between two files.
    connect(cancelButton_, &QPushButton::clicked, this, [this] { stopping_.request_stop(); });
    retranslate();
    const int line = fontMetrics().height();
    resize(line * 52, line * 26);
}

void TileNamesWindow::retranslate() {
    setWindowTitle(QString::fromStdString(session_.msg(Msg::CaptionTileNamesWindow)));
    changeButton_->setText(QString::fromStdString(session_.catalog.control("FormMaptilename.CommandDPAendern")));
    cancelButton_->setText(QString::fromStdString(session_.msg(Msg::CaptionButtonCancel)));
    coverage_->setToolTip(QString::fromStdString(session_.msg(Msg::TipTileCoverage)));
}

bool TileNamesWindow::showMapset(const tasks::MapsetChoice& choice) {
    retranslate();
    std::optional<Result<registration::TileListing>> listing;
    try {
        runWhileResponsive(this, [&] { listing.emplace(tasks::listTiles(session_, choice)); });
    } catch (const std::exception& e) {
        listing.emplace(fail(e.what()));
    }
    if (!*listing) {
        reportFailure(listing->failure());
        return false;
    }
    choice_ = choice;
    fillList(**listing);
    const int count = static_cast<int>((*listing)->tiles.size());
    progress_->setRange(0, count);
    progress_->setValue(count);
    changeButton_->setEnabled(true);
    bringToFront(*this);
    return true;
}

void TileNamesWindow::fillList(const registration::TileListing& listing) {
    const int row = tileList_->currentRow();
    label1_->setText(QString::fromStdString(session_.host.paths.toHost(listing.folder)));
    tileList_->clear();
    // The field holds the value read last, as after reading every tile in turn.
    std::optional<std::uint8_t> last;
    for (const auto& listed : listing.tiles) {
        tileList_->addItem(QString::fromStdString(listing.line(listed)));
        if (const auto value = listed.lastDrawPriority()) last = value;
    }
    textDp_->setText(last ? QString::number(*last) : QString());
    coverage_->setTiles(coverageOf(listing));
    if (row >= 0 && row < tileList_->count()) tileList_->setCurrentRow(row);
}

void TileNamesWindow::limitValue() {
    // Above 31 the field shows 30 at once; anything typed makes the change available again.
    const auto typed = registration::readTypedDrawPriority(text(textDp_));
    if (typed.value != 0 && QString::number(typed.value) != textDp_->text().trimmed())
        textDp_->setText(QString::number(typed.value));
    changeButton_->setEnabled(true);
}

void TileNamesWindow::checkValueGiven() {
    if (registration::readTypedDrawPriority(text(textDp_)).empty)
        session_.dialogs.inform(registration::NoDrawPriorityTyped);
}

void TileNamesWindow::changeDrawPriority() {
    changeButton_->setEnabled(false);
    // An empty field was reported when it was left; nothing to write.
    if (registration::readTypedDrawPriority(text(textDp_)).empty) return;
    const auto progress = feedProgressBar(progress_);
    progress_->reset();
    changeButton_->setStyleSheet("background-color: rgb(255, 200, 100)");
    stopping_ = std::stop_source();
    // Everything but the bar and its cancel button waits for the run.
    for (QWidget* control : std::initializer_list<QWidget*>{tileList_, coverage_, textDp_}) control->setEnabled(false);
    cancelButton_->setEnabled(true);
    std::optional<Result<std::size_t>> changed;
    try {
        const tasks::DrawPriorityRequest request{choice_, text(textDp_)};
        runWhileResponsive(nullptr, [&, stop = stopping_.get_token()] {
            changed.emplace(tasks::changeDrawPriority(session_, request, progress, stop));
        });
    } catch (const std::exception& e) {
        changed.emplace(fail(e.what()));
    }
    cancelButton_->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{tileList_, coverage_, textDp_}) control->setEnabled(true);
    changeButton_->setStyleSheet(QString());
    if (!*changed) return reportFailure(changed->failure());
    // The lines show the values now in the files.
    if (const auto listing = tasks::listTiles(session_, choice_)) fillList(*listing);
    emit mapsetsChanged();
}

void TileNamesWindow::reportFailure(const Failure& failure) {
    if (failure.kind != FailureKind::Error) return;
    session_.dialogs.inform(app::describeFailure(failure, session_.catalog), app::DefaultTitle,
                            app::MessageIcon::Critical);
}

}  // namespace veldra::gui
