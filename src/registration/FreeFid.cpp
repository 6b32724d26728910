#include "registration/FreeFid.h"

#include <set>

#include "registration/NumberText.h"

namespace veldra::registration {

std::optional<std::uint16_t> lowestFreeFid(app::Session& session, InstalledCatalog& catalog) {
    if (catalog.registry.empty()) catalog.rebuild(session);
    std::set<std::uint32_t> used;
    for (const auto& record : catalog.registry) {
        used.insert(leadingNumber(record.fid));
        if (record.registeredFid) used.insert(*record.registeredFid);
    }
    for (const auto& package : catalog.packages.records) used.insert(leadingNumber(package.fid));
    for (std::uint16_t fid = FirstCandidateFid; fid <= LastCandidateFid; ++fid)
        if (!used.contains(fid)) return fid;
    return std::nullopt;
}

}  // namespace veldra::registration
