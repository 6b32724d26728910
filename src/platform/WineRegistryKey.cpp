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

char16_t unitOf(char16_t unit) { return unit; }
char16_t unitOf(char ascii) { return static_cast<unsigned char>(ascii); }

// How a folded name sorts against a name not yet folded (UTF-16 units, or
// ASCII bytes), negative, zero or positive, in the order of the folded
// names: names are looked up without a folded copy of them.
template <typename Units>
int compareFolded(std::u16string_view folded, Units name) {
    const std::size_t common = std::min(folded.size(), name.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t unit = foldRegistryUnit(unitOf(name[i]));
        if (folded[i] != unit) return folded[i] < unit ? -1 : 1;
    }
    if (folded.size() == name.size()) return 0;
    return folded.size() < name.size() ? -1 : 1;
}

// Entries are sorted by their folded names. Files list names in that
// order, so a name read from one mostly belongs after the last entry: that
// is looked at before the search.
template <typename Entries, typename Units, typename FoldedOf>
auto lowerBound(Entries& entries, Units name, FoldedOf foldedOf) {
    if (entries.empty() || compareFolded(foldedOf(entries.back()), name) < 0) return entries.end();
    return std::lower_bound(entries.begin(), entries.end(), name,
                            [&](const auto& entry, Units wanted) { return compareFolded(foldedOf(entry), wanted) < 0; });
}

// The entry of that name, or the end.
template <typename Entries, typename Units, typename FoldedOf>
auto findEntry(Entries& entries, Units name, FoldedOf foldedOf) {
    auto it = lowerBound(entries, name, foldedOf);
    return it != entries.end() && compareFolded(foldedOf(*it), name) == 0 ? it : entries.end();
}

const auto foldedKey = [](const WineRegistryKeyPtr& key) { return std::u16string_view(key->folded); };
const auto foldedValue = [](const WineRegistryValueEntry& entry) { return std::u16string_view(entry.folded); };

