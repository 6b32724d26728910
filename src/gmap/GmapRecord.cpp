#include "gmap/GmapRecord.h"

#include <algorithm>

namespace veldra::gmap {

std::string GmapRecord::display() const { return "gmap; " + name + "; FID:" + fid + ";PID:" + pid; }

void orderGmapRecords(std::vector<GmapRecord>& records) {
    // UTF-8 bytes compare in code point order, which is the character code order.
    std::stable_sort(records.begin(), records.end(),
                     [](const GmapRecord& a, const GmapRecord& b) { return a.display() < b.display(); });
}

}  // namespace veldra::gmap
