#include "gui/CountProgress.h"

#include <QPointer>
#include <QProgressBar>

#include <algorithm>

namespace veldra::gui {

QProgressBar* countProgressBar(QWidget* parent, const char* objectName) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(objectName);
    bar->setTextVisible(true);
    bar->setFormat("%v / %m");
    // An empty bar would pass for a text field: it appears with the first count.
    bar->hide();
    return bar;
}

Progress feedProgressBar(QProgressBar* bar) {
    const QPointer<QProgressBar> target(bar);
    return [target](std::size_t done, std::size_t total) {
        if (!target) return;
        QMetaObject::invokeMethod(
            target.data(),
            [target, done, total] {
                if (!target) return;
                target->show();
                // An empty range would make the bar a busy indicator: no files shows an empty bar.
                target->setRange(0, std::max(static_cast<int>(total), 1));
                if (total == 0) target->reset();
                else target->setValue(static_cast<int>(done));
            },
            Qt::QueuedConnection);
    };
}

}  // namespace veldra::gui
