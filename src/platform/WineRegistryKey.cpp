// The key tree of a Wine registry file: lookups, ordered insertion and paths
// with symbolic links, as wineserver keeps them in memory.

#include <algorithm>

#include "platform/Cp1252.h"
#include "platform/RegistryPath.h"
#include "platform/WineRegistryFile.h"

namespace veldra::platform {
namespace {

constexpr int MaxLinkHops = 16;

// Lower case of one UTF-16 unit for the letters of the European scripts
// (wineserver folds with the full Unicode table; names outside these
// letters are rare in a prefix and only their order among siblings differs).
char16_t foldUnit(char16_t c) {
    const auto plus = [c](int delta) { return static_cast<char16_t>(c + delta); };
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? plus(0x20) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return plus(0x20);
    if (c == 0x130) return u'i';
    if (c == 0x178) return 0xFF;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c % 2 == 0) ? plus(1) : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? plus(1) : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return plus(0x20);
    if (c >= 0x400 && c <= 0x40F) return plus(0x50);
    if (c >= 0x410 && c <= 0x42F) return plus(0x20);
    if (c >= 0xFF21 && c <= 0xFF3A) return plus(0x20);
    return c;
}

template <typename Entries, typename NameOf>
auto lowerBound(Entries& entries, std::u16string_view name, NameOf nameOf) {
    return std::lower_bound(entries.begin(), entries.end(), name, [&](const auto& entry, std::u16string_view n) {
        return compareRegistryNames(nameOf(entry), n) < 0;
    });
}

const auto nameOfKey = [](const std::unique_ptr<WineRegistryKey>& key) -> std::u16string_view { return key->name; };
const auto nameOfValue = [](const std::pair<std::u16string, RegistryValue>& value) -> std::u16string_view {
    return value.first;
};

std::vector<std::u16string> componentsOf(std::string_view path) {
    std::vector<std::u16string> components;
    for (const auto& part : splitKeyPath(path)) components.push_back(utf8ToUtf16(part));
    return components;
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
        const char16_t x = foldUnit(a[i]);
        const char16_t y = foldUnit(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

WineRegistryKey* WineRegistryKey::findSubkey(std::u16string_view subkeyName) const {
    auto it = lowerBound(subkeys, subkeyName, nameOfKey);
    if (it == subkeys.end() || compareRegistryNames((*it)->name, subkeyName) != 0) return nullptr;
    return it->get();
}

WineRegistryKey& WineRegistryKey::obtainSubkey(std::u16string_view subkeyName, FileTime now) {
    auto it = lowerBound(subkeys, subkeyName, nameOfKey);
    if (it != subkeys.end() && compareRegistryNames((*it)->name, subkeyName) == 0) return **it;
    auto key = std::make_unique<WineRegistryKey>();
    key->name = std::u16string(subkeyName);
    key->modified = now;
    key->parent = this;
    return **subkeys.insert(it, std::move(key));
}

bool WineRegistryKey::removeSubkey(std::u16string_view subkeyName) {
    auto it = lowerBound(subkeys, subkeyName, nameOfKey);
    if (it == subkeys.end() || compareRegistryNames((*it)->name, subkeyName) != 0) return false;
    subkeys.erase(it);
    return true;
}

const RegistryValue* WineRegistryKey::findValue(std::u16string_view valueName) const {
    auto it = lowerBound(values, valueName, nameOfValue);
    if (it == values.end() || compareRegistryNames(it->first, valueName) != 0) return nullptr;
    return &it->second;
}

void WineRegistryKey::setValue(std::u16string_view valueName, RegistryValue value) {
    auto it = lowerBound(values, valueName, nameOfValue);
    if (it != values.end() && compareRegistryNames(it->first, valueName) == 0)
        it->second = std::move(value);
    else
        values.insert(it, {std::u16string(valueName), std::move(value)});
}

bool WineRegistryKey::removeValue(std::u16string_view valueName) {
    auto it = lowerBound(values, valueName, nameOfValue);
    if (it == values.end() || compareRegistryNames(it->first, valueName) != 0) return false;
    values.erase(it);
    return true;
}

WineRegistryKey* WineRegistryFile::findKey(std::string_view path, bool followFinalLink) const {
    return walk(path, followFinalLink, std::nullopt);
}

WineRegistryKey* WineRegistryFile::createKey(std::string_view path, FileTime now) {
    return walk(path, true, now);
}

WineRegistryKey* WineRegistryFile::walk(std::string_view path, bool followFinalLink,
                                        std::optional<FileTime> createAt) const {
    std::vector<std::u16string> pending = componentsOf(path);
    std::reverse(pending.begin(), pending.end());  // the next component is at the back
    WineRegistryKey* key = root_.get();
    int hops = 0;
    for (;;) {
        if (key->isLink && (!pending.empty() || followFinalLink)) {
            if (++hops > MaxLinkHops || !expandLink(*key, pending)) return nullptr;
            key = root_.get();
            continue;
        }
        if (pending.empty()) return key;
        const std::u16string name = std::move(pending.back());
        pending.pop_back();
        WineRegistryKey* child = key->findSubkey(name);
        if (!child) {
            if (!createAt) return nullptr;
            child = &key->obtainSubkey(name, *createAt);
            key->modified = *createAt;
        }
        key = child;
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
