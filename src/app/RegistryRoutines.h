#pragma once
// The routines every registry access of the program passes through. Reads
// give the empty text on any failure; writes report whether they were stored,
// and the verified write also tells the user when a value did not stick.

#include <optional>
#include <string>
#include <string_view>

#include "core/Result.h"
#include "platform/Registry.h"

namespace veldra::app {

class Dialogs;
class MessageCatalog;

// The buffer every ANSI value query reads into.
inline constexpr std::size_t QueryBufferSize = 256;

// The bytes an ANSI query hands back (strings in the code page with their NUL,
// other types as stored); nothing when they do not fit the query buffer.
std::optional<std::string> ansiQueryBytes(const platform::RegistryValue& value);

class RegistryRoutines {
public:
    using Root = platform::RegistryRoot;

    RegistryRoutines(platform::Registry& registry, Dialogs& dialogs, const MessageCatalog& catalog);

    // The value as text: string types in the ANSI code page, other types one
    // character per byte; trimmed of blanks and cut at the first NUL.
    std::string queryText(Root root, std::string_view key, std::string_view name) const;
    // Stores REG_SZ, creating the key and its parents.
    Status storeString(Root root, std::string_view key, std::string_view name, std::string_view text);
    // As storeString, then reads back; a difference shows MsgRegistryWriteFailed.
    Status storeStringVerified(Root root, std::string_view key, std::string_view name, std::string_view text);
    // Stores the ANSI bytes of the text, one byte per character, as REG_BINARY.
    Status storeTextAsBinary(Root root, std::string_view key, std::string_view name, std::string_view text);
    // Delete routines create a missing key first, so deleting nothing is no
    // error; nor is a key that keeps its subkeys.
    Status deleteValue(Root root, std::string_view key, std::string_view name);
    Status deleteKey(Root root, std::string_view key);

    // Cleared when a verified value did not read back.
    bool registryWritable() const { return registryWritable_; }
    void setRegistryWritable(bool writable) { registryWritable_ = writable; }
    // Shows MsgRegistryWriteFailed and clears the flag.
    void reportWriteFailure(std::string_view title);

    platform::Registry& registry() { return registry_; }

private:
    platform::Registry& registry_;
    Dialogs& dialogs_;
    const MessageCatalog& catalog_;
    bool registryWritable_ = true;
};

}  // namespace veldra::app
