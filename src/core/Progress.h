#pragma once
// How a run over many files tells how far it is, for a progress bar with the
// count; the callback may be called from a worker thread.

#include <cstddef>
#include <functional>

namespace veldra {

// Told once with 0 before the first file, then after each file: files done, files in all.
using Progress = std::function<void(std::size_t done, std::size_t total)>;

// Tells `progress`, when there is one.
inline void tell(const Progress& progress, std::size_t done, std::size_t total) {
    if (progress) progress(done, total);
}

}  // namespace veldra
