#include "gmap/GmapRecord.h"

#include "platform/Cp1252.h"

namespace veldra::gmap {

Status GmapRecord::changeable() const {
    if (!pathProblem) return {};
    return fail(*pathProblem + (pathProblem->ends_with('.') ? " " : ". ") + "Nothing was changed.");
}

std::string GmapRecord::display() const { return "gmap; " + name + "; FID:" + fid + ";PID:" + pid; }

void orderGmapRecords(std::vector<GmapRecord>& records) {
    platform::sortByCp1252(records, [](const GmapRecord& record) { return record.display(); });
}

}  // namespace veldra::gmap
