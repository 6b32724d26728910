#include "gui/LatitudeWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

#include "app/FailureText.h"
#include "app/Session.h"
#include "tasks/LatitudeTask.h"

namespace veldra::gui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

LatitudeWindow::LatitudeWindow(app::Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      label1_(named(new QLabel, "Label1")),
      textFID_(named(new QLineEdit, "TextFID")),
      textPID_(named(new QLineEdit, "TextPID")),
      textLatitude_(named(new QLineEdit, "TextLatitude")),
      labelLatitude_(named(new QLabel, "LabelLatitude")),
      labelSuggested_(named(new QLabel, "LabelSuggested")),
      cmdShow_(named(new QPushButton, "CmdShow")),
      cmdSet_(named(new QPushButton, "CmdSet")) {
    setObjectName("fLatitude");
    label1_->setWordWrap(true);
    labelSuggested_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label1_, 0, 0, 1, 3);
    layout->addWidget(new QLabel("FID"), 1, 0);
    layout->addWidget(textFID_, 1, 1);
    layout->addWidget(new QLabel("PID"), 2, 0);
    layout->addWidget(textPID_, 2, 1);
    layout->addWidget(labelLatitude_, 3, 0, 1, 3);
    layout->addWidget(textLatitude_, 4, 0, 1, 2);
    layout->addWidget(labelSuggested_, 4, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdShow_);
    buttons->addWidget(cmdSet_);
    buttons->addStretch();
    layout->addLayout(buttons, 5, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(6, 1);

    // The number boxes drop what is no number, as the user types it.
    for (auto* box : {textFID_, textPID_}) {
        connect(box, &QLineEdit::textChanged, this, [box] {
            if (!box->text().contains(QRegularExpression("^[0-9]*$"))) box->clear();
        });
        connect(box, &QLineEdit::editingFinished, this, &LatitudeWindow::showSuggestion);
    }
    connect(textLatitude_, &QLineEdit::editingFinished, this, &LatitudeWindow::latitudeLeft);
    connect(cmdShow_, &QPushButton::clicked, this, &LatitudeWindow::showStored);
    connect(cmdSet_, &QPushButton::clicked, this, &LatitudeWindow::setTyped);
    connect(labelSuggested_, &QLabel::linkActivated, this, &LatitudeWindow::takeSuggestion);
    resize(520, 0);
    retranslate();
}

void LatitudeWindow::retranslate() {
    const auto text = [this](Msg id) { return qt(session_.msg(id)); };
    setWindowTitle(qt(session_.catalog.control("MnuLatitude")));
    label1_->setText(text(Msg::MsgLatitudeExplanation));
    labelLatitude_->setText(text(Msg::CaptionLatitudeLeastDistortion));
    cmdShow_->setText(text(Msg::CaptionShowLatitude));
    cmdSet_->setText(text(Msg::CaptionSetLatitude));
    labelSuggested_->setToolTip(text(Msg::TipTakeSuggestedLatitude));
    // Room for the longest text the field shows.
    const QString nothingStored = text(Msg::MsgNoLatitudeStored);
    textLatitude_->setMinimumWidth(textLatitude_->fontMetrics().horizontalAdvance(nothingStored) + 16);
    if (suggested_ > 0)
        labelSuggested_->setText(text(Msg::CaptionSuggestedLatitude) +
                                 QString("<a href=\"take\">%1°</a>").arg(suggested_));
    // The explanation is longer in German: the window grows to show all of it.
    layout()->activate();
    const int wide = std::max(width(), layout()->minimumSize().width());
    resize(wide, std::max(height(), layout()->totalHeightForWidth(wide)));
}

tasks::LatitudeTarget LatitudeWindow::target() const {
    return {textFID_->text().toStdString(), textPID_->text().toStdString(), std::nullopt};
}

void LatitudeWindow::showStored() {
    const auto shown = tasks::showLatitude(session_, target());
    if (shown) textLatitude_->setText(qt(*shown));
    else tell(shown.failure());
    cmdShow_->setEnabled(true);
}

void LatitudeWindow::setTyped() {
    cmdSet_->setEnabled(false);
    const std::string typed = textLatitude_->text().toStdString();
    const auto shown =
        tasks::setLatitude(session_, target(), typed);
    // A stored number stays as typed; the automatic latitude shows what is stored now.
    if (shown && !tools::parseLatitude(typed)) textLatitude_->setText(qt(*shown));
    if (!shown) tell(shown.failure());
    cmdSet_->setEnabled(true);
}

void LatitudeWindow::latitudeLeft() {
    const auto latitude = tools::parseLatitude(textLatitude_->text().toStdString());
    if (latitude && (*latitude < tools::MinimumLatitude || *latitude > tools::MaximumLatitude))
        session_.dialogs.inform(session_.msg(Msg::MsgLatitudeOutOfRange));
    else cmdSet_->setEnabled(true);
}

void LatitudeWindow::showSuggestion() {
    const auto latitude = tasks::suggestLatitude(session_, target());
    // Only an installed mapset has an area to take a latitude from; other products show none.
    suggested_ = latitude ? *latitude : 0;
    labelSuggested_->clear();
    retranslate();
}

void LatitudeWindow::takeSuggestion() {
    if (suggested_ > 0) textLatitude_->setText(QString::number(suggested_));
}

void LatitudeWindow::tell(const Failure& failure) {
    if (failure.kind != FailureKind::Error) return;
    session_.dialogs.inform(app::describeFailure(failure, session_.catalog), app::DefaultTitle,
                            app::MessageIcon::Critical);
}

}  // namespace veldra::gui
