#pragma once
// The registry of Windows itself, through advapi32's wide-character calls;
// names and string values are converted between UTF-8 and UTF-16 at each
// call. Key paths are used as given: a 64-bit process reaches the 32-bit
// programs' keys through "SOFTWARE\Wow6432Node" as the host programs' layout
// spells them.
//
// Windows offers no transaction the host programs would honour, so an edit
// applies each change at once and notes how to take it back: a rollback, or
// a commit that cannot flush the changed roots to disk, undoes the noted
// changes newest first. One VELDRA edits at a time (a lock file in the
// user's temporary folder).

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "platform/FileLock.h"
#include "platform/Registry.h"

namespace veldra::platform {

class Win32Registry final : public Registry {
public:
    Win32Registry();
    // `lockFile` decides which registries count as the same (tests use their own).
    explicit Win32Registry(std::filesystem::path lockFile);
    ~Win32Registry() override;

    bool canOpenForWriting(RegistryRoot root, std::string_view path) const override;
    bool keyExists(RegistryRoot root, std::string_view path) const override;
    std::optional<RegistryValue> queryValue(RegistryRoot root, std::string_view path,
                                            std::string_view name) const override;
    std::vector<std::string> subkeyNames(RegistryRoot root, std::string_view path) const override;
    std::vector<std::string> valueNames(RegistryRoot root, std::string_view path) const override;
    std::vector<NamedRegistryValue> values(RegistryRoot root, std::string_view path) const override;
    SubkeyEnumeration enumerateSubkeys(RegistryRoot root, std::string_view path) const override;
    long createKey(RegistryRoot root, std::string_view path) override;
    long setValue(RegistryRoot root, std::string_view path, std::string_view name,
                  const RegistryValue& value) override;
    long deleteValue(RegistryRoot root, std::string_view path, std::string_view name) override;
    long deleteKey(RegistryRoot root, std::string_view path) override;

    Status beginEdit() override;
    Status commitEdit() override;
    void rollbackEdit() override;
    bool inEdit() const override { return lock_.has_value(); }

private:
    // Takes one change back; returns a Windows error number.
    using Undo = std::function<long()>;
    // Runs a change, inside the open edit or as an edit of its own.
    long change(RegistryRoot root, const std::function<long(std::vector<Undo>&)>& apply);
    // Undoes the noted changes newest first; the first error, or Success.
    long undoAll();

    std::filesystem::path lockFile_;
    std::optional<FileLock> lock_;
    std::vector<Undo> undo_;
    bool machineChanged_ = false;
    bool userChanged_ = false;
};

}  // namespace veldra::platform
