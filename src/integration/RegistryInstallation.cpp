#include "integration/RegistryInstallation.h"

#include "app/Session.h"
#include "platform/Cp1252.h"
#include "platform/FileNames.h"

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

std::string familiesBaseKey(const app::Session& session) { return session.mapSourceBase() + "Families\\"; }

bool RegistryEintragen(app::Session& session, const RegistryEntry& entry) {
    session.routines.setRegistryWritable(true);
    const unsigned high = entry.fid / 256;
    const unsigned low = entry.fid - 256 * high;
    const std::string familyKey = familiesBaseKey(session) + entry.baseName + std::to_string(256 * high + low);
    const std::string productKey = familyKey + "\\1";

    // One character per byte: low byte, then high byte.
    const std::string id = platform::cp1252ToUtf8(std::string{static_cast<char>(low), static_cast<char>(high)});
    session.routines.ffStringSpeichern(HKLM, familyKey, "ID", id);
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
