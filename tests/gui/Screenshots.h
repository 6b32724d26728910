#pragma once
// Pictures of the windows for doc/: with VELDRA_SCREENSHOT_DIR set, a window
// is saved there as <name>-en.png or <name>-de.png.

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QTest>
#include <QTreeView>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace veldra::testing {

inline void saveScreenshot(QWidget& window, const QString& name, const std::string& language) {
    const QString pictures = qEnvironmentVariable("VELDRA_SCREENSHOT_DIR");
    if (pictures.isEmpty()) return;
    QCoreApplication::processEvents();
    QVERIFY(window.grab().save(QString("%1/%2-%3.png").arg(pictures, name, language == "Eng" ? "en" : "de")));
}

// A folder tree as a user leaves it for a picture: only the way to the chosen
// folder open and that folder in view, once the tree has loaded it in the
// background. False when it never comes into view.
inline bool chosenFolderInView(QTreeView& folders) {
    // The tree sorts what it loaded a moment later; a picture waits for that.
    if (!qEnvironmentVariable("VELDRA_SCREENSHOT_DIR").isEmpty()) QTest::qWait(700);
    const QModelIndex chosen = folders.currentIndex();
    folders.collapseAll();
    folders.scrollTo(chosen);
    return QTest::qWaitFor([&] { return folders.viewport()->rect().contains(folders.visualRect(chosen)); });
}

// The tile folder a picture of the main window shows in `Dir1` and `List1`:
// `Maps/Alps` with three tiles in the user's home, as a user keeps maps,
// rather than the test's temporary folder with its random name. Made in the
// home only while pictures are taken and only where the home has no `Maps`
// yet, else under `fallback`; removed with what it holds.
class PictureTileFolder {
public:
    explicit PictureTileFolder(const std::filesystem::path& fallback) {
        const std::filesystem::path maps = std::filesystem::path(QDir::homePath().toStdString()) / "Maps";
        std::error_code taken;
        if (!qEnvironmentVariable("VELDRA_SCREENSHOT_DIR").isEmpty() && std::filesystem::create_directory(maps, taken))
            made_ = maps;
        tiles_ = (made_.empty() ? fallback / "Maps" : made_) / "Alps";
        std::filesystem::create_directories(tiles_);
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            std::ofstream(tiles_ / tile) << "tile";
    }
    ~PictureTileFolder() {
        std::error_code ignored;
        if (!made_.empty()) std::filesystem::remove_all(made_, ignored);
    }
    PictureTileFolder(const PictureTileFolder&) = delete;
    PictureTileFolder& operator=(const PictureTileFolder&) = delete;

    const std::filesystem::path& tiles() const { return tiles_; }
    QString shown() const { return QString::fromStdString(tiles_.string()); }

private:
    std::filesystem::path made_;
    std::filesystem::path tiles_;
};

}  // namespace veldra::testing
