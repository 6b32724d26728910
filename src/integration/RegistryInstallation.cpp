#include "integration/RegistryInstallation.h"

#include "app/Session.h"
#include "platform/FileNames.h"
#include "platform/FileSync.h"
#include "registration/HostRegistryLayout.h"

namespace veldra::integration {
namespace {

constexpr auto HKLM = platform::RegistryRoot::LocalMachine;

}  // namespace

Status writeRegistryEntry(app::Session& session, const RegistryEntry& entry) {
    // gmt.exe leaves the TDB unflushed (its outputs are work files until
    // here): the entry must not outlive the files it names in a power loss.
    std::vector<std::filesystem::path> named;
    for (const char* extension : {".TDB", ".img", ".TYP"})
        if (auto file = platform::findIgnoringCase(entry.tileFolder / (entry.baseName + extension)))
            named.push_back(std::move(*file));
    if (auto flushed = platform::flushFilesToDisk(named); !flushed) return fail(flushed.error);
    session.routines.setRegistryWritable(true);
    const std::string familyKey = registration::branchKey(session, registration::RecordKind::Families) +
                                  entry.baseName + std::to_string(entry.fid);
    const std::string productKey = familyKey + "\\1";
    auto& routines = session.routines;

    if (auto stored = routines.storeTextAsBinary(HKLM, familyKey, "ID", registration::familyIdText(entry.fid));
        !stored)
        return stored;
    std::string hostFolder = session.host.paths.toHost(entry.tileFolder);
    if (hostFolder.empty() || hostFolder.back() != '\\') hostFolder += '\\';
    for (const auto& [name, value] : {std::pair{"TDB", hostFolder + entry.baseName + ".TDB"},
                                      {"BMAP", hostFolder + entry.baseName + ".img"}, {"LOC", hostFolder}})
        if (auto stored = routines.storeStringVerified(HKLM, productKey, name, value); !stored) return stored;
    if (!platform::findIgnoringCase(entry.tileFolder / (entry.baseName + ".TYP"))) return {};
    return routines.storeStringVerified(HKLM, familyKey, "TYP", hostFolder + entry.baseName + ".TYP");
}

}  // namespace veldra::integration
