#include "gui/CacheFoldersWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
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
#include "tasks/CacheTasks.h"

namespace veldra::gui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QLabel* pathLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A size line that empties its cache when clicked, as its clear button does.
class ClickableLine : public QLabel {
public:
    ClickableLine(QWidget* parent, const char* name, std::function<void()> clicked)
        : QLabel(parent), clicked_(std::move(clicked)) {
        setObjectName(name);
        setWordWrap(true);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (clicked_ && isEnabled()) clicked_();
    }

private:
    std::function<void()> clicked_;
};

}  // namespace

CacheFoldersWindow::CacheFoldersWindow(app::Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      label1_(pathLabel(this, "Label1")),
      label2_(pathLabel(this, "Label2")),
      label3_(pathLabel(this, "Label3")),
      explanation_(new QLabel(this)),
      progress_(countProgressBar(this, "ProgressBarCache")) {
    setObjectName("Form1");
    explanation_->setObjectName("TextExplanation");
    explanation_->setWordWrap(true);

    auto* caches = new QGroupBox(this);
    caches->setObjectName("FrameCaches");
    auto* grid = new QGridLayout(caches);
    const char* lineNames[] = {"Label5", "Label6", "Label7", "Label8"};
    const char* buttonNames[] = {"CmdBCTilecache", "CmdMapinstallTileCache", "CmdMSTileCache"};
    for (std::size_t i = 0; i < sizeLines_.size(); ++i) {
        const int row = static_cast<int>(i);
        // The product data cache is only measured: the host programs rebuild it themselves.
        const bool clearable = i < clearButtons_.size();
        std::function<void()> clicked;
        if (clearable) clicked = [this, i] { empty(i); };
        sizeLines_[i] = new ClickableLine(caches, lineNames[i], std::move(clicked));
        grid->addWidget(sizeLines_[i], row, 0);
        if (clearable) {
            clearButtons_[i] = new QPushButton(caches);
            clearButtons_[i]->setObjectName(buttonNames[i]);
            connect(clearButtons_[i], &QPushButton::clicked, this, [this, i] { empty(i); });
            grid->addWidget(clearButtons_[i], row, 1, Qt::AlignTop);
        }
    }
    grid->addWidget(progress_, static_cast<int>(sizeLines_.size()), 0, 1, 2);
    grid->setColumnStretch(0, 1);

    auto* folders = new QGroupBox(this);
    folders->setObjectName("FrameGmapFolders");
    auto* folderLayout = new QVBoxLayout(folders);
    for (auto* label : {label1_, label2_, explanation_, label3_}) folderLayout->addWidget(label);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caches);
    layout->addWidget(folders);
    layout->addStretch();
}

void CacheFoldersWindow::showRefreshed() {
    refresh();
    // Wide enough for the longest folder line; as high as the wrapped texts need.
    resize(720, layout()->totalHeightForWidth(720));
    bringToFront(*this);
}

void CacheFoldersWindow::refresh() {
    setWindowTitle(qt(session_.msg(Msg::CaptionCacheFoldersWindow)));
    for (auto* button : clearButtons_) button->setText(qt(session_.msg(Msg::CaptionClearCache)));
    explanation_->setText(qt(session_.msg(Msg::MsgGmapFoldersExplanation)));
    // Measuring a big cache takes a while.
    std::optional<tasks::CacheOverview> measured;
    runWhileResponsive(this, [&] { measured.emplace(tasks::inspectCaches(session_)); });
    const auto& overview = *measured;
    label1_->setText(
        qt(session_.msg(Msg::TextGmapFolderAllUsers) + tools::shownGmapFolder(overview.gmapFolderForAllUsers)));
    label2_->setText(qt(session_.msg(Msg::TextGmapFolderOfUser) + tools::shownGmapFolder(overview.gmapFolderOfUser)));
    label3_->setText(qt(tools::shownGmapFolder(overview.gmapFolderOfUser)));
    for (std::size_t i = 0; i < overview.caches.size() && i < sizeLines_.size(); ++i) {
        const auto& state = overview.caches[i];
        sizeLines_[i]->setText(qt(state.line));
        if (i < clearButtons_.size()) {
            clearButtons_[i]->setEnabled(state.canEmpty());
            sizeLines_[i]->setEnabled(state.canEmpty());
        }
    }
}

void CacheFoldersWindow::empty(std::size_t cacheIndex) {
    const tools::Cache cache = tools::AllCaches[cacheIndex];
    std::optional<Result<tools::CacheState>> emptied;
    progress_->reset();
    runWhileResponsive(this, [&, progress = feedProgressBar(progress_)] {
        emptied.emplace(tasks::emptyCache(session_, cache, progress));
    });
    if (!*emptied && emptied->failure().kind == FailureKind::Error)
        session_.dialogs.inform(app::describeFailure(emptied->failure(), session_.catalog), app::DefaultTitle,
                                app::MessageIcon::Critical);
    refresh();
    if (*emptied) emit cacheEmptied();
}

}  // namespace veldra::gui
