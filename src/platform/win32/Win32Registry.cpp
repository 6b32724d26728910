#include "platform/Win32Registry.h"

#include <windows.h>

#include "platform/PathText.h"
#include "platform/RegistryPath.h"
#include "platform/win32/WideText.h"

namespace veldra::platform {
namespace {

HKEY rootKey(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

class KeyHandle {
public:
    KeyHandle() = default;
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    ~KeyHandle() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The path as Windows takes it; nothing for a path deeper than any key can lie.
std::optional<std::wstring> widePath(std::string_view path) {
    const auto components = splitKeyPath(path);
    if (components.size() > MaxKeyDepth) return std::nullopt;
    return wideText(joinKeyPath(components));
}

long openKey(RegistryRoot root, std::string_view path, REGSAM access, KeyHandle& key) {
    const auto wide = widePath(path);
    if (!wide) return regerror::FileNotFound;
    return RegOpenKeyExW(rootKey(root), wide->c_str(), 0, access, key.receive());
}

std::optional<RegistryValue> readValue(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<std::uint8_t> data;
    // The value may grow between the two calls.
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        data.resize(size);
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return RegistryValue{static_cast<RegistryType>(type), std::move(data)};
        }
    }
    return std::nullopt;
}

long writeValue(HKEY key, const std::wstring& name, const RegistryValue& value) {
    return RegSetValueExW(key, name.c_str(), 0, static_cast<DWORD>(value.type), value.data.data(),
                          static_cast<DWORD>(value.data.size()));
}

// Names come one at a time; the call fails with ERROR_NO_MORE_ITEMS after the
// last. Any other failure ends the names early and is kept; so is a refusal
// to open the key, where Windows checks the right to list it.
template <class EnumerateOne>
SubkeyEnumeration enumerateNames(RegistryRoot root, std::string_view path, DWORD longestName,
                                 EnumerateOne enumerateOne) {
    SubkeyEnumeration listed;
    KeyHandle key;
    if (const long rc = openKey(root, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, key); rc != ERROR_SUCCESS) {
        if (rc != ERROR_FILE_NOT_FOUND) listed.error = rc;
        return listed;
    }
    std::wstring buffer(longestName + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (const long rc = enumerateOne(key.get(), index, buffer.data(), &length); rc != ERROR_SUCCESS) {
            if (rc != ERROR_NO_MORE_ITEMS) listed.error = rc;
            break;
        }
        listed.names.push_back(utf8Text(std::wstring_view(buffer.data(), length)));
    }
    return listed;
}

std::filesystem::path defaultLockFile() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    const std::filesystem::path temp = length > 0 && length <= MAX_PATH ? std::filesystem::path(folder)
                                                                        : std::filesystem::path(".");
    return temp / "VELDRA-registry.lock";
}

}  // namespace

Win32Registry::Win32Registry() : Win32Registry(defaultLockFile()) {}

Win32Registry::Win32Registry(std::filesystem::path lockFile) : lockFile_(std::move(lockFile)) {}

Win32Registry::~Win32Registry() {
    // An edit nobody committed leaves nothing behind.
    rollbackEdit();
}

bool Win32Registry::canOpenForWriting(RegistryRoot root, std::string_view path) const {
    KeyHandle key;
    return openKey(root, path, KEY_ALL_ACCESS, key) == ERROR_SUCCESS;
}

bool Win32Registry::keyExists(RegistryRoot root, std::string_view path) const {
    KeyHandle key;
    const long rc = openKey(root, path, KEY_QUERY_VALUE, key);
    return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;
}

