#include "platform/WinePrefixRegistry.h"

#include <chrono>
#include <fstream>

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/RegistryPath.h"
#include "platform/WineServerProbe.h"

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

// What wineserver writes at the top of a prefix's files.
constexpr std::string_view MachineRelativeTo = "REGISTRY\\\\Machine";
constexpr std::string_view UserRelativeTo = "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000";
constexpr std::string_view DefaultArch = "win64";
constexpr std::string_view BackupSuffix = ".veldra-bak";

FileTime currentFileTime() {
    using namespace std::chrono;
    const auto ticks = duration_cast<duration<std::int64_t, std::ratio<1, 10000000>>>(
        system_clock::now().time_since_epoch());
    return FileTimeOfUnixEpoch + static_cast<FileTime>(ticks.count());
}

std::string serverMessage(const fs::path& prefix, const RunningWineServer& server) {
    const std::string who = server.pid > 0 ? "wineserver pid " + std::to_string(server.pid) : "a wineserver";
    return "Wine programs are running in the prefix " + prefix.string() + " (" + who +
           "). Close MapSource/BaseCamp and the other Wine programs of this prefix (or run `wineserver -k`), "
           "then try again.";
}

// A registry file reached through a symbolic link is replaced at its target,
// so the link stays.
fs::path writeTarget(const fs::path& file) {
    std::error_code ec;
    if (fs::is_symlink(file, ec)) {
        fs::path target = fs::canonical(file, ec);
        if (!ec) return target;
    }
    return file;
}

}  // namespace

WinePrefixRegistry::WinePrefixRegistry(fs::path prefix) : prefix_(std::move(prefix)) {
    machine_.file = prefix_ / "system.reg";
    machine_.relativeTo = MachineRelativeTo;
    user_.file = prefix_ / "user.reg";
    user_.relativeTo = UserRelativeTo;
}

WinePrefixRegistry::FileStamp WinePrefixRegistry::stampOf(const fs::path& file) {
    FileStamp stamp;
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) return stamp;
    const auto written = fs::last_write_time(file, ec);
    if (ec) return stamp;
    return FileStamp{true, size, written};
}

WinePrefixRegistry::Hive& WinePrefixRegistry::hive(RegistryRoot root) const {
    Hive& chosen = root == RegistryRoot::LocalMachine ? machine_ : user_;
    const FileStamp current = stampOf(chosen.file);
    if (!chosen.loaded || current != chosen.stamp) {
        chosen.stamp = current;
        load(chosen);
    }
    return chosen;
}

void WinePrefixRegistry::load(Hive& target) const {
    target.loaded = true;
    target.registry.reset();
    target.refusal.clear();
    if (!target.stamp.exists) {
        // A new prefix: the file appears with the first change. user.reg
        // follows the architecture of system.reg, as Wine writes both alike.
        std::string arch(DefaultArch);
        if (&target == &user_) {
            const Hive& machine = hive(RegistryRoot::LocalMachine);
            if (machine.registry && !machine.registry->arch().empty()) arch = machine.registry->arch();
        }
        target.registry.emplace(target.relativeTo, arch);
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (const FileResult read = readWholeFile(target.file, bytes); !read) {
        target.refusal = "The registry file " + target.file.string() + " cannot be read: " + read.error;
        return;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    WineRegistryLoad parsed = WineRegistryFile::parse(text, currentFileTime());
    if (!parsed.file) {
        target.refusal = "The file " + target.file.string() + " is not a Wine registry file (" + parsed.error +
                         "); VELDRA neither uses nor changes it.";
        return;
    }
    if (parsed.file->relativeTo().empty()) parsed.file->setRelativeTo(target.relativeTo);
    target.registry = std::move(parsed.file);
}

const WineRegistryKey* WinePrefixRegistry::findKey(RegistryRoot root, std::string_view path) const {
    const Hive& chosen = hive(root);
    return chosen.registry ? chosen.registry->findKey(path) : nullptr;
}

bool WinePrefixRegistry::canOpenForWriting(RegistryRoot root, std::string_view path) const {
    if (!findKey(root, path)) return false;
    const Hive& chosen = hive(root);
    std::error_code ec;
    if (!chosen.stamp.exists) return fs::is_directory(prefix_, ec);
    // Opening for appending tells whether we may write without changing a byte.
    std::ofstream probe(chosen.file, std::ios::binary | std::ios::app);
    return probe.is_open();
}

bool WinePrefixRegistry::keyExists(RegistryRoot root, std::string_view path) const {
    return findKey(root, path) != nullptr;
}

std::optional<RegistryValue> WinePrefixRegistry::queryValue(RegistryRoot root, std::string_view path,
                                                            std::string_view name) const {
    const WineRegistryKey* key = findKey(root, path);
    if (!key) return std::nullopt;
    const RegistryValue* value = key->findValue(utf8ToUtf16(name));
    if (!value) return std::nullopt;
    return *value;
}

std::vector<std::string> WinePrefixRegistry::subkeyNames(RegistryRoot root, std::string_view path) const {
    std::vector<std::string> names;
    if (const WineRegistryKey* key = findKey(root, path))
        for (const auto& subkey : key->subkeys) names.push_back(utf16ToUtf8(subkey->name));
    return names;
}

std::vector<std::string> WinePrefixRegistry::valueNames(RegistryRoot root, std::string_view path) const {
    std::vector<std::string> names;
    if (const WineRegistryKey* key = findKey(root, path))
        for (const auto& entry : key->values) names.push_back(utf16ToUtf8(entry.first));
    return names;
}

long WinePrefixRegistry::createKey(RegistryRoot root, std::string_view path) {
    return change(root, [&](WineRegistryFile& registry, FileTime now, bool& changed) {
        if (registry.findKey(path)) return regerror::Success;
        // Only a link that leads out of this file stops the creation.
        if (!registry.createKey(path, now)) return regerror::AccessDenied;
        changed = true;
        return regerror::Success;
    });
}

long WinePrefixRegistry::setValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  const RegistryValue& value) {
    return change(root, [&](WineRegistryFile& registry, FileTime now, bool& changed) {
        WineRegistryKey* key = registry.findKey(path);
        if (!key) return regerror::FileNotFound;
        key->setValue(utf8ToUtf16(name), value);
        key->modified = now;
        changed = true;
        return regerror::Success;
    });
}

long WinePrefixRegistry::deleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    return change(root, [&](WineRegistryFile& registry, FileTime now, bool& changed) {
        WineRegistryKey* key = registry.findKey(path);
        if (!key || !key->removeValue(utf8ToUtf16(name))) return regerror::FileNotFound;
        key->modified = now;
        changed = true;
        return regerror::Success;
    });
}

