// The key tree of a Wine registry file: lookups through an index of folded
// names, ordered insertion and paths with symbolic links, as wineserver keeps
// them in memory.

#include <algorithm>

#include "platform/Cp1252.h"
#include "platform/RegistryPath.h"
#include "platform/WineRegistryFile.h"

namespace veldra::platform {
namespace {

constexpr int MaxLinkHops = 16;

// Entries are sorted by their folded names, so a plain comparison of those
// finds a name without folding any sibling again.
template <typename Entries, typename FoldedOf>
auto lowerBound(Entries& entries, const std::u16string& folded, FoldedOf foldedOf) {
    return std::lower_bound(entries.begin(), entries.end(), folded,
                            [&](const auto& entry, const std::u16string& wanted) { return foldedOf(entry) < wanted; });
}

const auto foldedKey = [](const std::unique_ptr<WineRegistryKey>& key) -> const std::u16string& { return key->folded; };
const auto foldedValue = [](const WineRegistryValueEntry& entry) -> const std::u16string& { return entry.folded; };

// The next component of a UTF-8 key path, taken off its front; empty
// components are dropped, as splitKeyPath drops them. Empty at the end.
std::string_view takeComponent(std::string_view& path) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    const std::size_t end = std::min(path.find('\\'), path.size());
    const std::string_view component = path.substr(0, end);
    path.remove_prefix(end);
    return component;
}

std::size_t componentCount(std::string_view path) {
    std::size_t count = 0;
    while (!takeComponent(path).empty()) ++count;
    return count;
}

// ASCII (most names) is widened unit by unit, without a converted copy.
void assignUtf16(std::u16string& out, std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        out.assign(utf8.begin(), utf8.end());
    else
        out = utf8ToUtf16(utf8);
}

WineRegistryKey* subkeyWithFoldedName(const WineRegistryKey& key, const std::u16string& folded) {
    auto it = lowerBound(key.subkeys, folded, foldedKey);
    return it == key.subkeys.end() || (*it)->folded != folded ? nullptr : it->get();
}

std::u16string_view stringUnits(const RegistryValue& value, std::u16string& storage) {
    storage.clear();
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2)
        storage.push_back(static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8)));
    return storage;
}

