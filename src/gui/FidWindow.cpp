#include "gui/FidWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <optional>

#include "app/FailureText.h"
#include "app/Session.h"
#include "gui/TaskRunner.h"
#include "gui/WindowPlacement.h"
#include "registration/NewFid.h"
#include "tasks/CatalogTasks.h"
#include "tasks/FidChangeTask.h"

namespace veldra::gui {
namespace {

// The name and current FID the window shows for the chosen mapset.
struct ChosenMapset {
    std::string name;
    std::string fid;
    bool package = false;
};

Result<ChosenMapset> readChoice(app::Session& session, const tasks::MapsetChoice& choice) {
    const auto catalog = tasks::listMapsets(session);
    if (!catalog) return catalog.failure();
    const auto entry = tasks::chooseMapset(*catalog, choice);
    if (!entry) return entry.failure();
    if (entry->package) {
        const auto& record = catalog->packages.records[entry->index];
        return ChosenMapset{record.name, record.fid, true};
    }
    const auto& record = catalog->registry[entry->index];
    return ChosenMapset{record.shownName(), record.fid, false};
}

// Runs a task off the UI thread; an exception becomes its failure.
template <class Answer, class Work>
Answer runTask(QWidget* window, Work work) {
    std::optional<Answer> answer;
    try {
        runWhileResponsive(window, [&] { answer.emplace(work()); });
    } catch (const std::exception& e) {
        answer.emplace(fail(e.what()));
    }
    return *answer;
}

}  // namespace

FidWindow::FidWindow(app::Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      text1_(new QLineEdit(this)),
      textMapname_(new QLineEdit(this)),
      label1_(new QLabel(this)),
      label2_(new QLabel(this)),
      command1_(new QPushButton(this)),
      command2_(new QPushButton(this)),
      commandExit_(new QPushButton(this)) {
    setObjectName("formFID");
    text1_->setObjectName("Text1");
    textMapname_->setObjectName("TextMapname");
    label1_->setObjectName("Label1");
    label2_->setObjectName("Label2");
    command1_->setObjectName("Command1");
    command2_->setObjectName("Command2");
    commandExit_->setObjectName("CommandExit");
    setModal(false);
    textMapname_->setReadOnly(true);
    label2_->setBuddy(text1_);

    auto* fields = new QGridLayout;
    fields->addWidget(textMapname_, 0, 0, 1, 2);
    fields->addWidget(label1_, 1, 0, 1, 2);
    fields->addWidget(label2_, 2, 0);
    fields->addWidget(text1_, 2, 1);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    buttons->addStretch();
    buttons->addWidget(commandExit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(text1_, &QLineEdit::editingFinished, this, &FidWindow::validateNewFid);
    connect(command1_, &QPushButton::clicked, this, &FidWindow::changeFid);
    connect(command2_, &QPushButton::clicked, this, &FidWindow::offerFreeFid);
    connect(commandExit_, &QPushButton::clicked, this, &QDialog::close);
    clearChoice();
    retranslate();
}

void FidWindow::retranslate() {
    const auto text = [this](Msg id) { return QString::fromStdString(session_.msg(id)); };
    setWindowTitle(text(Msg::CaptionFidWindow));
    label2_->setText(text(Msg::TextNewFid));
    command1_->setText(text(Msg::CaptionChangeFid));
    command2_->setText(text(Msg::CaptionOfferFreeFid));
    commandExit_->setText(text(Msg::CaptionCloseWindow));
    adjustSize();
}

void FidWindow::showMapset(const tasks::MapsetChoice& choice) {
    retranslate();
    clearChoice();
    const auto chosen = runTask<Result<ChosenMapset>>(this, [&] { return readChoice(session_, choice); });
    if (!chosen) return reportFailure(chosen.failure());
    choice_ = choice;
    textMapname_->setText(QString::fromStdString(chosen->name));
    label1_->setText(QString::fromStdString(session_.msg(Msg::TextFidLabel) + chosen->fid));
    // A package most often collides with a copy of itself: a free FID is at hand.
    if (chosen->package) offerFreeFid();
    bringToFront(*this);
}

void FidWindow::clearChoice() {
    text1_->clear();
    textMapname_->clear();
    command1_->setEnabled(false);
    label1_->setText(QString::fromStdString(session_.msg(Msg::TextFidLabel)).trimmed());
}

void FidWindow::validateNewFid() {
    const auto fid = registration::parseNewFid(text1_->text().toStdString());
    if (fid) {
        text1_->setText(QString::number(*fid));
        command1_->setEnabled(true);
        command2_->setEnabled(true);
        return;
    }
    command1_->setEnabled(false);
    const std::string& refusal = fid.failure().detail;
    if (refusal == registration::FidTooBig) session_.dialogs.inform(refusal);
    if (refusal == registration::FidTooBig || refusal == registration::FidNotANumber) text1_->clear();
}

void FidWindow::offerFreeFid() {
    const auto free = runTask<Result<std::uint16_t>>(this, [this] { return tasks::findFreeFid(session_); });
    if (!free) return reportFailure(free.failure());
    text1_->setText(QString::number(*free));
    command1_->setEnabled(!textMapname_->text().isEmpty());
}

void FidWindow::changeFid() {
    if (textMapname_->text().isEmpty()) return;
    command1_->setEnabled(false);
    const tasks::FidChangeRequest request{choice_, text1_->text().toStdString()};
    const auto changed = runTask<Status>(this, [&] { return tasks::changeFid(session_, request); });
    if (!changed && changed.failure().kind == FailureKind::AlreadyShown) {
        // In use by another mapset: the user picks another one.
        text1_->clear();
        return;
    }
    if (!changed) reportFailure(changed.failure());
    clearChoice();
    if (changed) emit mapsetsChanged();
}

void FidWindow::reportFailure(const Failure& failure) {
    if (failure.kind != FailureKind::Error) return;
    session_.dialogs.inform(app::describeFailure(failure, session_.catalog), app::DefaultTitle,
                            app::MessageIcon::Critical);
}

}  // namespace veldra::gui
