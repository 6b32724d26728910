#include "gui/ExportImportWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>
#include <optional>

#include "app/FailureText.h"
#include "app/Session.h"
#include "gui/CountProgress.h"
#include "gui/TaskRunner.h"
#include "gui/WindowPlacement.h"
#include "registration/NumberText.h"
#include "tasks/CatalogTasks.h"
#include "tasks/ExportImportTasks.h"

namespace veldra::gui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Where the host program's installer can be downloaded.
constexpr const char* MapSourceDownload = "https://support.garmin.com";

// `TextUrl`: a click chooses the installer, Enter starts it.
class InstallerField : public QLineEdit {
public:
    InstallerField(QWidget* parent, std::function<void()> clicked, std::function<void()> entered)
        : QLineEdit(parent), clicked_(std::move(clicked)), entered_(std::move(entered)) {
        setObjectName("TextUrl");
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        clicked_();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            entered_();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    std::function<void()> clicked_, entered_;
};

QListWidget* mapsetList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    return list;
}

}  // namespace

ExportImportWindow::ExportImportWindow(app::Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      listIMG_(mapsetList(this, "ListIMG")),
      listgmp_(mapsetList(this, "Listgmp")),
      commandExport_(new QPushButton(this)),
      commandImport_(new QPushButton(this)),
      progress_(countProgressBar(this, "ProgressBarCopy")),
      listURL_(mapsetList(this, "ListURL")),
      labelSource_(new QLabel(this)),
      textUrl_(new InstallerField(
          this, [this] { chooseInstaller(); }, [this] { startInstaller(); })) {
    setObjectName("ExportImport");
    commandExport_->setObjectName("CommandExport");
    commandImport_->setObjectName("CommandImport");
    labelSource_->setObjectName("LabelDownloadSource");
    labelIMG_ = new QLabel(this);
    labelIMG_->setObjectName("LabelIMG");
    labelgmp_ = new QLabel(this);
    labelgmp_->setObjectName("Labelgmp");

    auto* lists = new QGridLayout;
    lists->addWidget(labelIMG_, 0, 0);
    lists->addWidget(labelgmp_, 0, 1);
    lists->addWidget(listIMG_, 1, 0);
    lists->addWidget(listgmp_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(commandExport_);
    buttons->addWidget(commandImport_);
    buttons->addWidget(progress_, 1);
    buttons->addStretch(0);  // takes the room while the bar is hidden
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(listURL_);
    layout->addWidget(labelSource_);
    layout->addWidget(textUrl_);
    layout->addLayout(buttons);

    listURL_->addItem(QString());
    listURL_->addItem(QString());
    // Room for its two entries and no more: the window shrinks to the offer.
    listURL_->setFixedHeight(listURL_->fontMetrics().height() * 2 + 4 * listURL_->frameWidth() + 8);
    listURL_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QWidget* offer : std::initializer_list<QWidget*>{listURL_, labelSource_, textUrl_}) offer->hide();
    // One mapset is exported at a time, from either list.
    connect(listIMG_, &QListWidget::itemClicked, this, [this] {
        listgmp_->clearSelection();
        commandExport_->setEnabled(true);
    });
    connect(listgmp_, &QListWidget::itemClicked, this, [this] {
        listIMG_->clearSelection();
        commandExport_->setEnabled(true);
    });
    connect(commandExport_, &QPushButton::clicked, this, &ExportImportWindow::exportSelected);
    connect(commandImport_, &QPushButton::clicked, this, &ExportImportWindow::importFolder);
    connect(listURL_, &QListWidget::itemClicked, this, &ExportImportWindow::openSource);
    resize(640, 420);
}

void ExportImportWindow::showRefreshed() {
    retranslate();
    for (QWidget* offer : std::initializer_list<QWidget*>{listURL_, labelSource_, textUrl_}) offer->hide();
    for (QWidget* lists : std::initializer_list<QWidget*>{listIMG_, listgmp_, labelIMG_, labelgmp_}) lists->show();
    bringToFront(*this);
    reloadLists();
}

void ExportImportWindow::retranslate() {
    const auto msg = [this](Msg id) { return qt(session_.msg(id)); };
    setWindowTitle(msg(Msg::CaptionExportImportWindow));
    labelIMG_->setText(msg(Msg::CaptionRegistryMapsets));
    labelgmp_->setText(msg(Msg::CaptionGmapMapsets));
    commandExport_->setText(msg(Msg::CaptionExport));
    commandImport_->setText(msg(Msg::CaptionImport));
    labelSource_->setText(msg(Msg::TextChooseDownloadSource));
    listURL_->item(0)->setText(msg(Msg::TextMapSourceFromWeb) + MapSourceDownload);
    listURL_->item(1)->setText(msg(Msg::TextMapSourceFromPath));
    textUrl_->setPlaceholderText(msg(Msg::TextNetworkPathHint));
}

bool ExportImportWindow::reloadLists() {
    std::optional<Result<registration::InstalledCatalog>> catalog;
    try {
        runWhileResponsive(this, [&] { catalog.emplace(tasks::listMapsets(session_)); });
    } catch (const std::exception& e) {
        catalog.emplace(fail(e.what()));
    }
    listIMG_->clear();
    listgmp_->clear();
    commandExport_->setEnabled(false);
    if (!*catalog) {
        report(catalog->failure());
        return false;
    }
    catalog_ = std::move(**catalog);
    for (const auto& record : catalog_.registry) listIMG_->addItem(qt(record.shownName()));
    for (const auto& package : catalog_.packages.records) listgmp_->addItem(qt(package.name));
    return true;
}

std::optional<tasks::MapsetChoice> ExportImportWindow::selectedMapset() const {
    std::optional<registration::CatalogEntry> entry;
    if (listIMG_->currentItem() && listIMG_->currentItem()->isSelected())
        entry = registration::CatalogEntry{false, static_cast<std::size_t>(listIMG_->currentRow())};
    else if (listgmp_->currentItem() && listgmp_->currentItem()->isSelected())
        entry = registration::CatalogEntry{true, static_cast<std::size_t>(listgmp_->currentRow())};
    if (!entry) return std::nullopt;
    // By name where that names this one mapset, else by FID and PID.
    const bool package = entry->package;
    const std::string name = package ? catalog_.packages.records[entry->index].name
                                     : catalog_.registry[entry->index].shownName();
    const std::string fid = package ? catalog_.packages.records[entry->index].fid : catalog_.registry[entry->index].fid;
    const std::string pid = package ? catalog_.packages.records[entry->index].pid : catalog_.registry[entry->index].pid;
    if (const auto byName = tasks::chooseMapset(catalog_, {name, std::nullopt});
        byName && byName->package == entry->package && byName->index == entry->index)
        return tasks::MapsetChoice{name, std::nullopt};
    return tasks::MapsetChoice{fid, registration::wholeNumber(pid)};
}

void ExportImportWindow::exportSelected() {
    const auto choice = selectedMapset();
    if (!choice) {
        session_.dialogs.inform(session_.msg(Msg::MsgNothingSelectedForExport), app::DefaultTitle,
                                app::MessageIcon::Information);
        return;
    }
    std::optional<Result<std::filesystem::path>> exported;
    try {
        progress_->reset();
        runWhileResponsive(this, [&, progress = feedProgressBar(progress_)] {
            exported.emplace(tasks::exportMapset(session_, {*choice, std::nullopt}, progress));
        });
    } catch (const std::exception& e) {
        exported.emplace(fail(e.what()));
    }
    if (!*exported) report(exported->failure());
}

void ExportImportWindow::importFolder() {
    std::optional<Result<tasks::ImportResult>> imported;
    try {
        progress_->reset();
        runWhileResponsive(this, [&, progress = feedProgressBar(progress_)] {
            imported.emplace(tasks::importMapset(session_, {}, progress));
        });
    } catch (const std::exception& e) {
        imported.emplace(fail(e.what()));
    }
    if (!*imported) {
        report(imported->failure());
        return;
    }
    emit mapsetsChanged();
    reloadLists();
    if ((*imported)->installMapSource) offerMapSource();
}

void ExportImportWindow::offerMapSource() {
    for (QWidget* lists : std::initializer_list<QWidget*>{listIMG_, listgmp_, labelIMG_, labelgmp_}) lists->hide();
    listURL_->show();
    labelSource_->show();
    resize(width(), layout()->totalHeightForWidth(width()));
}

void ExportImportWindow::openSource(QListWidgetItem* item) {
    if (listURL_->row(item) == 0) {
        session_.host.shell.openDocument(MapSourceDownload);
        return;
    }
    textUrl_->show();
    textUrl_->setFocus();
}

void ExportImportWindow::chooseInstaller() {
    const auto chosen =
        session_.dialogs.chooseFile(session_.msg(Msg::TextMapSourceFromPath), "exe-Files|*.exe", {});
    if (chosen && !chosen->empty()) textUrl_->setText(qt(*chosen));
}

void ExportImportWindow::startInstaller() {
    const std::string program = textUrl_->text().toStdString();
    if (program.size() < 3 || program.substr(program.size() - 3) != "exe") return;
    session_.host.processes.startDetached("\"" + program + "\"");
}

void ExportImportWindow::report(const Failure& failure) {
    if (failure.kind != FailureKind::Error) return;
    session_.dialogs.inform(app::describeFailure(failure, session_.catalog), app::DefaultTitle,
                            app::MessageIcon::Critical);
}

}  // namespace veldra::gui
