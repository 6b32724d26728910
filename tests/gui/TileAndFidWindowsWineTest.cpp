// The tile names window and the FID changer on a prefix Wine made, with alpha
// registered by registry keys and beta installed as a gmap package: the lines
// the command line prints, the coverage view following the list, one new draw
// priority written into every tile, and both mapsets given new FIDs that the
// TDBs, Info.xml and (read back by Wine) the registry carry.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "formats/TdbHeader.h"
#include "formats/TreDrawPriority.h"
#include "gui/FidWindow.h"
#include "gui/GuiTestRegistry.h"
#include "gui/WindowControls.h"
#include "gui/PrefixSession.h"
#include "gui/Screenshots.h"
#include "gui/TileCoverageView.h"
#include "gui/TileNamesWindow.h"
#include "registration/DrawPriorityChange.h"
#include "registration/NewFid.h"

namespace veldra::gui {

namespace fs = std::filesystem;

namespace {

using testing::click;
using testing::control;

// Types into a field key by key, as the user does, and leaves it.
void type(QWidget& window, const char* name, const QString& text) {
    auto* field = control<QLineEdit>(window, name);
    field->clear();
    QTest::keyClicks(field, text);
    emit field->editingFinished();
}

QStringList linesOf(const std::string& output) {
    return QString::fromStdString(output).split('\n', Qt::SkipEmptyParts);
}

QStringList entries(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
}

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class TileAndFidWindowsWineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (prefix_.empty()) {
            if (testing::underCi()) QFAIL("needs Wine (wine, wineboot, winepath) to make a test prefix");
            QSKIP("needs Wine (wine, wineboot, winepath) to make a test prefix");
        }
        QVERIFY2(fs::exists(testing::AlphaTdb), "the mkgmap test data is missing");
        fs::copy(testing::builtData("alpha"), alphaFolder(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy(testing::builtData("beta"), temp_.path() / "beta", fs::copy_options::recursive);
        const auto files = [this](const std::string& family, const std::string& base) {
            const fs::path folder = family == "alpha" ? alphaFolder() : temp_.path() / family;
            return " --tdb " + testing::shellQuote((folder / (base + ".tdb")).string()) + " --overview " +
                   testing::shellQuote((folder / (base + ".img")).string()) + " --mdx " +
                   testing::shellQuote((folder / (base + ".mdx")).string()) + " --typ " +
                   testing::shellQuote((folder / (family + ".typ")).string());
        };
        QCOMPARE(testing::veldraOnPrefix(prefix_, "--yes register" + files("alpha", "11000000")).status, 0);
        QCOMPARE(testing::veldraOnPrefix(prefix_, "--yes register --gmap" + files("beta", "00120000")).status, 0);
        for (const char* fid : {"4711", "4712"}) {
            const auto tiles = testing::veldraOnPrefix(prefix_, std::string("tiles ") + fid, false);
            QCOMPARE(tiles.status, 0);
            cliTiles_.push_back(linesOf(tiles.output));
        }
        opened_ = testing::openPrefixSession(prefix_);
        QVERIFY(opened_);
    }

    // Both kinds list the lines `veldra tiles` prints under the same folder;
    // the view draws every tile, follows the list and selects by a click; the
    // field holds the rules of the draw priority; the change runs with its
    // progress through every tile and writes one byte in each of them.
    void tilesOfBothKindsAndOneDrawPriorityForAll() {
        auto& dialogs = opened_->dialogs;
        TileNamesWindow window(*opened_->session, nullptr);
        QSignalSpy changed(&window, &TileNamesWindow::mapsetsChanged);
        QVERIFY(window.showMapset({"4712", std::nullopt}));
        auto* list = control<QListWidget>(window, "Listmaptilename");
        auto* view = control<TileCoverageView>(window, "TileCoverage");
        QCOMPARE(entries(*list), cliTiles_[1].mid(1));
        QCOMPARE(control<QLabel>(window, "Label1")->text(), hostPath(packageFolder()));
        QCOMPARE(view->drawnTileCount(), 2);

        QVERIFY(window.showMapset({"4711", std::nullopt}));
        QCOMPARE(window.objectName(), QString("FormMaptilename"));
        QCOMPARE(entries(*list), cliTiles_[0].mid(1));
        QCOMPARE(control<QLabel>(window, "Label1")->text(), hostPath(alphaFolder()));
        QCOMPARE(view->drawnTileCount(), 3);
        QCOMPARE(view->highlightedTile(), -1);
        list->setCurrentRow(1);
        QCOMPARE(view->highlightedTile(), 1);
        // Every tile can be reached with the pointer, and the list follows it.
        std::set<int> reached;
        for (int x = 2; x < view->width(); x += std::max(1, view->width() / 24))
            for (int y = 2; y < view->height(); y += std::max(1, view->height() / 24)) {
                QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(x, y));
                QCOMPARE(view->highlightedTile(), list->currentRow());
                reached.insert(list->currentRow());
            }
        QCOMPARE(reached, (std::set<int>{0, 1, 2}));
        QCOMPARE(control<QLineEdit>(window, "TextDP")->text(), QString("25"));
        testing::saveScreenshot(window, "FormMaptilename", "Eng");
        opened_->session->start("Deu");
        QVERIFY(window.showMapset({"4711", std::nullopt}));
        QCOMPARE(control<QPushButton>(window, "CommandDPAendern")->text(), QString("Aendere DrawPriority auf "));
        testing::saveScreenshot(window, "FormMaptilename", "Deu");
        opened_->session->start("Eng");
        window.showMapset({"4711", std::nullopt});

        auto* field = control<QLineEdit>(window, "TextDP");
        type(window, "TextDP", "45");
        QCOMPARE(field->text(), QString("30"));
        type(window, "TextDP", "31");
        QCOMPARE(field->text(), QString("31"));
        dialogs.messages.clear();
        type(window, "TextDP", "");
        QCOMPARE(dialogs.texts(), std::vector<std::string>{registration::NoDrawPriorityTyped});
        click(window, "CommandDPAendern");  // nothing to write: told already
        QCOMPARE(dialogs.messages.size(), std::size_t{1});

        const fs::path& folder = alphaFolder();
        std::vector<fs::path> tiles;
        std::vector<std::vector<std::uint8_t>> before;
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"}) {
            tiles.push_back(folder / tile);
            before.push_back(testing::readBytes(tiles.back()));
        }
        const auto offset = formats::readImgDrawPriority(tiles[0]).byteOffset;
        type(window, "TextDP", "17");
        QVERIFY(control(window, "CommandDPAendern")->isEnabled());
        auto* progress = control<QProgressBar>(window, "ProgressBarDP");
        auto* cancel = control<QPushButton>(window, "CommandDPCancel");
        QCOMPARE(cancel->text(), QString("Cancel"));
        QVERIFY(!cancel->isEnabled());
        QSignalSpy steps(progress, &QProgressBar::valueChanged);
        // While the files are written only the bar and its cancel button work.
        QList<bool> cancellable, listBlocked;
        connect(progress, &QProgressBar::valueChanged, this, [&] {
            cancellable << cancel->isEnabled();
            listBlocked << !list->isEnabled();
        });
        dialogs.messages.clear();
        click(window, "CommandDPAendern");

