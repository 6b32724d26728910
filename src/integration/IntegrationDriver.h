#pragma once
// The whole integration of a tile set: folder rights, TDB and overview map,
// then the installation the user chooses, and the catalog rebuilt at the end.

#include <functional>

#include "core/Result.h"
#include "integration/GmapsuppSplit.h"
#include "integration/IntegrationJob.h"

namespace veldra::app {
class ConsoleWindow;
class Session;
}  // namespace veldra::app
namespace veldra::platform {
class Processes;
}

namespace veldra::integration {

// How the installation question is answered: asked, or given in advance.
enum class InstallChoice { Ask, GmapPackage, Registry };

enum class IntegrationOutcome {
    Registered,           // registry entry written and read back
    RegistryWriteFailed,  // a value was refused or did not read back
    ToolsMissing,         // cgpsmapper.exe or sendg.dll missing
    NoTdb,                // gmt.exe left no TDB
    NoOverviewMap,        // no overview map, no Java or the user declined
    GmapPackageWritten,   // the package is in the common application data folder
    GmapPackageFailed,    // a file of the package could not be written
};

struct IntegrationResult {
    IntegrationOutcome outcome = IntegrationOutcome::Registered;
    Failure failure;  // why the registry entry or the package was not written
};

class IntegrationDriver {
public:
    IntegrationDriver(app::Session& session, platform::Processes& processes, app::ConsoleWindow& console,
                      std::function<void()> rebuildCatalog);

    // Makes TDB and overview map of the job's tiles and installs the mapset.
    IntegrationResult run(const IntegrationJob& job, InstallChoice choice);

    // Takes a gmapsupp.img apart and registers the mapsets it holds.
    Result<GmapsuppSplit> splitDeviceImage(const std::filesystem::path& gmapsupp, const GmapsuppChoices& choices);

private:
    app::Session& session_;
    platform::Processes& processes_;
    app::ConsoleWindow& console_;
    std::function<void()> rebuildCatalog_;
};

}  // namespace veldra::integration
