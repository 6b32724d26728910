#include "platform/MemoryRegistry.h"

#include "platform/RegistryPath.h"

namespace veldra::platform {

struct MemoryRegistry::Key {
    std::string name;
    // Keyed by folded name; each entry keeps the name as first written.
    std::map<std::string, std::unique_ptr<Key>> children;
    std::map<std::string, std::pair<std::string, RegistryValue>> values;
};

MemoryRegistry::MemoryRegistry() : machine_(std::make_unique<Key>()), user_(std::make_unique<Key>()) {}
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key* MemoryRegistry::find(RegistryRoot root, std::string_view path) const {
    Key* key = root == RegistryRoot::LocalMachine ? machine_.get() : user_.get();
    for (const auto& part : splitKeyPath(path)) {
        auto it = key->children.find(foldCase(part));
        if (it == key->children.end()) return nullptr;
        key = it->second.get();
    }
    return key;
}

namespace {
bool isUnder(std::string_view path, const std::string& prefix) {
    const std::string folded = foldCase(joinKeyPath(splitKeyPath(path)));
    return folded == prefix || folded.starts_with(prefix + "\\");
}
}  // namespace

bool MemoryRegistry::writeDenied(RegistryRoot root, std::string_view path) const {
    for (const auto& [r, prefix] : denied_)
        if (r == root && isUnder(path, prefix)) return true;
    return false;
}

bool MemoryRegistry::writeDropped(RegistryRoot root, std::string_view path) const {
    for (const auto& [r, prefix] : dropped_)
        if (r == root && isUnder(path, prefix)) return true;
    return false;
}

void MemoryRegistry::denyWriteAccess(RegistryRoot root, std::string_view path) {
    denied_.emplace(root, foldCase(joinKeyPath(splitKeyPath(path))));
}

void MemoryRegistry::dropWritesUnder(RegistryRoot root, std::string_view path) {
    dropped_.emplace(root, foldCase(joinKeyPath(splitKeyPath(path))));
}

bool MemoryRegistry::canOpenForWriting(RegistryRoot root, std::string_view path) const {
    return find(root, path) != nullptr && !writeDenied(root, path);
}

bool MemoryRegistry::keyExists(RegistryRoot root, std::string_view path) const { return find(root, path) != nullptr; }

std::optional<RegistryValue> MemoryRegistry::queryValue(RegistryRoot root, std::string_view path,
                                                        std::string_view name) const {
    const Key* key = find(root, path);
    if (!key) return std::nullopt;
    auto it = key->values.find(foldCase(name));
    if (it == key->values.end()) return std::nullopt;
    return it->second.second;
}

std::vector<std::string> MemoryRegistry::subkeyNames(RegistryRoot root, std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = find(root, path))
        for (const auto& [folded, child] : key->children) names.push_back(child->name);
    return names;
}

std::vector<std::string> MemoryRegistry::valueNames(RegistryRoot root, std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = find(root, path))
        for (const auto& [folded, entry] : key->values) names.push_back(entry.first);
    return names;
}

long MemoryRegistry::createKey(RegistryRoot root, std::string_view path) {
    if (find(root, path)) return regerror::Success;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    Key* key = root == RegistryRoot::LocalMachine ? machine_.get() : user_.get();
    for (const auto& part : splitKeyPath(path)) {
        auto& slot = key->children[foldCase(part)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = part;
        }
        key = slot.get();
    }
    return regerror::Success;
}

long MemoryRegistry::setValue(RegistryRoot root, std::string_view path, std::string_view name,
                              const RegistryValue& value) {
    Key* key = find(root, path);
    if (!key) return regerror::FileNotFound;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    if (writeDropped(root, path)) return regerror::Success;
    key->values[foldCase(name)] = {std::string(name), value};
    return regerror::Success;
}

long MemoryRegistry::deleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    Key* key = find(root, path);
    if (!key) return regerror::FileNotFound;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    return key->values.erase(foldCase(name)) ? regerror::Success : regerror::FileNotFound;
}

long MemoryRegistry::deleteKey(RegistryRoot root, std::string_view path) {
    auto parts = splitKeyPath(path);
    if (parts.empty()) return regerror::AccessDenied;
    Key* key = find(root, path);
    if (!key) return regerror::FileNotFound;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    if (!key->children.empty()) return regerror::KeyHasChildren;
    const std::string last = parts.back();
    parts.pop_back();
    find(root, joinKeyPath(parts))->children.erase(foldCase(last));
    return regerror::Success;
}

}  // namespace veldra::platform
