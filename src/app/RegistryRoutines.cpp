#include "app/RegistryRoutines.h"

#include "app/Dialogs.h"
#include "app/MessageCatalog.h"
#include "platform/Text.h"
#include "platform/Cp1252.h"

namespace veldra::app {

std::optional<std::string> ansiQueryBytes(const platform::RegistryValue& value) {
    std::string bytes;
    switch (value.type) {
        case platform::RegistryType::String:
        case platform::RegistryType::ExpandString:
        case platform::RegistryType::MultiString:
            // Everything after the first NUL is cut by the readers anyway.
            bytes = platform::utf8ToCp1252(value.text()) + '\0';
            break;
        default:
            bytes.assign(value.data.begin(), value.data.end());
    }
    if (bytes.size() > QueryBufferSize) return std::nullopt;
    return bytes;
}

RegistryRoutines::RegistryRoutines(platform::Registry& registry, Dialogs& dialogs, const MessageCatalog& catalog)
    : registry_(registry), dialogs_(dialogs), catalog_(catalog) {}

std::string RegistryRoutines::queryText(Root root, std::string_view key, std::string_view name) const {
    if (!registry_.canOpenForWriting(root, key)) return {};
    // A buffer of blanks; a missing value or one that does not fit leaves it blank.
    std::string buffer(QueryBufferSize, ' ');
    if (auto value = registry_.queryValue(root, key, name))
        if (auto bytes = ansiQueryBytes(*value)) buffer.replace(0, bytes->size(), *bytes);
    std::string text(platform::trimBlanks(buffer));
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return platform::cp1252ToUtf8(text);
}

namespace {

std::string rootName(RegistryRoutines::Root root) {
    return root == RegistryRoutines::Root::LocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
}

// The registry's refusal in words: what was to be done, where, and the error number.
Status refusal(long code, const char* action, RegistryRoutines::Root root, std::string_view key,
               std::string_view name) {
    if (code == platform::regerror::Success) return {};
    std::string where = rootName(root) + std::string(key);
    if (!name.empty()) where += " \"" + std::string(name) + "\"";
    return fail(std::string(action) + " " + where + " failed (error " + std::to_string(code) + ")");
}

}  // namespace

Status RegistryRoutines::storeString(Root root, std::string_view key, std::string_view name,
                                     std::string_view text) {
    if (auto made = refusal(registry_.createKey(root, key), "Creating", root, key, {}); !made) return made;
    return refusal(registry_.setValue(root, key, name, platform::RegistryValue::fromString(text)), "Writing", root,
                   key, name);
}

Status RegistryRoutines::storeStringVerified(Root root, std::string_view key, std::string_view name,
                                             std::string_view text) {
    auto stored = storeString(root, key, name, text);
    if (stored && queryText(root, key, name) == text) return stored;
    reportWriteFailure(DefaultTitle);
    return alreadyShown();
}

Status RegistryRoutines::storeTextAsBinary(Root root, std::string_view key, std::string_view name,
                                           std::string_view text) {
    if (auto made = refusal(registry_.createKey(root, key), "Creating", root, key, {}); !made) return made;
    const std::string bytes = platform::utf8ToCp1252(text);
    return refusal(registry_.setValue(root, key, name, platform::RegistryValue::fromBytes({bytes.begin(), bytes.end()})),
                   "Writing", root, key, name);
}

Status RegistryRoutines::deleteValue(Root root, std::string_view key, std::string_view name) {
    if (auto made = refusal(registry_.createKey(root, key), "Creating", root, key, {}); !made) return made;
    const long code = registry_.deleteValue(root, key, name);
    return code == platform::regerror::FileNotFound ? Status{} : refusal(code, "Deleting", root, key, name);
}

Status RegistryRoutines::deleteKey(Root root, std::string_view key) {
    if (auto made = refusal(registry_.createKey(root, key), "Creating", root, key, {}); !made) return made;
    // A key that still has subkeys stays: the registry refuses it, and that is no failure.
    const long code = registry_.deleteKey(root, key);
    return code == platform::regerror::KeyHasChildren ? Status{} : refusal(code, "Deleting", root, key, {});
}

void RegistryRoutines::reportWriteFailure(std::string_view title) {
    dialogs_.inform(catalog_.text(Msg::MsgRegistryWriteFailed), std::string(title));
    registryWritable_ = false;
}

}  // namespace veldra::app
