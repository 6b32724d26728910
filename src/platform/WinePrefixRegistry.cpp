#include "platform/WinePrefixRegistry.h"

#include <chrono>
#include <fstream>

#include "platform/CappedFileRead.h"
#include "platform/Cp1252.h"
#include "platform/FileSync.h"
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
constexpr std::string_view LockFileName = ".veldra-lock";
// A prefix with many programs holds a few tens of megabytes.
constexpr std::uintmax_t RegistryFileLimit = 128 * MiB;

FileTime currentFileTime() {
    using namespace std::chrono;
    const auto ticks = duration_cast<duration<std::int64_t, std::ratio<1, 10000000>>>(
        system_clock::now().time_since_epoch());
    return FileTimeOfUnixEpoch + static_cast<FileTime>(ticks.count());
}

std::optional<Failure> runningServerFailure(const fs::path& prefix) {
    const auto server = findRunningWineServer(prefix);
    if (!server) return std::nullopt;
    const std::string who = server->pid > 0 ? "wineserver " + std::to_string(server->pid) : "wineserver";
    return fail(Msg::MsgWineProgramsRunning, prefix.string() + " (" + who + ")");
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

// The text of a registry file (nothing when it does not exist), or why it
// cannot be read.
Result<std::optional<std::string>> readText(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return std::optional<std::string>();
    auto bytes = readFileCapped(file, RegistryFileLimit);
    if (!bytes) return fail(Msg::MsgRegistryFileUnreadable, file.string());
    return std::optional<std::string>(std::string(bytes->begin(), bytes->end()));
}

// A line of a registry file as editors and compilers name it.
std::string fileLine(const fs::path& file, std::size_t line) {
    return line > 0 ? file.string() + ":" + std::to_string(line) : file.string();
}

}  // namespace

WinePrefixRegistry::WinePrefixRegistry(fs::path prefix, FileWriter write)
    : prefix_(std::move(prefix)), write_(std::move(write)) {
    if (!write_) write_ = [](const fs::path& file, std::string_view bytes) { return replaceFileAtomically(file, bytes); };
    machine_.file = prefix_ / "system.reg";
    machine_.relativeTo = MachineRelativeTo;
    user_.file = prefix_ / "user.reg";
    user_.relativeTo = UserRelativeTo;
}

// During an edit the keys in memory hold its changes: they are not read again.
WinePrefixRegistry::Hive& WinePrefixRegistry::hive(RegistryRoot root) const {
    Hive& chosen = root == RegistryRoot::LocalMachine ? machine_ : user_;
    if (chosen.loaded && (editing_ || (heldReads_ > 0 && chosen.followedInHold))) return chosen;
    follow(chosen);
    chosen.followedInHold = heldReads_ > 0;
    return chosen;
}

void WinePrefixRegistry::follow(Hive& chosen) const {
    const FileStamp current = fileStampOf(chosen.file);
    if (!chosen.loaded || current != chosen.stamp) {
        chosen.stamp = current;
        load(chosen);
    }
}

void WinePrefixRegistry::holdReads() const {
    if (heldReads_++ == 0) machine_.followedInHold = user_.followedInHold = false;
}

void WinePrefixRegistry::load(Hive& target) const {
    target.loaded = true;
    target.changed = false;
    target.writable.reset();
    target.registry.reset();
    target.refusal.reset();
    auto text = readText(target.file);
    if (!text) {
        target.onDisk = std::string();
        target.refusal = text.failure();
        return;
    }
    target.onDisk = std::move(*text);
    if (!target.onDisk) {
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
    WineRegistryLoad parsed = WineRegistryFile::parse(*target.onDisk, currentFileTime());
    if (!parsed.file) {
        target.refusal = fail(*parsed.refusal, fileLine(target.file, parsed.refusedLine));
        return;
    }
    if (parsed.file->relativeTo().empty()) parsed.file->setRelativeTo(target.relativeTo);
    target.registry = std::move(parsed.file);
}

void WinePrefixRegistry::forgetFiles() {
    machine_.loaded = false;
    user_.loaded = false;
}

const WineRegistryKey* WinePrefixRegistry::findKey(RegistryRoot root, std::string_view path) const {
    return findKey(hive(root), path);
}

const WineRegistryKey* WinePrefixRegistry::findKey(const Hive& chosen, std::string_view path) const {
    return chosen.registry ? chosen.registry->findKey(path) : nullptr;
}

bool WinePrefixRegistry::canOpenForWriting(RegistryRoot root, std::string_view path) const {
    Hive& chosen = hive(root);
    if (!findKey(chosen, path)) return false;
    if (!chosen.writable) {
        std::error_code ec;
        // Opening for appending tells whether we may write without changing a byte.
        chosen.writable = chosen.stamp.exists ? std::ofstream(chosen.file, std::ios::binary | std::ios::app).is_open()
                                              : fs::is_directory(prefix_, ec);
    }
    return *chosen.writable;
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
        for (const auto& entry : key->values) names.push_back(utf16ToUtf8(entry.name));
    return names;
}

std::vector<NamedRegistryValue> WinePrefixRegistry::values(RegistryRoot root, std::string_view path) const {
    std::vector<NamedRegistryValue> named;
    if (const WineRegistryKey* key = findKey(root, path)) {
        named.reserve(key->values.size());
        for (const auto& entry : key->values) named.push_back({utf16ToUtf8(entry.name), entry.value});
    }
    return named;
}

long WinePrefixRegistry::createKey(RegistryRoot root, std::string_view path) {
    if (splitKeyPath(path).size() > MaxKeyDepth) return regerror::InvalidParameter;
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
        // Lines kept as they were would go with the key.
        if (key->firstKeptLine()) return regerror::AccessDenied;
        key->parent->modified = now;
        registry.removeKey(*key);
        changed = true;
        return regerror::Success;
    });
}