std::optional<RegistryValue> Win32Registry::queryValue(RegistryRoot root, std::string_view path,
                                                       std::string_view name) const {
    KeyHandle key;
    if (openKey(root, path, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return std::nullopt;
    return readValue(key.get(), wideText(name));
}

std::vector<std::string> Win32Registry::subkeyNames(RegistryRoot root, std::string_view path) const {
    return enumerateSubkeys(root, path).names;
}

SubkeyEnumeration Win32Registry::enumerateSubkeys(RegistryRoot root, std::string_view path) const {
    // A key name has at most 255 characters.
    return enumerateNames(root, path, 255, [](HKEY key, DWORD index, wchar_t* name, DWORD* length) {
        return RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> Win32Registry::valueNames(RegistryRoot root, std::string_view path) const {
    // A value name has at most 16383 characters.
    return enumerateNames(root, path, 16383, [](HKEY key, DWORD index, wchar_t* name, DWORD* length) {
        return RegEnumValueW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
    }).names;
}

std::vector<NamedRegistryValue> Win32Registry::values(RegistryRoot root, std::string_view path) const {
    std::vector<NamedRegistryValue> named;
    KeyHandle key;
    if (openKey(root, path, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return named;
    for (auto& name : valueNames(root, path))
        if (auto value = readValue(key.get(), wideText(name))) named.push_back({std::move(name), std::move(*value)});
    return named;
}

long Win32Registry::createKey(RegistryRoot root, std::string_view path) {
    const auto components = splitKeyPath(path);
    if (components.size() > MaxKeyDepth) return regerror::InvalidParameter;
    return change(root, [&](std::vector<Undo>& undo) -> long {
        // The first missing key is what the creation adds; taking it back removes its subtree.
        std::vector<std::string> leading;
        for (const auto& component : components) {
            leading.push_back(component);
            if (!keyExists(root, joinKeyPath(leading))) break;
        }
        const bool added = !keyExists(root, joinKeyPath(leading));
        KeyHandle key;
        const long rc = RegCreateKeyExW(rootKey(root), wideText(joinKeyPath(components)).c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY, nullptr, key.receive(), nullptr);
        if (rc == ERROR_SUCCESS && added) {
            undo.push_back([root, first = wideText(joinKeyPath(leading))] {
                const long deleted = RegDeleteTreeW(rootKey(root), first.c_str());
                const long removed = RegDeleteKeyW(rootKey(root), first.c_str());
                return deleted != ERROR_SUCCESS ? deleted : removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
            });
        }
        return rc;
    });
}

long Win32Registry::setValue(RegistryRoot root, std::string_view path, std::string_view name,
                             const RegistryValue& value) {
    return change(root, [&](std::vector<Undo>& undo) -> long {
        KeyHandle key;
        if (const long rc = openKey(root, path, KEY_QUERY_VALUE | KEY_SET_VALUE, key); rc != ERROR_SUCCESS) return rc;
        const std::wstring wideName = wideText(name);
        const auto before = readValue(key.get(), wideName);
        const long rc = writeValue(key.get(), wideName, value);
        if (rc == ERROR_SUCCESS) {
            undo.push_back([root, keyPath = *widePath(path), wideName, before]() -> long {
                KeyHandle again;
                if (const long opened = RegOpenKeyExW(rootKey(root), keyPath.c_str(), 0, KEY_SET_VALUE, again.receive());
                    opened != ERROR_SUCCESS)
                    return opened;
                return before ? writeValue(again.get(), wideName, *before) : RegDeleteValueW(again.get(), wideName.c_str());
            });
        }
        return rc;
    });
}

long Win32Registry::deleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    return change(root, [&](std::vector<Undo>& undo) -> long {
        KeyHandle key;
        if (const long rc = openKey(root, path, KEY_QUERY_VALUE | KEY_SET_VALUE, key); rc != ERROR_SUCCESS) return rc;
        const std::wstring wideName = wideText(name);
        const auto before = readValue(key.get(), wideName);
        const long rc = RegDeleteValueW(key.get(), wideName.c_str());
        if (rc == ERROR_SUCCESS && before) {
            undo.push_back([root, keyPath = *widePath(path), wideName, value = *before]() -> long {
                KeyHandle again;
                if (const long opened = RegOpenKeyExW(rootKey(root), keyPath.c_str(), 0, KEY_SET_VALUE, again.receive());
                    opened != ERROR_SUCCESS)
                    return opened;
                return writeValue(again.get(), wideName, value);
            });
        }
        return rc;
    });
}

long Win32Registry::deleteKey(RegistryRoot root, std::string_view path) {
    const auto wide = widePath(path);
    if (!wide) return regerror::FileNotFound;
    // The root itself is no key one may delete.
    if (wide->empty()) return regerror::AccessDenied;
    return change(root, [&](std::vector<Undo>& undo) -> long {
        KeyHandle key;
        if (const long rc = openKey(root, path, KEY_READ, key); rc != ERROR_SUCCESS) return rc;
        DWORD subkeys = 0;
        if (const long rc = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                                             nullptr, nullptr, nullptr, nullptr);
            rc != ERROR_SUCCESS)
            return rc;
        // Windows answers "access denied" here; the port names the reason.
        if (subkeys > 0) return regerror::KeyHasChildren;
        std::vector<std::pair<std::wstring, RegistryValue>> values;
        for (const auto& name : valueNames(root, path)) {
            const std::wstring wideName = wideText(name);
            if (auto value = readValue(key.get(), wideName)) values.emplace_back(wideName, std::move(*value));
        }
        const long rc = RegDeleteKeyW(rootKey(root), wide->c_str());
        if (rc == ERROR_SUCCESS) {
            undo.push_back([root, keyPath = *wide, values = std::move(values)]() -> long {
                KeyHandle again;
                if (const long created = RegCreateKeyExW(rootKey(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                         KEY_SET_VALUE, nullptr, again.receive(), nullptr);
                    created != ERROR_SUCCESS)
                    return created;
                for (const auto& [name, value] : values)
                    if (const long written = writeValue(again.get(), name, value); written != ERROR_SUCCESS) return written;
                return ERROR_SUCCESS;
            });
        }
        return rc;
    });
}

long Win32Registry::change(RegistryRoot root, const std::function<long(std::vector<Undo>&)>& apply) {
    const bool alone = !inEdit();
    if (alone && !beginEdit()) return regerror::AccessDenied;
    std::vector<Undo> undo;
    const long rc = apply(undo);
    if (!undo.empty()) {
        (root == RegistryRoot::LocalMachine ? machineChanged_ : userChanged_) = true;
        undo_.insert(undo_.end(), undo.begin(), undo.end());
    }
    if (alone) {
        if (!commitEdit()) return regerror::AccessDenied;
    }
    return rc;
}

long Win32Registry::undoAll() {
    long first = regerror::Success;
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) {
        if (const long rc = (*it)(); rc != ERROR_SUCCESS && first == regerror::Success) first = rc;
    }
    undo_.clear();
    return first;
}

Status Win32Registry::beginEdit() {
    if (inEdit()) return fail(Msg::MsgRegistryEditAlreadyOpen);
    lock_.emplace(lockFile_);
    if (lock_->state() != FileLock::State::Held) {
        const Failure refusal = lock_->state() == FileLock::State::HeldElsewhere
                                    ? fail(Msg::MsgRegistryBusy)
                                    : fail(Msg::MsgRegistryNotLockable, pathText(lockFile_));
        lock_.reset();
        return refusal;
    }
    machineChanged_ = userChanged_ = false;
    return {};
}

Status Win32Registry::commitEdit() {
    if (!inEdit()) return fail(Msg::MsgRegistryEditNotOpen);
    // Each changed root goes to disk before the edit counts as done.
    long flushed = ERROR_SUCCESS;
    if (machineChanged_) flushed = RegFlushKey(HKEY_LOCAL_MACHINE);
    if (userChanged_ && flushed == ERROR_SUCCESS) flushed = RegFlushKey(HKEY_CURRENT_USER);
    Status result;
    if (flushed != ERROR_SUCCESS) {
        const long undone = undoAll();
        result = undone == ERROR_SUCCESS ? fail(Msg::MsgRegistryChangesNotSaved, std::to_string(flushed))
                                         : fail(Msg::MsgRegistryChangesNotTakenBack,
                                                std::to_string(flushed) + ", " + std::to_string(undone));
    }
    undo_.clear();
    lock_.reset();
    return result;
}

void Win32Registry::rollbackEdit() {
    if (!inEdit()) return;
    undoAll();
    lock_.reset();
}

}  // namespace veldra::platform
