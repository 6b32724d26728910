#pragma once
// A registry held in memory: the backend of tests and of dry runs.

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
    long createKey(RegistryRoot root, std::string_view path) override;
    long setValue(RegistryRoot root, std::string_view path, std::string_view name,
                  const RegistryValue& value) override;
    long deleteValue(RegistryRoot root, std::string_view path, std::string_view name) override;
    long deleteKey(RegistryRoot root, std::string_view path) override;

    // Test hooks: keys (and their subtrees) the user may read but not change,
    // and writes that are silently dropped as a virtualising registry would.
    void denyWriteAccess(RegistryRoot root, std::string_view path);
    void dropWritesUnder(RegistryRoot root, std::string_view path);

private:
    struct Key;
    Key* find(RegistryRoot root, std::string_view path) const;
    bool writeDenied(RegistryRoot root, std::string_view path) const;
    bool writeDropped(RegistryRoot root, std::string_view path) const;

    std::unique_ptr<Key> machine_;
    std::unique_ptr<Key> user_;
    std::set<std::pair<RegistryRoot, std::string>> denied_;
    std::set<std::pair<RegistryRoot, std::string>> dropped_;
};

}  // namespace veldra::platform
