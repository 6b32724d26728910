#include "platform/MemoryRegistry.h"

#include <map>

#include "platform/Cp1252.h"
#include "platform/RegistryPath.h"

namespace veldra::platform {

// Children and values are keyed by their folded UTF-16 names, which orders
// them as wineserver enumerates them; each keeps the name as first written.
struct MemoryRegistry::Key {
    std::string name;
    std::map<std::u16string, std::unique_ptr<Key>> children;
    std::map<std::u16string, std::pair<std::string, RegistryValue>> values;

    // Keys are at most MaxKeyDepth deep, so the recursion is bounded.
    std::unique_ptr<Key> clone() const {
        auto copy = std::make_unique<Key>();
        copy->name = name;
        copy->values = values;
        for (const auto& [folded, child] : children) copy->children.emplace(folded, child->clone());
        return copy;
    }
};

struct MemoryRegistry::Hives {
    std::unique_ptr<Key> machine = std::make_unique<Key>();
    std::unique_ptr<Key> user = std::make_unique<Key>();

    std::unique_ptr<Hives> clone() const {
        auto copy = std::make_unique<Hives>();
        copy->machine = machine->clone();
        copy->user = user->clone();
        return copy;
    }
};

namespace {

std::u16string folded(std::string_view name) { return foldRegistryName(utf8ToUtf16(name)); }

bool isUnder(std::string_view path, const std::string& prefix) {
    const std::string foldedPath = foldCase(joinKeyPath(splitKeyPath(path)));
    return foldedPath == prefix || foldedPath.starts_with(prefix + "\\");
}

}  // namespace

MemoryRegistry::MemoryRegistry() : hives_(std::make_unique<Hives>()) {}
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key& MemoryRegistry::rootKey(RegistryRoot root) const {
    return root == RegistryRoot::LocalMachine ? *hives_->machine : *hives_->user;
}

MemoryRegistry::Key* MemoryRegistry::find(RegistryRoot root, std::string_view path) const {
    Key* key = &rootKey(root);
    for (const auto& part : splitKeyPath(path)) {
        auto it = key->children.find(folded(part));
        if (it == key->children.end()) return nullptr;
        key = it->second.get();
    }
    return key;
}

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

void MemoryRegistry::refuseEnumeration(RegistryRoot root, std::string_view path, std::size_t names) {
    refusedEnumerations_[{root, foldCase(joinKeyPath(splitKeyPath(path)))}] = names;
}

bool MemoryRegistry::canOpenForWriting(RegistryRoot root, std::string_view path) const {
    return find(root, path) != nullptr && !writeDenied(root, path);
}

bool MemoryRegistry::keyExists(RegistryRoot root, std::string_view path) const { return find(root, path) != nullptr; }

std::optional<RegistryValue> MemoryRegistry::queryValue(RegistryRoot root, std::string_view path,
                                                        std::string_view name) const {
    const Key* key = find(root, path);
    if (!key) return std::nullopt;
    auto it = key->values.find(folded(name));
    if (it == key->values.end()) return std::nullopt;
    return it->second.second;
}

std::vector<std::string> MemoryRegistry::subkeyNames(RegistryRoot root, std::string_view path) const {
    return enumerateSubkeys(root, path).names;
}

SubkeyEnumeration MemoryRegistry::enumerateSubkeys(RegistryRoot root, std::string_view path) const {
    SubkeyEnumeration listed;
    const Key* key = find(root, path);
    if (!key) return listed;
    const auto refused = refusedEnumerations_.find({root, foldCase(joinKeyPath(splitKeyPath(path)))});
    for (const auto& [foldedName, child] : key->children) {
        if (refused != refusedEnumerations_.end() && listed.names.size() == refused->second) {
            listed.error = regerror::AccessDenied;
            break;
        }
        listed.names.push_back(child->name);
    }
    return listed;
}

std::vector<std::string> MemoryRegistry::valueNames(RegistryRoot root, std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = find(root, path))
        for (const auto& [foldedName, entry] : key->values) names.push_back(entry.first);
    return names;
}

std::vector<NamedRegistryValue> MemoryRegistry::values(RegistryRoot root, std::string_view path) const {
    std::vector<NamedRegistryValue> named;
    if (const Key* key = find(root, path))
        for (const auto& [foldedName, entry] : key->values) named.push_back({entry.first, entry.second});
    return named;
}

long MemoryRegistry::commitAlone(long result) {
    if (inEdit() || !failNextCommit_) return result;
    failNextCommit_ = false;
    return regerror::AccessDenied;
}

long MemoryRegistry::createKey(RegistryRoot root, std::string_view path) {
    const auto parts = splitKeyPath(path);
    if (parts.size() > MaxKeyDepth) return regerror::InvalidParameter;
    if (find(root, path)) return regerror::Success;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    if (const long refused = commitAlone(regerror::Success); refused != regerror::Success) return refused;
    Key* key = &rootKey(root);
    for (const auto& part : parts) {
        auto& slot = key->children[folded(part)];
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
    if (const long refused = commitAlone(regerror::Success); refused != regerror::Success) return refused;
    if (writeDropped(root, path)) return regerror::Success;
    auto& slot = key->values[folded(name)];
    if (slot.first.empty()) slot.first = name;  // a value keeps its first spelling, as in Windows
    slot.second = value;
    return regerror::Success;
}

long MemoryRegistry::deleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    Key* key = find(root, path);
    if (!key) return regerror::FileNotFound;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    auto it = key->values.find(folded(name));
    if (it == key->values.end()) return regerror::FileNotFound;
    if (const long refused = commitAlone(regerror::Success); refused != regerror::Success) return refused;
    key->values.erase(it);
    return regerror::Success;
}

long MemoryRegistry::deleteKey(RegistryRoot root, std::string_view path) {
    auto parts = splitKeyPath(path);
    if (parts.empty()) return regerror::AccessDenied;
    Key* key = find(root, path);
    if (!key) return regerror::FileNotFound;
    if (writeDenied(root, path)) return regerror::AccessDenied;
    if (!key->children.empty()) return regerror::KeyHasChildren;
    if (const long refused = commitAlone(regerror::Success); refused != regerror::Success) return refused;
    const std::string last = parts.back();
    parts.pop_back();
    find(root, joinKeyPath(parts))->children.erase(folded(last));
    return regerror::Success;
}

Status MemoryRegistry::beginEdit() {
    if (inEdit()) return fail(Msg::MsgRegistryEditAlreadyOpen);
    snapshot_ = hives_->clone();
    return {};
}

Status MemoryRegistry::commitEdit() {
    if (!inEdit()) return fail(Msg::MsgRegistryEditNotOpen);
    if (failNextCommit_) {
        failNextCommit_ = false;
        rollbackEdit();
        return fail("The registry changes could not be saved (a commit made to fail for a test).");
    }
    snapshot_.reset();
    return {};
}

void MemoryRegistry::rollbackEdit() {
    if (snapshot_) hives_ = std::move(snapshot_);
}

}  // namespace veldra::platform
