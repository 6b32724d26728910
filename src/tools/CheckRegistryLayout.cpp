#include "tools/CheckRegistryLayout.h"

#include "app/Settings.h"
#include "formats/TdbHeader.h"
#include "registration/HostFiles.h"
#include "registration/HostRegistryLayout.h"
#include "registration/RegistryText.h"

namespace veldra::tools {
namespace {

using registration::Machine;
using registration::RecordKind;

constexpr RecordKind Branches[] = {RecordKind::Families, RecordKind::FamiliesNT, RecordKind::Products};

std::string otherBase(const app::Session& session) {
    return app::hostRegistryRoot(!session.os64) + "\\Garmin\\MapSource\\";
}

std::string textValue(const app::Session& session, const std::string& key, const char* name) {
    return registration::trimBlanks(registration::queryRegistryText(session.host.registry, key, name).value_or(""));
}

// The FID of a family's ID value, as decimal text; empty without one.
std::string registeredFid(const app::Session& session, const std::string& familyKey) {
    const auto id = session.host.registry.queryValue(Machine, familyKey, "ID");
    if (!id || id->data.size() < 2) return {};
    return std::to_string(id->data[0] | id->data[1] << 8);
}

Failure registryFailure(const std::string& what, const std::string& key, long code) {
    return fail(what + " HKLM\\" + key + " (error " + std::to_string(code) + ")");
}

}  // namespace

std::vector<CheckFinding> findWrongBranchKeys(const app::Session& session) {
    std::vector<CheckFinding> findings;
    const auto& registry = session.host.registry;
    for (const RecordKind kind : Branches) {
        const std::string branch = otherBase(session) + std::string(registration::kindName(kind)) + "\\";
        for (const std::string& name : registry.subkeyNames(Machine, branch)) {
            CheckFinding finding{CheckKind::WrongBranch, name};
            finding.key = branch + name;
            finding.detail = "HKLM\\" + finding.key;
            if (kind != RecordKind::Products) finding.fid = registeredFid(session, finding.key);
            finding.repairable = !registry.keyExists(Machine, registration::branchKey(session, kind) + name);
            findings.push_back(std::move(finding));
        }
    }
    return findings;
}

std::vector<CheckFinding> findMisplacedLayouts(const app::Session& session) {
    std::vector<CheckFinding> findings;
    const auto& registry = session.host.registry;
    for (const RecordKind kind : {RecordKind::Families, RecordKind::FamiliesNT}) {
        const std::string branch = registration::branchKey(session, kind);
        for (const std::string& family : registry.subkeyNames(Machine, branch)) {
            const std::string key = branch + family;
            if (registry.keyExists(Machine, key + "\\1")) continue;
            const std::string tdb = textValue(session, key, "TDB");
            if (tdb.empty() || textValue(session, key, "Bmap").empty() || textValue(session, key, "Loc").empty())
                continue;
            CheckFinding finding{CheckKind::MisplacedLayout, family, registeredFid(session, key)};
            const auto header = formats::readTdbHeader(registration::existingHostFile(session, tdb)).header;
            if (header) {
                if (finding.fid.empty()) finding.fid = std::to_string(header->fid != 0 ? header->fid : header->pid);
                finding.pid = std::to_string(header->pid);
            }
            finding.key = key;
            finding.detail = "HKLM\\" + key;
            finding.repairable = true;
            findings.push_back(std::move(finding));
        }
    }
    return findings;
}

Status moveToHostRoot(app::Session& session, const CheckFinding& finding) {
    auto& registry = session.host.registry;
    const std::string from = finding.key;
    const std::string to = session.hostRegistryRoot + from.substr(app::hostRegistryRoot(!session.os64).size());
    // The key and its subkeys, parents first; an explicit list, so no input
    // decides how deep a call stack grows.
    std::vector<std::string> keys{""};
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (const std::string& sub : registry.subkeyNames(Machine, from + keys[i]))
            keys.push_back(keys[i] + "\\" + sub);
    for (const std::string& key : keys) {
        if (const long created = registry.createKey(Machine, to + key)) return registryFailure("Cannot create", to + key, created);
        for (const std::string& name : registry.valueNames(Machine, from + key)) {
            const auto value = registry.queryValue(Machine, from + key, name);
            if (!value) continue;
            if (const long set = registry.setValue(Machine, to + key, name, *value))
                return registryFailure("Cannot write", to + key, set);
        }
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        if (const long deleted = registry.deleteKey(Machine, from + *key))
            return registryFailure("Cannot delete", from + *key, deleted);
    return {};
}

}  // namespace veldra::tools
