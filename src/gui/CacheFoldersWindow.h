#pragma once
// `Form1`: where the host programs keep their caches and gmap folders, how
// much the caches hold, and a clear button for each tile cache.

#include <QDialog>

#include <array>
#include <cstddef>

class QLabel;
class QProgressBar;
class QPushButton;

namespace veldra::app {
class Session;
}

namespace veldra::gui {

class CacheFoldersWindow : public QDialog {
    Q_OBJECT
public:
    CacheFoldersWindow(app::Session& session, QWidget* parent);

    // Opens the window with the folders measured now, in the session's language.
    void showRefreshed();

signals:
    // A cache was emptied: the main window may refresh `CommandKompa`.
    void cacheEmptied();

private:
    void refresh();
    void empty(std::size_t cacheIndex);

    app::Session& session_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* explanation_;
    std::array<QLabel*, 4> sizeLines_{};
    std::array<QPushButton*, 3> clearButtons_{};
    QProgressBar* progress_;
};

}  // namespace veldra::gui
