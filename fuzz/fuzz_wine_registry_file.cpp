// Wine registry files from anywhere: the reader must never crash, what the
// writer makes of a file must read back to the same keys, values and kept
// lines, and writing that again must give the same text. A path taken from
// the input walks the keys, links included.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/WineRegistryFile.h"

using veldra::platform::WineRegistryFile;
using veldra::platform::WineRegistryKey;
using veldra::platform::WineRegistryKeptLine;

namespace {

// Kept lines in the order of their places: the value each follows.
std::vector<std::pair<std::optional<std::u16string>, std::string>> placed(const std::vector<WineRegistryKeptLine>& lines) {
    std::vector<std::pair<std::optional<std::u16string>, std::string>> out;
    for (const auto& line : lines) out.emplace_back(line.after, line.text);
    std::stable_sort(out.begin(), out.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    return out;
}

bool sameLines(const std::vector<WineRegistryKeptLine>& a, const std::vector<WineRegistryKeptLine>& b) {
    return placed(a) == placed(b);
}

bool sameSection(const WineRegistryKey& a, const WineRegistryKey& b) {
    if (a.name != b.name || a.keyClass != b.keyClass || a.isLink != b.isLink ||
        a.values.size() != b.values.size() || a.subkeys.size() != b.subkeys.size() ||
        !sameLines(a.keptLines, b.keptLines) || !sameLines(a.trailingLines, b.trailingLines))
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i)
        if (a.values[i].name != b.values[i].name || a.values[i].value != b.values[i].value ||
            a.values[i].verbatim != b.values[i].verbatim)
            return false;
    return true;
}

// Compares the two trees key by key, without recursion.
bool sameData(const WineRegistryFile& a, const WineRegistryFile& b) {
    if (a.preamble() != b.preamble() || a.arch() != b.arch() || a.relativeTo() != b.relativeTo()) return false;
    std::vector<std::pair<const WineRegistryKey*, const WineRegistryKey*>> pending{{&a.root(), &b.root()}};
    while (!pending.empty()) {
        const auto [left, right] = pending.back();
        pending.pop_back();
        if (!sameSection(*left, *right)) return false;
        for (std::size_t i = 0; i < left->subkeys.size(); ++i)
            pending.emplace_back(left->subkeys[i].get(), right->subkeys[i].get());
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    constexpr veldra::platform::FileTime now = 133500000000000000ULL;
    auto load = WineRegistryFile::parse(text, now);
    if (!load.file) return 0;
    const std::string written = load.file->serialize();
    // A value cut after a continuation would swallow the next line; such a file is never saved.
    if (!load.file->unsafeLine()) {
        const auto again = WineRegistryFile::parse(written, now);
        if (!again.file || !sameData(*load.file, *again.file) || again.file->serialize() != written) std::abort();
    }

    // The last line of the input doubles as a key path.
    const std::size_t lastLine = text.rfind('\n') + 1;  // 0 when there is no line break
    const std::string_view path = text.substr(lastLine, 256);
    load.file->findKey(path);
    load.file->findKey(path, false);
    WineRegistryKey* made = load.file->createKey(path, now);
    if (made && load.file->findKey(path) != made) std::abort();
    // A walk starts where the one before left off: its parent and a
    // sibling made after it must be found as from the root.
    const std::size_t lastBackslash = path.rfind('\\');
    const std::string_view parent = lastBackslash == std::string_view::npos ? "" : path.substr(0, lastBackslash);
    WineRegistryKey* sibling = load.file->createKey(std::string(parent) + "\\~", now);
    if (sibling && load.file->findKey(path) != made) std::abort();
    if (made && made != &load.file->root() && made != sibling && made->subkeys.empty()) {
        load.file->removeKey(*made);
        if (load.file->findKey(path)) std::abort();
    }
    if (sibling && load.file->findKey(std::string(parent) + "\\~") != sibling) std::abort();
    return 0;
}
