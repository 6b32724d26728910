#pragma once
// A registry held in memory: the backend of tests and of dry runs. Names are
// folded and ordered exactly as the Wine backend folds and orders them.

#include <map>
#include <memory>
#include <set>

#include "platform/Registry.h"

namespace veldra::platform {

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

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
    bool inEdit() const override { return snapshot_ != nullptr; }

    // Test hooks: keys (and their subtrees) the user may read but not change,
    // and writes that are silently dropped as a virtualising registry would.
    void denyWriteAccess(RegistryRoot root, std::string_view path);
    void dropWritesUnder(RegistryRoot root, std::string_view path);
    // The enumeration of the key's subkeys is refused (access denied) after
    // the first `names` names, as Windows refuses a key the user may not list.
    void refuseEnumeration(RegistryRoot root, std::string_view path, std::size_t names);
    // The next commit fails and drops its changes, as a failed save would: the
    // commit of an edit, or outside an edit the next change.
    void failNextCommit() { failNextCommit_ = true; }

private:
    struct Key;
    struct Hives;
    Key* find(RegistryRoot root, std::string_view path) const;
    Key& rootKey(RegistryRoot root) const;
    bool writeDenied(RegistryRoot root, std::string_view path) const;
    bool writeDropped(RegistryRoot root, std::string_view path) const;
    // A change outside an edit is its own commit.
    long commitAlone(long result);

    std::unique_ptr<Hives> hives_;
    std::unique_ptr<Hives> snapshot_;  // the state at beginEdit while an edit is open
    std::set<std::pair<RegistryRoot, std::string>> denied_;
    std::set<std::pair<RegistryRoot, std::string>> dropped_;
    std::map<std::pair<RegistryRoot, std::string>, std::size_t> refusedEnumerations_;
    bool failNextCommit_ = false;
};

}  // namespace veldra::platform
