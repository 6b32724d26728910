#include "platform/RegistryPath.h"

#include <algorithm>

#include "platform/Cp1252.h"

namespace veldra::platform {

std::vector<std::string> splitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = path.find('\\', start);
        const auto part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!part.empty()) parts.emplace_back(part);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

std::string joinKeyPath(const std::vector<std::string>& components) {
    std::string out;
    for (const auto& c : components) {
        if (!out.empty()) out += '\\';
        out += c;
    }
    return out;
}

std::u16string foldRegistryName(std::u16string_view name) {
    std::u16string folded(name);
    for (auto& unit : folded) unit = foldRegistryUnit(unit);
    return folded;
}

namespace {

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

}  // namespace

// No unit folds into ASCII or out of it, so ASCII text (most names) folds
// byte by byte, without the detour through UTF-16.
std::string foldCase(std::string_view s) {
    if (!isAscii(s)) return utf16ToUtf8(foldRegistryName(utf8ToUtf16(s)));
    std::string folded(s);
    for (char& c : folded) c = foldAscii(c);
    return folded;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (!isAscii(a) || !isAscii(b)) return foldCase(a) == foldCase(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

}  // namespace veldra::platform