long WinePrefixRegistry::deleteKey(RegistryRoot root, std::string_view path) {
    return change(root, [&](WineRegistryFile& registry, FileTime now, bool& changed) {
        if (splitKeyPath(path).empty()) return regerror::AccessDenied;
        WineRegistryKey* key = registry.findKey(path, false);
        if (!key) return regerror::FileNotFound;
        // Links belong to Wine's own layout; they are never removed.
        if (key->isLink) return regerror::AccessDenied;
        if (!key->subkeys.empty()) return regerror::KeyHasChildren;
        WineRegistryKey* parent = key->parent;
        const std::u16string name = key->name;
        parent->removeSubkey(name);
        parent->modified = now;
        changed = true;
        return regerror::Success;
    });
}

std::optional<std::string> WinePrefixRegistry::writeBlocker() const {
    if (const auto server = findRunningWineServer(prefix_)) return serverMessage(prefix_, *server);
    for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser})
        if (const Hive& chosen = hive(root); !chosen.registry) return chosen.refusal;
    return std::nullopt;
}

long WinePrefixRegistry::change(RegistryRoot root, const Edit& edit) {
    lastError_.clear();
    if (const auto server = findRunningWineServer(prefix_)) {
        lastError_ = serverMessage(prefix_, *server);
        return regerror::AccessDenied;
    }
    Hive& chosen = hive(root);
    if (!chosen.registry) {
        lastError_ = chosen.refusal;
        return regerror::AccessDenied;
    }
    bool changed = false;
    const long result = edit(*chosen.registry, currentFileTime(), changed);
    if (!changed) return result;
    if (!save(chosen)) {
        chosen.loaded = false;  // the file still holds the old state; read it again
        return regerror::AccessDenied;
    }
    return result;
}

bool WinePrefixRegistry::save(Hive& chosen) {
    const fs::path target = writeTarget(chosen.file);
    if (!chosen.backedUp && chosen.stamp.exists) {
        std::vector<std::uint8_t> original;
        FileResult backup = readWholeFile(target, original);
        if (backup) backup = replaceFileAtomically(fs::path(chosen.file.string() + std::string(BackupSuffix)), original);
        if (!backup) {
            lastError_ = "No backup of " + chosen.file.string() + " could be made, so it was not changed: " + backup.error;
            return false;
        }
    }
    if (const FileResult written = replaceFileAtomically(target, chosen.registry->serialize()); !written) {
        lastError_ = "The registry file " + chosen.file.string() + " could not be saved: " + written.error;
        return false;
    }
    chosen.backedUp = true;
    chosen.stamp = stampOf(chosen.file);
    return true;
}

}  // namespace veldra::platform
