#pragma once
// What a run over many files told its progress callback.

#include <cstddef>
#include <utility>
#include <vector>

#include "core/Progress.h"

namespace veldra::testing {

using Counts = std::vector<std::pair<std::size_t, std::size_t>>;

struct ProgressRecord {
    Counts told;
    Progress callback() {
        return [this](std::size_t done, std::size_t total) { told.emplace_back(done, total); };
    }
};

// A run over `total` files tells 0 first, then each file once, up to `total`.
inline Counts countsUpTo(std::size_t total) {
    Counts counts;
    for (std::size_t done = 0; done <= total; ++done) counts.emplace_back(done, total);
    return counts;
}

}  // namespace veldra::testing
