#include "gui/SettingsWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/FailureText.h"
#include "app/Session.h"
#include "tasks/SettingsTask.h"

namespace veldra::gui {

SettingsWindow::SettingsWindow(app::Session& session, QWidget* parent)
    : QDialog(parent), session_(session), question_(new QLabel(this)), list1_(new QListWidget(this)) {
    setObjectName("FormEinstellungen");
    list1_->setObjectName("List1");
    question_->setObjectName("question");
    question_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question_);
    layout->addWidget(list1_);
    // The list holds one entry: room for two rows, the rest goes to the question.
    list1_->setFixedHeight(list1_->fontMetrics().height() * 2 + 4 * list1_->frameWidth() + 4);
    layout->addStretch();
    connect(list1_, &QListWidget::itemClicked, this, &SettingsWindow::askAgain);
    reload();
    resize(460, layout->totalHeightForWidth(460));
}

void SettingsWindow::reload() {
    const auto text = [this](Msg id) { return QString::fromStdString(session_.msg(id)); };
    setWindowTitle(text(Msg::CaptionSettingsWindow));
    question_->setText(text(Msg::MsgSettingsAskOs64));
    list1_->setToolTip(QString::fromStdString(session_.catalog.control("FormEinstellungen.List1.ToolTip")));
    list1_->clear();
    const std::string wow64 = session_.settings.wow64();
    if (wow64 == app::Wow64Yes) list1_->addItem(text(Msg::TextOs64));
    if (wow64 == app::Wow64No) list1_->addItem(text(Msg::TextOs32));
}

void SettingsWindow::askAgain(QListWidgetItem* item) {
    if (list1_->row(item) != 0) return;
    const bool os64 = session_.dialogs.ask(session_.msg(Msg::MsgSettingsAskOs64));
    if (const auto stored = tasks::storeOs64Answer(session_, os64);
        !stored && stored.failure().kind == FailureKind::Error)
        session_.dialogs.inform(app::describeFailure(stored.failure(), session_.catalog), app::DefaultTitle,
                                app::MessageIcon::Critical);
    reload();
}

}  // namespace veldra::gui
