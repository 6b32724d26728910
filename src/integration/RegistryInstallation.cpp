#include "integration/RegistryInstallation.h"

#include "app/Session.h"
#include "platform/FileNames.h"
#include "registration/HostRegistryLayout.h"

namespace veldra::integration {
namespace {

constexpr auto HKLM = platform::RegistryRoot::LocalMachine;

}  // namespace

Status writeRegistryEntry(app::Session& session, const RegistryEntry& entry) {
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
