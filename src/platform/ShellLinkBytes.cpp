#include "platform/ShellLinkBytes.h"

#include "platform/Cp1252.h"

namespace veldra::platform::shelllink {
namespace {

std::u16string utf16Units(Bytes bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return units;
}

}  // namespace

std::optional<Bytes> sliceAt(Bytes bytes, std::size_t offset, std::size_t length) {
    if (offset > bytes.size() || bytes.size() - offset < length) return std::nullopt;
    return bytes.subspan(offset, length);
}

std::optional<std::string> ansiStringAt(Bytes bytes, std::size_t offset) {
    for (std::size_t end = offset; end < bytes.size(); ++end)
        if (bytes[end] == 0)
            return cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data() + offset), end - offset));
    return std::nullopt;
}

std::optional<std::string> unicodeStringAt(Bytes bytes, std::size_t offset) {
    for (std::size_t end = offset; end < bytes.size() && bytes.size() - end >= 2; end += 2)
        if (bytes[end] == 0 && bytes[end + 1] == 0) return utf16ToUtf8(utf16Units(bytes.subspan(offset, end - offset)));
    return std::nullopt;
}

std::optional<std::string> countedStringAt(Bytes bytes, std::size_t offset, std::size_t count, bool unicode) {
    const auto text = sliceAt(bytes, offset, unicode ? count * 2 : count);
    if (!text) return std::nullopt;
    std::string result = unicode ? utf16ToUtf8(utf16Units(*text))
                                 : cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
    // Wine counts the terminating NULs of these strings.
    while (!result.empty() && result.back() == '\0') result.pop_back();
    return result;
}

}  // namespace veldra::platform::shelllink
