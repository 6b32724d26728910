#include "integration/RegistryInstallation.h"

#include "app/Session.h"
#include "platform/FileNames.h"
#include "registration/HostRegistryLayout.h"

namespace veldra::integration {
namespace {

constexpr auto HKLM = platform::RegistryRoot::LocalMachine;

// Writes a path value and compares the read-back text.
bool writeVerified(app::Session& session, const std::string& key, const char* name, const std::string& text) {
    session.routines.fStringSpeichern(HKLM, key, name, text);
    if (session.routines.fRegAbfrageWert(HKLM, key, name) == text) return true;
    session.routines.reportWriteFailure(app::DefaultTitle);
    return false;
}

}  // namespace

bool RegistryEintragen(app::Session& session, const RegistryEntry& entry) {
    session.routines.setRegistryWritable(true);
    const std::string familyKey = registration::branchKey(session, registration::RecordKind::Families) +
                                  entry.baseName + std::to_string(entry.fid);
    const std::string productKey = familyKey + "\\1";

    session.routines.ffStringSpeichern(HKLM, familyKey, "ID", registration::familyIdText(entry.fid));
    session.routines.fRegAbfrageWert(HKLM, familyKey, "ID");  // read back, not compared

    std::string hostFolder = session.host.paths.toHost(entry.tileFolder);
    if (hostFolder.empty() || hostFolder.back() != '\\') hostFolder += '\\';
    if (!writeVerified(session, productKey, "TDB", hostFolder + entry.baseName + ".TDB")) return false;
    if (!writeVerified(session, productKey, "BMAP", hostFolder + entry.baseName + ".img")) return false;
    if (!writeVerified(session, productKey, "LOC", hostFolder)) return false;
    if (!platform::findIgnoringCase(entry.tileFolder / (entry.baseName + ".TYP"))) return true;
    return writeVerified(session, familyKey, "TYP", hostFolder + entry.baseName + ".TYP");
}

}  // namespace veldra::integration