std::optional<Failure> WinePrefixRegistry::writeBlocker() const {
    if (auto server = runningServerFailure(prefix_)) return server;
    return readProblem();
}

std::optional<Failure> WinePrefixRegistry::readProblem() const {
    for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser})
        if (const Hive& chosen = hive(root); !chosen.registry) return chosen.refusal;
    return std::nullopt;
}

Status WinePrefixRegistry::beginEdit() {
    if (editing_) return fail("A registry edit of the prefix " + prefix_.string() + " is already open.");
    const fs::path lockFile = prefix_ / LockFileName;
    lock_.emplace(lockFile);
    if (lock_->state() != FileLock::State::Held) {
        // The lock file names what could not be opened; the system's reason is in English only.
        Failure refused = lock_->state() == FileLock::State::HeldElsewhere
                              ? fail(Msg::MsgPrefixBusy, prefix_.string())
                              : fail(Msg::MsgPrefixNotLockable, lockFile.string());
        lock_.reset();
        return refused;
    }
    // Held reads or not, an edit starts from the files as they are now.
    for (Hive* chosen : {&machine_, &user_}) follow(*chosen);
    if (std::optional<Failure> problem = writeBlocker()) {
        lock_.reset();
        return *problem;
    }
    editing_ = true;
    return {};
}

Status WinePrefixRegistry::commitEdit() {
    if (!editing_) return fail("No registry edit of the prefix " + prefix_.string() + " is open.");
    Status stored = store();
    if (!stored) forgetFiles();  // what is in memory follows the files again
    editing_ = false;
    lock_.reset();
    return stored;
}

void WinePrefixRegistry::rollbackEdit() {
    if (!editing_) return;
    forgetFiles();
    editing_ = false;
    lock_.reset();
}

long WinePrefixRegistry::change(RegistryRoot root, const Edit& edit) {
    const bool onItsOwn = !editing_;
    if (onItsOwn && !beginEdit()) return regerror::AccessDenied;
    Hive& chosen = hive(root);
    bool changed = false;
    const long result = edit(*chosen.registry, currentFileTime(), changed);
    chosen.changed = chosen.changed || changed;
    if (onItsOwn && !commitEdit()) return regerror::AccessDenied;
    return result;
}

// Someone may have changed a file since it was read (the lock keeps only
// other VELDRAs away); saving over it would lose that change.
Status WinePrefixRegistry::checkUnchangedOnDisk(const Hive& chosen) const {
    const auto current = readText(chosen.file);
    if (!current) return current.failure();
    if (*current != chosen.onDisk)
        return fail(Msg::MsgRegistryFileChangedMeanwhile, chosen.file.string());
    return {};
}

Status WinePrefixRegistry::backUp(Hive& chosen) {
    if (chosen.backedUp || !chosen.onDisk) return {};
    const fs::path backup(chosen.file.string() + std::string(BackupSuffix));
    if (!write_(backup, *chosen.onDisk)) return fail(Msg::MsgRegistryBackupFailed, backup.string());
    chosen.backedUp = true;
    return {};
}

// One atomic replace per changed file. When a later file fails, the files
// already replaced get their text from before the edit back.
Status WinePrefixRegistry::store() {
    std::vector<Hive*> changed;
    for (Hive* chosen : {&machine_, &user_})
        if (chosen->loaded && chosen->changed) changed.push_back(chosen);
    if (changed.empty()) return {};
    if (auto server = runningServerFailure(prefix_)) return *server;
    for (Hive* chosen : changed) {
        if (const auto line = chosen->registry->unsafeLine())
            return fail(Msg::MsgRegistryLineCutOff, fileLine(chosen->file, *line));
        if (Status same = checkUnchangedOnDisk(*chosen); !same) return same;
    }
    for (Hive* chosen : changed)
        if (Status saved = backUp(*chosen); !saved) return saved;

    std::vector<std::string> texts;
    for (Hive* chosen : changed) texts.push_back(chosen->registry->serialize());
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const fs::path target = writeTarget(changed[i]->file);
        const FileResult written = write_(target, texts[i]);
        if (written) continue;
        // The user is told of a file left changed before a file that failed
        // to be saved: only the former needs the backup.
        std::optional<Failure> leftChanged;
        for (std::size_t done = 0; done < i; ++done) {
            const Hive& earlier = *changed[done];
            const fs::path earlierTarget = writeTarget(earlier.file);
            std::error_code ec;
            const bool restored = earlier.onDisk ? bool(write_(earlierTarget, *earlier.onDisk))
                                                 : fs::remove(earlierTarget, ec);
            if (!restored && !leftChanged) leftChanged = fail(Msg::MsgRegistryRestoreFailed, earlier.file.string());
        }
        return leftChanged ? *leftChanged : fail(Msg::MsgRegistrySaveFailed, changed[i]->file.string());
    }
    // The renames have happened; a failed flush of the folder only means
    // that a power cut could still undo them.
    for (Hive* chosen : changed) flushDirectoryToDisk(writeTarget(chosen->file).parent_path());
    for (std::size_t i = 0; i < changed.size(); ++i) {
        changed[i]->onDisk = std::move(texts[i]);
        changed[i]->stamp = fileStampOf(changed[i]->file);
        changed[i]->changed = false;
        changed[i]->writable.reset();
    }
    return {};
}

}  // namespace veldra::platform
