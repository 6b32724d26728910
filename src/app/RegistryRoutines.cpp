#include "app/RegistryRoutines.h"

#include "app/Dialogs.h"
#include "app/MessageCatalog.h"
#include "app/TextEdits.h"
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

std::string RegistryRoutines::fRegAbfrageWert(Root root, std::string_view key, std::string_view name) const {
    if (!registry_.canOpenForWriting(root, key)) return {};
    // A buffer of blanks; a missing value or one that does not fit leaves it blank.
    std::string buffer(QueryBufferSize, ' ');
    if (auto value = registry_.queryValue(root, key, name))
        if (auto bytes = ansiQueryBytes(*value)) buffer.replace(0, bytes->size(), *bytes);
    std::string text(trimBlanks(buffer));
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return platform::cp1252ToUtf8(text);
}

void RegistryRoutines::fStringSpeichern(Root root, std::string_view key, std::string_view name,
                                        std::string_view text) {
    if (registry_.createKey(root, key) != platform::regerror::Success) return;
    registry_.setValue(root, key, name, platform::RegistryValue::fromString(text));
}

void RegistryRoutines::HKCUStringSpeichern(Root root, std::string_view key, std::string_view name,
                                           std::string_view text) {
    fStringSpeichern(root, key, name, text);
    if (fRegAbfrageWert(root, key, name) != text) reportWriteFailure(DefaultTitle);
}

void RegistryRoutines::ffStringSpeichern(Root root, std::string_view key, std::string_view name,
                                         std::string_view text) {
    if (registry_.createKey(root, key) != platform::regerror::Success) return;
    const std::string bytes = platform::utf8ToCp1252(text);
    registry_.setValue(root, key, name, platform::RegistryValue::fromBytes({bytes.begin(), bytes.end()}));
}

void RegistryRoutines::fWerteLoeschen(Root root, std::string_view key, std::string_view name) {
    if (registry_.createKey(root, key) != platform::regerror::Success) return;
    registry_.deleteValue(root, key, name);
}

void RegistryRoutines::fSchluesselLoeschen(Root root, std::string_view key) {
    if (registry_.createKey(root, key) != platform::regerror::Success) return;
    registry_.deleteKey(root, key);
}

void RegistryRoutines::reportWriteFailure(std::string_view title) {
    dialogs_.inform(catalog_.text(Msg::MsgRegistryWriteFailed), std::string(title));
    registryWritable_ = false;
}

}  // namespace veldra::app
