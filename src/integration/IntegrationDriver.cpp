#include "integration/IntegrationDriver.h"

#include <algorithm>
#include <system_error>

#include "app/ConsoleWindow.h"
#include "app/Session.h"
#include "gmap/GmapPackageWriter.h"
#include "integration/ConsoleRunner.h"
#include "integration/OverviewGeneration.h"
#include "integration/RegistryInstallation.h"
#include "registration/NumberText.h"
#include "tools/AccessRights.h"

namespace veldra::integration {
namespace fs = std::filesystem;
namespace {

// Ends the hourglass on every way out.
class BusyPointer {
public:
    explicit BusyPointer(app::Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.busy(true); }
    ~BusyPointer() { dialogs_.busy(false); }

private:
    app::Dialogs& dialogs_;
};

// Keeps the output from the compiler's own report on, when it has one.
std::string fromCompilerReport(const std::string& text) {
    const auto pos = text.find("Importing and preprocessing data");
    return pos == std::string::npos ? text : text.substr(pos);
}

}  // namespace

IntegrationDriver::IntegrationDriver(app::Session& session, platform::Processes& processes,
                                     app::ConsoleWindow& console, std::function<void()> rebuildCatalog)
    : session_(session), processes_(processes), console_(console), rebuildCatalog_(std::move(rebuildCatalog)) {}

IntegrationResult IntegrationDriver::run(const IntegrationJob& job, InstallChoice choice) {
    BusyPointer busy(session_.dialogs);
    tools::takeOverMapFolders(session_);

    const fs::path compilerFolder = session_.host.programFolder / "Version97c";
    if (!fs::exists(compilerFolder / "cgpsmapper.exe")) {
        session_.dialogs.inform(session_.msg(app::Msg::MsgCgpsmapper97cMissing), "VELDRA Version80-33-1");
        return {IntegrationOutcome::ToolsMissing, {}};
    }
    if (!fs::exists(compilerFolder / "sendg.dll")) {
        session_.dialogs.inform(session_.msg(app::Msg::MsgSendgMissing));
        return {IntegrationOutcome::ToolsMissing, {}};
    }

    ConsoleRunner runner(session_.dialogs, session_.catalog, processes_, console_);
    OverviewGeneration overview(session_, runner, job);
    session_.setCatalogContext(
        {job.folderShown.string(), overview.baseName(), session_.host.programFolder.string()});
    overview.writeOverviewSource();
    console_.setVisible(true);
    const std::string gmtOutput = console_.text();

    if (!overview.tdbExists()) {
        session_.dialogs.inform(session_.msg(app::Msg::MsgTdbCreationFailed), "VELDRA Build 80-33-1");
        return {IntegrationOutcome::NoTdb, {}};
    }
    console_.setVisible(false);
    if (!overview.makeOverviewMap()) return {IntegrationOutcome::NoOverviewMap, {}};
    console_.setText(fromCompilerReport(console_.text()));

    std::error_code ignored;
    fs::remove(overview.tileFolder() / (overview.baseName() + ".reg"), ignored);

    const bool gmap = choice == InstallChoice::Ask
                          ? session_.dialogs.ask(session_.msg(app::Msg::MsgAskGmapInstallation))
                          : choice == InstallChoice::GmapPackage;
    IntegrationResult result{IntegrationOutcome::Registered, {}};
    if (gmap) {
        auto package = gmap::writeNewMapsetPackage(
            session_, {job.mapsetName, job.fidText, job.tiles, overview.tileFolder(), overview.baseName()});
        if (package) result.outcome = IntegrationOutcome::GmapPackageWritten;
        else result = {IntegrationOutcome::GmapPackageFailed, package.failure()};
    } else {
        const auto fid = static_cast<std::uint16_t>(std::min(registration::leadingNumber(job.fidText), 0xFFFFu));
        if (auto written = writeRegistryEntry(session_, {overview.baseName(), fid, overview.tileFolder()})) {
            session_.dialogs.finishStep(session_.msg(app::Msg::MsgIntegrationComplete),
                                        session_.msg(app::Msg::MsgIntegrationReady));
        } else {
            session_.dialogs.inform(session_.msg(app::Msg::MsgRegistryWriteFailed));
            result = {IntegrationOutcome::RegistryWriteFailed, written.failure()};
        }
    }

    if (rebuildCatalog_) rebuildCatalog_();
    console_.setText(gmtOutput + "\n" + console_.text());
    console_.setVisible(false);
    return result;
}

Result<GmapsuppSplit> IntegrationDriver::splitDeviceImage(const fs::path& gmapsupp, const GmapsuppChoices& choices) {
    BusyPointer busy(session_.dialogs);
    tools::takeOverMapFolders(session_);
    ConsoleRunner runner(session_.dialogs, session_.catalog, processes_, console_);
    auto split = splitGmapsupp(session_, runner, gmapsupp, choices);
    if (rebuildCatalog_) rebuildCatalog_();
    // The console stays open for reading after a split.
    return split;
}

}  // namespace veldra::integration
