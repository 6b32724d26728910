// What a double click on each catalog list does in each mode of the main
// window, and how a clicked entry is named when names or FIDs repeat.

#include <QTest>

#include "gui/CatalogDispatch.h"
#include "gui/GuiTestRegistry.h"

namespace veldra::gui {

using Action = CatalogAction;
using List = CatalogList;

class CatalogDispatchTest : public QObject {
    Q_OBJECT
private slots:
    void doubleClicksByModeAndList() {
        struct Row {
            MainState mode;
            Action names, removal, packages;  // `ListMapsetName`, `ListLoeschen`, `ListMapsetGMP`
        };
        const Row table[] = {
            {MainState::FidChange, Action::ChangeFid, Action::None, Action::ChangeFid},
            {MainState::TypeFileChange, Action::ChooseTypeFile, Action::None, Action::ChooseTypeFile},
            {MainState::Removing, Action::None, Action::Remove, Action::Remove},
            {MainState::Renaming, Action::Rename, Action::None, Action::Rename},
            {MainState::TileNames, Action::ListTiles, Action::None, Action::ListTiles},
            // Outside the management modes a registry mapset takes a type file; a package nothing.
            {MainState::Idle, Action::ChooseTypeFile, Action::None, Action::None},
            {MainState::SelectingTiles, Action::ChooseTypeFile, Action::None, Action::None},
            {MainState::Integrated, Action::ChooseTypeFile, Action::None, Action::None},
        };
        for (const auto& row : table) {
            const auto mode = static_cast<int>(row.mode);
            QVERIFY2(catalogAction(row.mode, List::MapsetNames) == row.names, qPrintable(QString::number(mode)));
            QVERIFY2(catalogAction(row.mode, List::Removal) == row.removal, qPrintable(QString::number(mode)));
            QVERIFY2(catalogAction(row.mode, List::Packages) == row.packages, qPrintable(QString::number(mode)));
        }
    }

    // The tasks find a mapset by what the choice names: a name shared by two
    // entries is narrowed by the PID, then the FID takes over; a record whose
    // TDB is gone is named by its key.
    void theChoiceNamesExactlyTheClickedEntry() {
        registration::InstalledCatalog catalog;
        const auto record = [](std::string name, std::string fid, std::string pid, std::string subkey) {
            registration::RegistryRecord r;
            r.name = std::move(name);
            r.fid = std::move(fid);
            r.pid = std::move(pid);
            r.subkey = std::move(subkey);
            return r;
        };
        catalog.registry = {record("Alps", "5401", "1", "Alps\\1"), record("Alps", "5401", "2", "Alps\\2"),
                            record(std::string("Lakes\0junk", 10), "5402", "1", "Lakes\\1"),
                            record(registration::TdbMissingMarker, "Fehler", "fehler", "Gone\\1"),
                            record(registration::TdbMissingMarker, "Fehler", "fehler", "Lost\\1")};
        gmap::GmapRecord package;
        package.name = "Lakes";
        package.fid = "5402";
        package.pid = "1";
        catalog.packages.records = {package};

        const auto choice = [&](bool isPackage, std::size_t index) {
            const auto c = choiceFor(catalog, {isPackage, index});
            return QString::fromStdString(c.mapset) + (c.pid ? QString("/%1").arg(*c.pid) : QString());
        };
        QCOMPARE(choice(false, 0), QString("Alps/1"));
        QCOMPARE(choice(false, 1), QString("Alps/2"));
        QCOMPARE(choice(false, 3), QString("Gone\\1"));
        // Name, PID and FID shared with the package: the key names the record; the package has
        // none, so its name stands and the task lists both candidates.
        QCOMPARE(choice(false, 2), QString("Lakes\\1"));
        QCOMPARE(choice(true, 0), QString("Lakes"));
        catalog.packages.records.front().fid = "5403";
        QCOMPARE(choice(false, 2), QString("5402/1"));
        QCOMPARE(choice(true, 0), QString("5403/1"));
    }
};

VELDRA_GUI_TEST(CatalogDispatchTest)

}  // namespace veldra::gui

#include "CatalogDispatchTest.moc"