bool startsWithName(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && compareRegistryNames(text.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace

int compareRegistryNames(std::u16string_view a, std::u16string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = foldRegistryUnit(a[i]);
        const char16_t y = foldRegistryUnit(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

WineRegistryKey::~WineRegistryKey() {
    std::vector<std::unique_ptr<WineRegistryKey>> pending = std::move(subkeys);
    while (!pending.empty()) {
        std::unique_ptr<WineRegistryKey> key = std::move(pending.back());
        pending.pop_back();
        for (auto& child : key->subkeys) pending.push_back(std::move(child));
        key->subkeys.clear();  // so that its own destructor has nothing left to take apart
    }
}

WineRegistryKey* WineRegistryKey::findSubkey(std::u16string_view subkeyName) const {
    return subkeyWithFoldedName(*this, foldRegistryName(subkeyName));
}

WineRegistryKey& WineRegistryKey::obtainSubkey(std::u16string_view subkeyName, FileTime now) {
    std::u16string wanted = foldRegistryName(subkeyName);
    auto it = lowerBound(subkeys, wanted, foldedKey);
    if (it != subkeys.end() && (*it)->folded == wanted) return **it;
    auto key = std::make_unique<WineRegistryKey>();
    key->name = std::u16string(subkeyName);
    key->folded = std::move(wanted);
    key->modified = now;
    key->parent = this;
    return **subkeys.insert(it, std::move(key));
}

bool WineRegistryKey::removeSubkey(std::u16string_view subkeyName) {
    const std::u16string wanted = foldRegistryName(subkeyName);
    auto it = lowerBound(subkeys, wanted, foldedKey);
    if (it == subkeys.end() || (*it)->folded != wanted) return false;
    subkeys.erase(it);
    return true;
}

const RegistryValue* WineRegistryKey::findValue(std::u16string_view valueName) const {
    const std::u16string wanted = foldRegistryName(valueName);
    auto it = lowerBound(values, wanted, foldedValue);
    if (it == values.end() || it->folded != wanted) return nullptr;
    return &it->value;
}

void WineRegistryKey::setValue(std::u16string_view valueName, RegistryValue value) {
    std::u16string wanted = foldRegistryName(valueName);
    auto it = lowerBound(values, wanted, foldedValue);
    if (it != values.end() && it->folded == wanted) {
        it->value = std::move(value);
        it->verbatim.clear();
        it->verbatimLine = 0;
    } else {
        values.insert(it, WineRegistryValueEntry{std::u16string(valueName), std::move(wanted), std::move(value), {}, 0});
    }
}

bool WineRegistryKey::removeValue(std::u16string_view valueName) {
    const std::u16string wanted = foldRegistryName(valueName);
    auto it = lowerBound(values, wanted, foldedValue);
    if (it == values.end() || it->folded != wanted) return false;
    values.erase(it);
    return true;
}

std::optional<std::size_t> WineRegistryKey::firstKeptLine() const {
    std::optional<std::size_t> first;
    const auto consider = [&first](std::size_t line) {
        if (line && (!first || line < *first)) first = line;
    };
    for (const auto& entry : values) consider(entry.verbatimLine);
    for (const auto& kept : keptLines) consider(kept.lineNumber);
    for (const auto& kept : trailingLines) consider(kept.lineNumber);
    return first;
}

WineRegistryKey* WineRegistryFile::findKey(std::string_view path, bool followFinalLink) const {
    return walk(path, followFinalLink, std::nullopt);
}

WineRegistryKey* WineRegistryFile::createKey(std::string_view path, FileTime now) {
    return walk(path, true, now);
}

// Lookups are the catalog's most frequent call: the path is walked in
// place, one reused buffer per name, and components are copied out only
// when a link is followed.
WineRegistryKey* WineRegistryFile::walk(std::string_view path, bool followFinalLink,
                                        std::optional<FileTime> createAt) const {
    std::vector<std::u16string> expanded;  // a followed link's target, its next component at the back
    WineRegistryKey* key = root_.get();
    std::size_t depth = 0;
    int hops = 0;
    std::u16string name;
    std::u16string folded;
    const auto remaining = [&] { return expanded.size() + componentCount(path); };
    for (;;) {
        const bool more = !expanded.empty() || path.find_first_not_of('\\') != std::string_view::npos;
        if (key->isLink && (more || followFinalLink)) {
            if (++hops > MaxLinkHops) return nullptr;
            if (expanded.empty()) {  // what is left of the path follows the target
                for (std::string_view rest = path, component; !(component = takeComponent(rest)).empty();)
                    expanded.insert(expanded.begin(), utf8ToUtf16(component));
                path = {};
            }
            if (!expandLink(*key, expanded)) return nullptr;
            key = root_.get();
            depth = 0;
            continue;
        }
        if (!more) return key;
        if (!expanded.empty()) {
            name = std::move(expanded.back());
            expanded.pop_back();
        } else {
            assignUtf16(name, takeComponent(path));
        }
        folded.assign(name);
        for (auto& unit : folded) unit = foldRegistryUnit(unit);
        WineRegistryKey* child = subkeyWithFoldedName(*key, folded);
        if (!child) {
            if (!createAt || depth + 1 + remaining() > MaxKeyDepth) return nullptr;
            child = &key->obtainSubkey(name, *createAt);
            key->modified = *createAt;
        }
        key = child;
        ++depth;
    }
}

bool WineRegistryFile::expandLink(const WineRegistryKey& link, std::vector<std::u16string>& pending) const {
    const RegistryValue* value = link.findValue(u"SymbolicLinkValue");
    if (!value) return false;
    // Targets are absolute object names such as \Registry\Machine\Software\Classes.
    // Older prefixes name their root without the leading REGISTRY.
    const std::u16string written = utf8ToUtf16(relativeTo_);
    std::u16string rootName;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == u'\\' && i + 1 < written.size()) ++i;
        if (!rootName.empty() || written[i] != u'\\') rootName.push_back(written[i]);
    }
    if (!startsWithName(rootName, u"REGISTRY\\")) rootName = u"REGISTRY\\" + rootName;
    const std::u16string prefix = u"\\" + rootName;

    std::u16string storage;
    std::u16string_view target = stringUnits(*value, storage);
    while (!target.empty() && target.back() == u'\0') target.remove_suffix(1);
    if (!startsWithName(target, prefix)) return false;
    target.remove_prefix(prefix.size());
    if (!target.empty() && target.front() != u'\\') return false;

    std::vector<std::u16string> components;
    std::size_t start = 0;
    while (start <= target.size()) {
        const std::size_t end = std::min(target.find(u'\\', start), target.size());
        if (end > start) components.emplace_back(target.substr(start, end - start));
        start = end + 1;
    }
    pending.insert(pending.end(), components.rbegin(), components.rend());
    return true;
}

}  // namespace veldra::platform