        QCOMPARE(dialogs.texts(), std::vector<std::string>{"DrawPriority was changed for 3 Files"});
        QList<int> values;
        for (const auto& step : steps) values << step.at(0).toInt();
        QCOMPARE(values, (QList<int>{0, 1, 2, 3}));
        QCOMPARE(progress->maximum(), 3);
        QCOMPARE(cancellable, (QList<bool>{true, true, true, true}));
        QCOMPARE(listBlocked, cancellable);
        QVERIFY(!cancel->isEnabled() && list->isEnabled());
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            const auto after = testing::readBytes(tiles[i]);
            QCOMPARE(testing::differingOffsets(before[i], after), std::vector<std::size_t>{offset});
            QCOMPARE(int(after[offset]), 17);
        }
        QCOMPARE(list->item(2)->text(), QString(cliTiles_[0].back()).replace("= 25", "= 17"));
        QCOMPARE(field->text(), QString("17"));
        QCOMPARE(changed.count(), 1);
    }

    // The package is offered the lowest free FID and takes it into its TDB and
    // Info.xml; the registered mapset refuses a FID too big and one in use,
    // takes the whole part of 1234.7 and carries it in its TDB, a type file
    // copy and its registry values.
    void newFidsForAPackageAndARegisteredMapset() {
        auto& dialogs = opened_->dialogs;
        dialogs.messages.clear();
        FidWindow window(*opened_->session, nullptr);
        QSignalSpy changed(&window, &FidWindow::mapsetsChanged);
        opened_->session->start("Deu");
        window.showMapset({"4712", std::nullopt});
        QCOMPARE(control<QPushButton>(window, "Command2")->text(), QString("Gib mir eine freie FID"));
        testing::saveScreenshot(window, "formFID", "Deu");
        opened_->session->start("Eng");
        window.showMapset({"4712", std::nullopt});
        QCOMPARE(window.objectName(), QString("formFID"));
        QCOMPARE(window.windowTitle(), QString("FID changer"));
        QCOMPARE(control<QLabel>(window, "Label1")->text(), QString("FID : 4712"));
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), QString("10"));
        testing::saveScreenshot(window, "formFID", "Eng");
        click(window, "Command1");

        QVERIFY2(dialogs.messages.empty(), dialogs.messages.empty() ? "" : dialogs.messages[0].text.c_str());
        const fs::path package = packageFolder();
        QCOMPARE(int(formats::readTdbHeader(package / "Product1" / "00120000.tdb").header->fid), 10);
        QVERIFY(fileText(package / "Info.xml").find("<ID>10</ID>") != std::string::npos);
        QCOMPARE(control<QLabel>(window, "Label1")->text(), QString("FID :"));
        QVERIFY(control<QLineEdit>(window, "TextMapname")->text().isEmpty());
        QVERIFY(!control(window, "Command1")->isEnabled());

        window.showMapset({"4711", std::nullopt});
        QCOMPARE(control<QLabel>(window, "Label1")->text(), QString("FID : 4711"));
        QVERIFY(control<QLineEdit>(window, "Text1")->text().isEmpty());
        type(window, "Text1", "70000");
        QCOMPARE(dialogs.texts(), std::vector<std::string>{registration::FidTooBig});
        QVERIFY(control<QLineEdit>(window, "Text1")->text().isEmpty());
        QVERIFY(!control(window, "Command1")->isEnabled());
        type(window, "Text1", "10");
        click(window, "Command1");
        QCOMPARE(dialogs.texts().back(), std::string("FID already in use"));
        QVERIFY(control<QLineEdit>(window, "Text1")->text().isEmpty());
        type(window, "Text1", "1234.7");
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), QString("1234"));
        dialogs.messages.clear();
        click(window, "Command1");

        QVERIFY2(dialogs.messages.empty(), dialogs.messages.empty() ? "" : dialogs.messages[0].text.c_str());
        QCOMPARE(changed.count(), 2);
        const fs::path& alpha = alphaFolder();
        QCOMPARE(int(formats::readTdbHeader(alpha / "11000000.tdb").header->fid), 1234);
        QCOMPARE(int(testing::readBytes(alpha / "2104.Typ").at(47)), 0xD2);
        const std::string key = "HKLM\\" + opened_->session->mapSourceBase() + "Families\\Veldra_Alpha4711";
        const auto query = testing::runCommand(testing::wineCommand(prefix_, "wine reg query " + testing::shellQuote(key)));
        testing::stopWineServer(prefix_);
        QCOMPARE(query.status, 0);
        QVERIFY2(query.output.find("REG_BINARY    D204") != std::string::npos, query.output.c_str());
        QVERIFY2(query.output.find("2104.Typ") != std::string::npos, query.output.c_str());
    }

private:
    // Alpha's files lie in the tile folder a user-like picture shows.
    const fs::path& alphaFolder() const { return alphaPicture_.tiles(); }
    fs::path packageFolder() const {
        return prefix_ / "drive_c" / "ProgramData" / "GARMIN" / "Maps" / "Veldra_Beta.gmap";
    }
    QString hostPath(const fs::path& path) const {
        return QString::fromStdString(opened_->backend.paths->toHost(path));
    }

    const fs::path& prefix_ = testing::WineTestPrefix::path();
    testing::TempDir temp_;
    const testing::PictureTileFolder alphaPicture_{temp_.path()};
    std::vector<QStringList> cliTiles_;  // `veldra tiles` of alpha, then of beta
    std::unique_ptr<testing::PrefixSession> opened_;
};

VELDRA_GUI_TEST(TileAndFidWindowsWineTest)

}  // namespace veldra::gui

#include "TileAndFidWindowsWineTest.moc"
