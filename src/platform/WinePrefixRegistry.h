#pragma once
// The registry of a Wine prefix, edited in its files: HKLM lives in
// system.reg, HKCU in user.reg. A file is read on first use and again only
// when something else has rewritten it (while reads are held, this is looked
// for once). An edit holds the prefix's lock file
// and changes the keys in memory; its commit replaces each changed file
// whole and atomically, never while a wineserver runs for the prefix (the
// server keeps its own copy and would overwrite the edit). A change outside
// an edit is committed on its own.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/FileStamp.h"
#include "platform/Registry.h"
#include "platform/WineRegistryFile.h"

namespace veldra::platform {

class WinePrefixRegistry final : public Registry {
public:
    // Replaces a file's content as a whole; replaceFileAtomically unless a
    // test makes writes fail.
    using FileWriter = std::function<FileResult(const std::filesystem::path&, std::string_view)>;

    explicit WinePrefixRegistry(std::filesystem::path prefix, FileWriter write = {});

    bool canOpenForWriting(RegistryRoot root, std::string_view path) const override;
    bool keyExists(RegistryRoot root, std::string_view path) const override;
    std::optional<RegistryValue> queryValue(RegistryRoot root, std::string_view path,
                                            std::string_view name) const override;
    std::vector<std::string> subkeyNames(RegistryRoot root, std::string_view path) const override;
    std::vector<std::string> valueNames(RegistryRoot root, std::string_view path) const override;
    std::vector<NamedRegistryValue> values(RegistryRoot root, std::string_view path) const override;
    long createKey(RegistryRoot root, std::string_view path) override;
    long setValue(RegistryRoot root, std::string_view path, std::string_view name,
                  const RegistryValue& value) override;
    long deleteValue(RegistryRoot root, std::string_view path, std::string_view name) override;
    long deleteKey(RegistryRoot root, std::string_view path) override;

    // A running wineserver, or a registry file that is not Wine's.
    std::optional<Failure> writeBlocker() const override;
    std::optional<Failure> readProblem() const override;

    Status beginEdit() override;
    Status commitEdit() override;
    void rollbackEdit() override;
    bool inEdit() const override { return editing_; }
    void holdReads() const override;
    void releaseReads() const override { --heldReads_; }

private:
    struct Hive {
        std::filesystem::path file;
        std::string relativeTo;  // the header of a file made anew
        bool loaded = false;
        FileStamp stamp;
        std::optional<std::string> onDisk;         // the file as read; nothing when it did not exist
        std::optional<WineRegistryFile> registry;  // nothing when the file is refused
        std::optional<bool> writable;              // probed once per file read
        bool followedInHold = false;               // stamp looked at since the reads were held
        std::optional<Failure> refusal;  // why the file is refused
        bool changed = false;   // changed in memory since it was read
        bool backedUp = false;  // one backup per file and run, before its first change
    };
    using Edit = std::function<long(WineRegistryFile&, FileTime now, bool& changed)>;

    Hive& hive(RegistryRoot root) const;
    // Reads the file again when its stamp says someone rewrote it.
    void follow(Hive& hive) const;
    void load(Hive& hive) const;
    void forgetFiles();
    const WineRegistryKey* findKey(RegistryRoot root, std::string_view path) const;
    const WineRegistryKey* findKey(const Hive& chosen, std::string_view path) const;
    long change(RegistryRoot root, const Edit& edit);
    Status store();
    Status checkUnchangedOnDisk(const Hive& hive) const;
    Status backUp(Hive& hive);

    std::filesystem::path prefix_;
    FileWriter write_;
    mutable Hive machine_;
    mutable Hive user_;
    std::optional<FileLock> lock_;
    bool editing_ = false;
    mutable int heldReads_ = 0;
};

}  // namespace veldra::platform
