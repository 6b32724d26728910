// Writing Wine's registry text format in wineserver's own layout: key order,
// line breaks and escapes as wineserver saves them; lines the reader kept as
// they were go back at their place.

#include <algorithm>

#include "platform/WineRegistryFile.h"

namespace veldra::platform {
namespace {

constexpr std::size_t HexLineLimit = 76;

void appendHex(std::string& out, std::uint64_t value, int minimumDigits) {
    constexpr std::string_view Digits = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), Digits[value & 0xF]);
        value >>= 4;
    } while (value);
    if (digits.size() < std::size_t(minimumDigits)) out.append(std::size_t(minimumDigits) - digits.size(), '0');
    out += digits;
}

void appendOctal(std::string& out, unsigned value, bool threeDigits) {
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + (value & 7)));
        value >>= 3;
    } while (value);
    if (threeDigits && digits.size() < 3) out.append(3 - digits.size(), '0');
    out += digits;
}

// Escapes as wineserver does, except that every unit above 0x7F takes four
// hex digits (a reader's \x takes up to four, so a shorter one could swallow
// the next character).
std::size_t appendEscaped(std::string& out, std::u16string_view units, char special1, char special2) {
    constexpr std::string_view CEscapes = ".......abtnvfr.............e....";
    const std::size_t before = out.size();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        if (c > 127) {
            out += "\\x";
            appendHex(out, c, 4);
        } else if (c < 32) {
            out += '\\';
            if (CEscapes[c] != '.')
                out += CEscapes[c];
            else
                appendOctal(out, c, i + 1 < units.size() && units[i + 1] >= u'0' && units[i + 1] <= u'7');
        } else {
            const char ch = static_cast<char>(c);
            if (ch == '\\' || ch == special1 || ch == special2) out += '\\';
            out += ch;
        }
    }
    return out.size() - before;
}

std::u16string unitsOf(const std::vector<std::uint8_t>& bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return units;
}

void appendValue(std::string& out, std::u16string_view name, const RegistryValue& value) {
    std::size_t column = 0;
    if (name.empty()) {
        out += "@=";
        column = 2;
    } else {
        out += '"';
        column = 1 + appendEscaped(out, name, '"', '"') + 2;
        out += "\"=";
    }
    const auto type = static_cast<std::uint32_t>(value.type);
    const auto& data = value.data;
    const bool isString = value.type == RegistryType::String || value.type == RegistryType::ExpandString ||
                          value.type == RegistryType::MultiString;
    if (isString && data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 2] == 0 && data.back() == 0) {
        if (value.type != RegistryType::String) {
            out += "str(";
            appendHex(out, type, 1);
            out += "):";
        }
        out += '"';
        const std::u16string units = unitsOf(data);
        appendEscaped(out, std::u16string_view(units).substr(0, units.size() - 1), '"', '"');
        out += "\"\n";
        return;
    }
    if (value.type == RegistryType::Dword && data.size() == 4) {
        out += "dword:";
        appendHex(out, std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24, 8);
        out += '\n';
        return;
    }
    const std::size_t tagStart = out.size();
    if (value.type == RegistryType::Binary) {
        out += "hex:";
    } else {
        out += "hex(";
        appendHex(out, type, 1);
        out += "):";
    }
    column += out.size() - tagStart;
    for (std::size_t i = 0; i < data.size(); ++i) {
        appendHex(out, data[i], 2);
        column += 2;
        if (i + 1 < data.size()) {
            out += ',';
            if (++column > HexLineLimit) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    out += '\n';
}

void appendKeptLine(std::string& out, std::string_view text) {
    // A kept key line gets the blank line that every key line of the file has.
    const std::size_t first = text.find_first_not_of(" \t\v\f\r");
    if (first != std::string_view::npos && text[first] == '[') out += '\n';
    out += text;
    out += '\n';
}

// The values in their order, each kept line after the value it followed.
void appendValues(std::string& out, const WineRegistryKey& key) {
    std::vector<std::pair<std::size_t, const WineRegistryKeptLine*>> kept;
    for (const auto& line : key.keptLines) {
        std::size_t place = 0;
        if (line.after)
            place = static_cast<std::size_t>(
                std::upper_bound(key.values.begin(), key.values.end(), *line.after,
                                 [](const std::u16string& folded, const WineRegistryValueEntry& entry) {
                                     return folded < std::u16string_view(entry.folded);
                                 }) -
                key.values.begin());
        kept.emplace_back(place, &line);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    auto next = kept.begin();
    for (std::size_t i = 0; i <= key.values.size(); ++i) {
        for (; next != kept.end() && next->first == i; ++next) appendKeptLine(out, next->second->text);
        if (i == key.values.size()) break;
        const WineRegistryValueEntry& entry = key.values[i];
        if (entry.verbatim.empty()) {
            appendValue(out, entry.name, entry.value);
        } else {
            out += entry.verbatim;
            out += '\n';
        }
    }
}

// Keys holding only subkeys are implied by them and not written.
void appendSection(std::string& out, const WineRegistryKey& key, std::string_view path) {
    const bool written = !key.values.empty() || key.subkeys.empty() || key.keyClass || key.isLink ||
                         !key.keptLines.empty() || !key.trailingLines.empty();
    if (!written) return;
    out += "\n[";
    out += path;
    out += "] ";
    const auto sinceEpoch = static_cast<std::int64_t>(key.modified - FileTimeOfUnixEpoch);
    out += std::to_string(static_cast<std::uint32_t>(sinceEpoch / FileTimeTicksPerSecond));
    out += "\n#time=";
    appendHex(out, key.modified >> 32, 1);
    appendHex(out, key.modified & 0xFFFFFFFFu, 8);
    out += '\n';
    if (key.keyClass) {
        out += "#class=\"";
        appendEscaped(out, *key.keyClass, '"', '"');
        out += "\"\n";
    }
    if (key.isLink) out += "#link\n";
    appendValues(out, key);
    for (const auto& line : key.trailingLines) appendKeptLine(out, line.text);
}

// Depth first, parents before children, without recursion: the path of the
// key at hand grows and shrinks in one string.
void appendKeys(std::string& out, const WineRegistryKey& root) {
    struct Pending {
        const WineRegistryKey* key;
        std::size_t parentPathSize;
    };
    std::vector<Pending> pending{{&root, 0}};
    std::string path;
    while (!pending.empty()) {
        const auto [key, parentPathSize] = pending.back();
        pending.pop_back();
        path.resize(parentPathSize);
        if (key->parent) {
            if (key->parent->parent) path += "\\\\";
            appendEscaped(path, key->name, '[', ']');
        }
        appendSection(out, *key, path);
        for (auto it = key->subkeys.rbegin(); it != key->subkeys.rend(); ++it) pending.push_back({it->get(), path.size()});
    }
}

}  // namespace

std::string WineRegistryFile::serialize() const {
    std::string out;
    out.reserve(1 << 16);
    out += Signature;
    out += '\n';
    out += RelativeToPrefix;
    out += relativeTo_;
    out += '\n';
    if (!arch_.empty()) out += "\n#arch=" + arch_ + "\n";
    for (const auto& line : preamble_) appendKeptLine(out, line);
    appendKeys(out, *root_);
    return out;
}

}  // namespace veldra::platform
