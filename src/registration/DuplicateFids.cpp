#include "registration/DuplicateFids.h"

#include <optional>

#include "registration/NumberText.h"

namespace veldra::registration {
namespace {

struct Entry {
    std::string fid;
    std::uint32_t number = 0;
    std::string pid;
};

template <typename Record>
std::vector<Entry> numbered(const std::vector<Record>& records) {
    std::vector<Entry> entries;
    for (const Record& record : records)
        if (const auto number = wholeNumber(record.fid)) entries.push_back({record.fid, *number, record.pid});
    return entries;
}

bool same(const Entry& a, const Entry& b) { return a.number == b.number && a.pid == b.pid; }

}  // namespace

std::vector<std::string> reportDuplicateFids(app::Dialogs& dialogs, const InstalledCatalog& catalog) {
    const auto registry = numbered(catalog.registry);
    const auto packages = numbered(catalog.packages.records);
    std::vector<std::string> reported;
    auto report = [&](const Entry& entry) {
        dialogs.inform("FID " + entry.fid + " ist doppelt.");
        reported.push_back(entry.fid);
    };
    for (std::size_t i = 0; i < registry.size(); ++i)
        for (std::size_t j = i + 1; j < registry.size(); ++j)
            if (same(registry[i], registry[j])) report(registry[i]);
    for (const Entry& record : registry)
        for (const Entry& package : packages)
            if (same(record, package)) report(record);
    for (std::size_t i = 0; i < packages.size(); ++i)
        for (std::size_t j = i + 1; j < packages.size(); ++j)
            if (same(packages[i], packages[j])) report(packages[i]);
    return reported;
}

}  // namespace veldra::registration
