#include "gmap/GmapRecord.h"

#include <algorithm>

namespace veldra::gmap {

Status GmapRecord::changeable() const {
    if (!pathProblem) return {};
    return fail(*pathProblem + (pathProblem->ends_with('.') ? " " : ". ") + "Nothing was changed.");
}

std::string GmapRecord::display() const { return "gmap; " + name + "; FID:" + fid + ";PID:" + pid; }

void orderGmapRecords(std::vector<GmapRecord>& records) {
    // UTF-8 bytes compare in code point order, which is the character code order.
    std::stable_sort(records.begin(), records.end(),
                     [](const GmapRecord& a, const GmapRecord& b) { return a.display() < b.display(); });
}

}  // namespace veldra::gmap
