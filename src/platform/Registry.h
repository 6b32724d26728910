#pragma once
// The registry port: the few operations the program needs on HKLM and HKCU.
// Result codes are Windows error numbers so that every backend reports alike.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Result.h"

namespace veldra::platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Windows value type numbers, as the registry stores them.
enum class RegistryType : std::uint32_t {
    None = 0,
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    Dword = 4,         // REG_DWORD
    Link = 6,          // REG_LINK
    MultiString = 7,   // REG_MULTI_SZ
    Qword = 11,        // REG_QWORD
};

// A value as the registry holds it. String types keep their UTF-16LE code units
// with the terminating NUL, exactly as Windows stores them; the other types are
// raw bytes.
struct RegistryValue {
    RegistryType type = RegistryType::None;
    std::vector<std::uint8_t> data;

    bool operator==(const RegistryValue&) const = default;

    static RegistryValue fromString(std::string_view utf8, RegistryType type = RegistryType::String);
    static RegistryValue fromBytes(std::vector<std::uint8_t> bytes);
    static RegistryValue fromDword(std::uint32_t value);
    // The text of a string value (UTF-8), cut at the first NUL.
    std::string text() const;
};

namespace regerror {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidParameter = 87;
inline constexpr long KeyHasChildren = 1020;
}  // namespace regerror

// A value with its name as stored.
struct NamedRegistryValue {
    std::string name;
    RegistryValue value;

    bool operator==(const NamedRegistryValue&) const = default;
};

// The subkey names of a key, and the error number that ended their
// enumeration early (AccessDenied when it was refused), Success otherwise.
struct SubkeyEnumeration {
    std::vector<std::string> names;
    long error = regerror::Success;
};

// Key paths use backslashes, no leading backslash; names compare without regard to case.
class Registry {
public:
    virtual ~Registry() = default;

    // True when the key exists and may be opened with full access (KEY_ALL_ACCESS).
    virtual bool canOpenForWriting(RegistryRoot root, std::string_view path) const = 0;
    virtual bool keyExists(RegistryRoot root, std::string_view path) const = 0;
    virtual std::optional<RegistryValue> queryValue(RegistryRoot root, std::string_view path,
                                                    std::string_view name) const = 0;
    // Names as stored (their own case), in the order the registry enumerates them.
    virtual std::vector<std::string> subkeyNames(RegistryRoot root, std::string_view path) const = 0;
    virtual std::vector<std::string> valueNames(RegistryRoot root, std::string_view path) const = 0;
    // Every value of the key in valueNames' order: one look-up of the key for
    // a reader that needs several of its values. Empty when the key is missing.
    virtual std::vector<NamedRegistryValue> values(RegistryRoot root, std::string_view path) const = 0;
    // subkeyNames, and why the enumeration stopped before the last name;
    // a backend that is never refused has read every name.
    virtual SubkeyEnumeration enumerateSubkeys(RegistryRoot root, std::string_view path) const {
        return {subkeyNames(root, path), regerror::Success};
    }

    // Creates the key and every missing parent.
    [[nodiscard]] virtual long createKey(RegistryRoot root, std::string_view path) = 0;
    // The key must exist.
    [[nodiscard]] virtual long setValue(RegistryRoot root, std::string_view path, std::string_view name,
                          const RegistryValue& value) = 0;
    [[nodiscard]] virtual long deleteValue(RegistryRoot root, std::string_view path, std::string_view name) = 0;
    // Only a key without subkeys can be deleted (KeyHasChildren otherwise).
    [[nodiscard]] virtual long deleteKey(RegistryRoot root, std::string_view path) = 0;

    // Why writes are refused right now (for example a running wineserver), or nothing.
    virtual std::optional<Failure> writeBlocker() const { return std::nullopt; }
    // Why the registry cannot be read at all (a registry file that is not one), or nothing.
    virtual std::optional<Failure> readProblem() const { return std::nullopt; }

    // A task's changes form one edit. beginEdit gives this process the registry
    // alone (a second VELDRA process on the same registry is refused until the
    // edit ends) and reads its current state; the changes that follow are held
    // back until commitEdit stores them all at once; reads in between see
    // them. rollbackEdit, or a commit that fails, drops every one of them and
    // leaves the stored registry as it was. Both end the edit. Outside an edit
    // each change is stored on its own (and refused when beginEdit would be).
    virtual Status beginEdit() = 0;
    virtual Status commitEdit() = 0;
    virtual void rollbackEdit() = 0;
    virtual bool inEdit() const = 0;

    // Between holdReads and releaseReads (nested alike) every read sees the
    // registry as the first one found it: a backend that follows changes made
    // by others looks for them once, not at each read. An edit begun in
    // between still starts from the stored state.
    virtual void holdReads() const {}
    virtual void releaseReads() const {}
};

// Holds the reads of a scope (a catalog, say) to one state of the registry.
class HeldRegistryReads {
public:
    explicit HeldRegistryReads(const Registry& registry) : registry_(registry) { registry_.holdReads(); }
    ~HeldRegistryReads() { registry_.releaseReads(); }
    HeldRegistryReads(const HeldRegistryReads&) = delete;
    HeldRegistryReads& operator=(const HeldRegistryReads&) = delete;

private:
    const Registry& registry_;
};

}  // namespace veldra::platform