void assignFolded(std::pmr::u16string& folded, std::u16string_view name) {
    folded.resize(name.size());
    std::transform(name.begin(), name.end(), folded.begin(), foldRegistryUnit);
}

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

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The place of the subkey of that name, or nothing.
template <typename Units>
std::optional<std::size_t> subkeyIndex(const WineRegistryKey& key, Units name) {
    auto it = findEntry(key.subkeys, name, foldedKey);
    if (it == key.subkeys.end()) return std::nullopt;
    return static_cast<std::size_t>(it - key.subkeys.begin());
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

// Depth first along the parent links: each key goes once it has no
// subkeys left, so nothing recurses and nothing is allocated on the way.
WineRegistryKey::~WineRegistryKey() {
    WineRegistryKey* key = this;
    for (;;) {
        if (!key->subkeys.empty()) {
            key = key->subkeys.back().get();
            continue;
        }
        if (key == this) return;
        key = key->parent;
        key->subkeys.pop_back();
    }
}

WineRegistryKey::WineRegistryKey(std::pmr::memory_resource* memory)
    : name(memory), folded(memory), values(memory), subkeys(memory) {}

WineRegistryKeyPtr WineRegistryKey::make(std::pmr::memory_resource& memory) {
    return WineRegistryKeyPtr(std::pmr::polymorphic_allocator<>(&memory).new_object<WineRegistryKey>(&memory));
}

void WineRegistryKeyDeleter::operator()(WineRegistryKey* key) const {
    std::pmr::polymorphic_allocator<>(key->subkeys.get_allocator().resource()).delete_object(key);
}

WineRegistryKey& WineRegistryKey::obtainSubkey(std::u16string_view subkeyName, FileTime now) {
    auto it = lowerBound(subkeys, subkeyName, foldedKey);
    if (it != subkeys.end() && compareFolded((*it)->folded, subkeyName) == 0) return **it;
    WineRegistryKeyPtr key = make(*subkeys.get_allocator().resource());
    key->name = subkeyName;
    assignFolded(key->folded, subkeyName);
    key->modified = now;
    key->parent = this;
    return **subkeys.insert(it, std::move(key));
}

const RegistryValue* WineRegistryKey::findValue(std::u16string_view valueName) const {
    auto it = findEntry(values, valueName, foldedValue);
    return it == values.end() ? nullptr : &it->value;
}

void WineRegistryKey::setValue(std::u16string_view valueName, RegistryValue value) {
    auto it = lowerBound(values, valueName, foldedValue);
    if (it != values.end() && compareFolded(it->folded, valueName) == 0) {
        it->value = std::move(value);
        it->verbatim.clear();
        it->verbatimLine = 0;
        return;
    }
    std::pmr::memory_resource* memory = values.get_allocator().resource();
    WineRegistryValueEntry entry{std::pmr::u16string(valueName, memory), std::pmr::u16string(memory), std::move(value), {}, 0};
    assignFolded(entry.folded, valueName);
    values.insert(it, std::move(entry));
}

bool WineRegistryKey::removeValue(std::u16string_view valueName) {
    auto it = findEntry(values, valueName, foldedValue);
    if (it == values.end()) return false;
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

void WineRegistryFile::removeKey(WineRegistryKey& key) {
    WineRegistryKey& parent = *key.parent;
    auto it = findEntry(parent.subkeys, std::u16string_view(key.name), foldedKey);
    walkedSteps_.clear();  // the key may lie on the path walked last
    parent.subkeys.erase(it);
}

// Lookups are the catalog's most frequent call. It asks for a key, then for
// the same key or one below it, then for the next sibling: a walk starts
// from the deepest key that its path shares with the path walked last, and
// tries the sibling after the one walked last before it searches. The path
// is walked in place; components are copied out only when a link is followed.
WineRegistryKey* WineRegistryFile::walk(std::string_view path, bool followFinalLink,
                                        std::optional<FileTime> createAt) const {
    std::vector<std::u16string> expanded;  // a followed link's target, its next component at the back
    WineRegistryKey* key = root_.get();
    std::size_t depth = 0;
    const std::string_view whole = path;
    for (std::string_view walked = walkedPath_; depth < walkedSteps_.size(); ++depth) {
        std::string_view rest = path;
        const std::string_view component = takeComponent(rest);
        if (component.empty() || component != takeComponent(walked)) break;
        key = walkedSteps_[depth].key;
        path = rest;
    }
    // Where the sibling walked last lay; stale when keys came or went since,
    // which the comparison of names below notices.
    std::optional<std::size_t> nextSibling;
    if (depth < walkedSteps_.size()) nextSibling = walkedSteps_[depth].index + 1;
    walkedSteps_.resize(depth);
    walkedPath_.assign(whole);
    int hops = 0;
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
            nextSibling.reset();
            continue;
        }
        if (!more) return key;
        // ASCII components (most) are compared as they are, others in UTF-16.
        std::u16string name;
        std::string_view ascii;
        if (!expanded.empty()) {
            name = std::move(expanded.back());
            expanded.pop_back();
        } else if (const std::string_view component = takeComponent(path); isAscii(component)) {
            ascii = component;
        } else {
            name = utf8ToUtf16(component);
        }
        const auto isNamed = [&](const WineRegistryKey& child) {
            return ascii.empty() ? compareFolded(child.folded, std::u16string_view(name)) == 0
                                 : compareFolded(child.folded, ascii) == 0;
        };
        std::optional<std::size_t> index;
        if (nextSibling && *nextSibling < key->subkeys.size() && isNamed(*key->subkeys[*nextSibling]))
            index = nextSibling;
        else
            index = ascii.empty() ? subkeyIndex(*key, std::u16string_view(name)) : subkeyIndex(*key, ascii);
        nextSibling.reset();
        if (!index) {
            if (!createAt || depth + 1 + remaining() > MaxKeyDepth) return nullptr;
            if (!ascii.empty()) name.assign(ascii.begin(), ascii.end());
            key->obtainSubkey(name, *createAt);
            key->modified = *createAt;
            index = subkeyIndex(*key, std::u16string_view(name));
        }
        key = key->subkeys[*index].get();
        // Keys reached through a link do not lie on the path as written.
        if (hops == 0) walkedSteps_.push_back({key, *index});
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
