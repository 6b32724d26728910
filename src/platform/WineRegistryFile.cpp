// Reading Wine's registry text format: the reader accepts what wineserver
// accepts and reads a malformed line the way wineserver does, so Wine and
// VELDRA see the same keys. Every line it cannot read is kept as it is.

#include "platform/WineRegistryFile.h"

#include <algorithm>
#include <array>

#include "platform/Cp1252.h"
#include "platform/RegistryPath.h"

namespace veldra::platform {
namespace {

constexpr std::size_t MaxWarnings = 100;

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isOctal(char c) { return c >= '0' && c <= '7'; }
bool isHex(char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
unsigned hexValue(char c) { return c <= '9' ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10); }

std::size_t skipSpaces(std::string_view s, std::size_t pos) {
    while (pos < s.size() && isSpace(s[pos])) ++pos;
    return pos;
}

// One raw character at pos (ASCII or UTF-8). Invalid UTF-8 bytes are dropped
// one at a time, as wineserver drops them.
void decodeCharacter(std::string_view s, std::size_t& pos, std::u16string& out) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80) {
        out.push_back(lead);
        return;
    }
    std::size_t extra = 0;
    if (lead >= 0xC2 && lead <= 0xDF) extra = 1;
    else if (lead >= 0xE0 && lead <= 0xEF) extra = 2;
    else if (lead >= 0xF0 && lead <= 0xF4) extra = 3;
    else return;
    constexpr std::array<unsigned, 4> LeadMask = {0x7F, 0x1F, 0x0F, 0x07};
    constexpr std::array<char32_t, 4> Minimum = {0, 0x80, 0x800, 0x10000};
    char32_t cp = lead & LeadMask[extra];
    for (std::size_t i = 0; i < extra; ++i) {
        if (pos >= s.size()) return;
        const unsigned bits = static_cast<unsigned char>(s[pos]) ^ 0x80u;
        if (bits >= 0x40) return;
        cp = (cp << 6) | bits;
        ++pos;
    }
    if (cp < Minimum[extra] || cp > 0x10FFFF) return;
    appendUtf16(out, cp);
}

// Decodes an escaped string up to the unescaped delimiter. Returns the index
// just past the delimiter, or nothing when the delimiter is missing.
std::optional<std::size_t> unescape(std::string_view s, char delimiter, std::u16string& out) {
    std::size_t pos = 0;
    while (pos < s.size() && s[pos] != delimiter) {
        if (s[pos] == '\\') {
            if (++pos >= s.size()) break;
            const char c = s[pos];
            constexpr std::string_view Letters = "abefnrtv";
            constexpr std::string_view Codes = "\a\b\x1b\f\n\r\t\v";
            if (const auto letter = Letters.find(c); letter != std::string_view::npos) {
                out.push_back(static_cast<unsigned char>(Codes[letter]));
                ++pos;
                continue;
            }
            if (c == 'x') {
                ++pos;
                if (pos >= s.size() || !isHex(s[pos])) {
                    out.push_back(u'x');
                    continue;
                }
                unsigned unit = 0;
                for (int digits = 0; digits < 4 && pos < s.size() && isHex(s[pos]); ++digits) unit = unit * 16 + hexValue(s[pos++]);
                out.push_back(static_cast<char16_t>(unit));
                continue;
            }
            if (isOctal(c)) {
                unsigned unit = 0;
                for (int digits = 0; digits < 3 && pos < s.size() && isOctal(s[pos]); ++digits)
                    unit = unit * 8 + unsigned(s[pos++] - '0');
                out.push_back(static_cast<char16_t>(unit));
                continue;
            }
            // Any other escaped character stands for itself.
        }
        // A run of plain ASCII (most of any name or string) goes over at once.
        std::size_t plain = pos;
        while (plain < s.size() && s[plain] != delimiter && s[plain] != '\\' && static_cast<unsigned char>(s[plain]) < 0x80)
            ++plain;
        if (plain > pos) {
            const std::size_t at = out.size();
            out.resize(at + (plain - pos));
            std::copy(s.begin() + static_cast<std::ptrdiff_t>(pos), s.begin() + static_cast<std::ptrdiff_t>(plain),
                      out.begin() + static_cast<std::ptrdiff_t>(at));
            pos = plain;
        } else {
            decodeCharacter(s, pos, out);
        }
    }
    if (pos >= s.size()) return std::nullopt;
    return pos + 1;
}

std::vector<std::uint8_t> littleEndianUnits(const std::u16string& units) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// strtoul(text, NULL, 16) as wineserver reads a dword, cut to 32 bits.
std::uint32_t parseDword(std::string_view s) {
    std::size_t pos = skipSpaces(s, 0);
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    if (pos + 2 < s.size() && s[pos] == '0' && (s[pos + 1] | 0x20) == 'x' && isHex(s[pos + 2])) pos += 2;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; pos < s.size() && isHex(s[pos]); ++pos) {
        if (value >> 60) overflow = true;
        value = value * 16 + hexValue(s[pos]);
    }
    if (overflow) return 0xFFFFFFFFu;
    if (negative) value = ~value + 1;
    return static_cast<std::uint32_t>(value);
}

// The lines before the next key line that may hold a value, so that a key
// takes room for its values at once.
std::size_t valueLinesAhead(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = skipSpaces(text, 0); pos < text.size() && text[pos] != '['; pos = skipSpaces(text, pos)) {
        if (text[pos] == '"' || text[pos] == '@') ++count;
        pos = std::min(text.find('\n', pos), text.size());
    }
    return count;
}

// Splits the text into lines as wineserver reads them: LF ends a line, a CR
// before it is dropped, a NUL ends the line's text. The raw text of the lines
// read stays at hand, so a line can be kept exactly as it was.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
        start_ = pos_;
        end_ = end;
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++number_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = line.substr(0, line.find('\0'));
        return true;
    }
    std::size_t number() const { return number_; }
    // The text after the line read last.
    std::string_view ahead() const { return text_.substr(std::min(pos_, text_.size())); }
    // Where the line read last begins in the text, and its raw text from `from` on.
    std::size_t start() const { return start_; }
    std::string_view rawSince(std::size_t from) const { return text_.substr(from, end_ - from); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::size_t number_ = 0;
};

class Parser {
public:
    // The root is dated when loading starts, as wineserver dates it.
    Parser(std::string_view text, FileTime now, WineRegistryLoad& load) : lines_(text), now_(now), load_(load) {
        root_->modified = now;
    }

    void run() {
        std::string_view line;
        if (!lines_.next(line) || line != WineRegistryFile::Signature) {
            refuse(Msg::MsgRegistryFileNotWine);
            return;
        }
        while (lines_.next(line)) {
            line.remove_prefix(skipSpaces(line, 0));
            if (!handle(line)) return;
        }
        finishKey();
        accepted_ = true;
    }

    bool accepted() const { return accepted_; }
    std::string& relativeTo() { return relativeTo_; }
    std::string& arch() { return arch_; }
    std::unique_ptr<std::pmr::memory_resource>& memory() { return memory_; }
    WineRegistryKeyPtr& root() { return root_; }
    std::vector<std::string>& preamble() { return preamble_; }
    std::optional<std::size_t> unsafeLine() const { return unsafeLine_; }

private:
    // False when the whole file must be refused.
    bool handle(std::string_view line) {
        if (line.empty()) return true;
        switch (line.front()) {
        case '[':
            startKey(line.substr(1));
            return true;
        case '@':
        case '"':
            if (key_)
                readValue(line);
            else
                keep("value outside a key kept as it is");
            return true;
        case '#':
            if (key_) {
                readKeyOption(line);
                return true;
            }
            return readGlobalOption(line);
        case ';':
            if (!sawKey_ && !sawRelativeTo_ && line.starts_with(WineRegistryFile::RelativeToPrefix)) {
                relativeTo_ = line.substr(WineRegistryFile::RelativeToPrefix.size());
                while (!relativeTo_.empty() && isSpace(relativeTo_.back())) relativeTo_.pop_back();
                sawRelativeTo_ = true;
            } else {
                keep({});  // a comment: nothing to read, but the user's own
            }
            return true;
        default:
            keep("unrecognized line kept as it is");
            return true;
        }
    }

    void refuse(Msg why) {
        load_.refusal = why;
        load_.refusedLine = lines_.number();
    }

    void warn(std::string_view what) { warnAt(lines_.number(), what); }
    void warnAt(std::size_t line, std::string_view what) {
        if (load_.warnings.size() < MaxWarnings)
            load_.warnings.push_back("line " + std::to_string(line) + ": " + std::string(what));
    }

    // Keeps the line read last as it is: among the values of the current key,
    // after the section that an unreadable key line followed, or before the
    // first key.
    void keep(std::string_view warning) {
        if (!warning.empty()) warn(warning);
        WineRegistryKeptLine kept{std::string(lines_.rawSince(lines_.start())), lines_.number(), std::nullopt};
        if (key_) {
            kept.after = lastValue_;
            key_->keptLines.push_back(std::move(kept));
        } else if (sectionKey_) {
            sectionKey_->trailingLines.push_back(std::move(kept));
        } else {
            preamble_.push_back(std::move(kept.text));
        }
    }

    // A key keeps the first time it is given; its parents without one take it too.
    static void dateKey(WineRegistryKey* key, FileTime time) {
        for (; key && key->modified == 0; key = key->parent) key->modified = time;
    }

    void finishKey() {
        dateKey(key_, keyLineTime_);
        key_ = nullptr;
    }

    void startKey(std::string_view rest) {
        finishKey();
        sawKey_ = true;
        keyPath_.clear();
        const auto end = unescape(rest, ']', keyPath_);
        if (!end) {
            keep("malformed key kept as it is");
            return;
        }
        components_.clear();
        const std::u16string_view path(keyPath_);
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t stop = std::min(path.find(u'\\', start), path.size());
            if (stop > start) components_.push_back(path.substr(start, stop - start));
            start = stop + 1;
        }
        if (components_.size() > MaxKeyDepth) {
            keep("key deeper than " + std::to_string(MaxKeyDepth) + " levels kept as it is");
            return;
        }
        keyLineTime_ = now_;
        std::size_t pos = skipSpaces(rest, *end);
        bool negative = false;
        if (pos < rest.size() && (rest[pos] == '+' || rest[pos] == '-')) negative = rest[pos++] == '-';
        if (pos < rest.size() && rest[pos] >= '0' && rest[pos] <= '9') {
            std::uint32_t seconds = 0;
            for (; pos < rest.size() && rest[pos] >= '0' && rest[pos] <= '9'; ++pos)
                seconds = seconds * 10 + std::uint32_t(rest[pos] - '0');
            if (negative) seconds = ~seconds + 1;
            keyLineTime_ = fileTimeFromUnixSeconds(seconds);
        }
        // Sections come in tree order: a key's path mostly repeats the
        // previous one's but for its last component, whose keys are at hand.
        // A component spelled as its key was first spelled is that key.
        std::size_t shared = 0;
        while (shared < components_.size() && shared < openPath_.size() && openPath_[shared]->name == components_[shared])
            ++shared;
        openPath_.resize(shared);
        WineRegistryKey* key = shared > 0 ? openPath_.back() : root_.get();
        for (std::size_t i = shared; i < components_.size(); ++i) {
            key = &key->obtainSubkey(components_[i], 0);
            openPath_.push_back(key);
        }
        key_ = key;
        sectionKey_ = key;
        lastValue_.reset();
        // A key met again grows as vectors do, so that many sections of one
        // key cost no more than one.
        if (key->values.empty()) key->values.reserve(valueLinesAhead(lines_.ahead()));
    }

    void readKeyOption(std::string_view line) {
        if (line.starts_with("#time=")) {
            FileTime time = 0;
            for (std::size_t pos = 6; pos < line.size() && isHex(line[pos]); ++pos) time = (time << 4) | hexValue(line[pos]);
            dateKey(key_, time);
        } else if (line.starts_with("#class=")) {
            std::u16string keyClass;
            if (line.size() > 7 && line[7] == '"' && unescape(line.substr(8), '"', keyClass))
                key_->keyClass = std::move(keyClass);
            else
                keep("malformed class kept as it is");
        } else if (line.starts_with("#link")) {
            key_->isLink = true;
        } else {
            keep("unknown key option kept as it is");
        }
    }

    bool readGlobalOption(std::string_view line) {
        if (!line.starts_with("#arch=")) {
            keep({});
            return true;
        }
        const std::string arch(line.substr(6));
        // An unknown architecture, or one that contradicts an earlier line.
        if ((arch != "win32" && arch != "win64") || (!arch_.empty() && arch_ != arch)) {
            refuse(Msg::MsgRegistryFileArchitecture);
            return false;
        }
        arch_ = arch;
        return true;
    }

    void readValue(std::string_view line) {
        const std::size_t start = lines_.start();
        const std::size_t lineNumber = lines_.number();
        cutAfterContinuation_ = false;
        std::u16string name;
        std::size_t pos = 1;
        if (line.front() == '"') {
            const auto end = unescape(line.substr(1), '"', name);
            if (!end) {
                keep("malformed value name kept as it is");
                return;
            }
            pos = 1 + *end;
        }
        pos = skipSpaces(line, pos);
        if (pos >= line.size() || line[pos] != '=') {
            keep("malformed value name kept as it is");
            return;
        }
        pos = skipSpaces(line, pos + 1);
        std::optional<RegistryValue> value = readData(line.substr(pos));
        key_->setValue(name, value ? std::move(*value) : RegistryValue{});
        std::u16string folded = foldRegistryName(name);
        if (!value) {
            // wineserver has already made the value at this point: a malformed
            // one stays as an empty value of type 0. Its lines are written back
            // as they were.
            warnAt(lineNumber, "malformed value read as empty and kept as it is");
            auto entry = std::find_if(key_->values.begin(), key_->values.end(),
                                      [&folded](const WineRegistryValueEntry& e) { return std::u16string_view(e.folded) == folded; });
            entry->name = name;  // the spelling its kept line writes
            entry->verbatim = std::string(lines_.rawSince(start));
            entry->verbatimLine = lineNumber;
            if (cutAfterContinuation_ && !unsafeLine_) unsafeLine_ = lineNumber;
        }
        lastValue_ = std::move(folded);
    }

    std::optional<RegistryValue> readData(std::string_view data) {
        struct StringTag {
            std::string_view tag;
            RegistryType type;
        };
        constexpr std::array<StringTag, 4> StringTags = {{{"\"", RegistryType::String},
                                                          {"str:\"", RegistryType::String},
                                                          {"str(2):\"", RegistryType::ExpandString},
                                                          {"str(7):\"", RegistryType::MultiString}}};
        for (const auto& [tag, type] : StringTags) {
            if (!data.starts_with(tag)) continue;
            units_.clear();
            if (!unescape(data.substr(tag.size()), '"', units_)) return std::nullopt;
            units_.push_back(u'\0');
            return RegistryValue{type, littleEndianUnits(units_)};
        }
        if (data.starts_with("dword:")) return RegistryValue::fromDword(parseDword(data.substr(6)));
        if (data.starts_with("hex:")) return readHex(RegistryType::Binary, data.substr(4));
        if (data.starts_with("hex(")) {
            std::size_t pos = skipSpaces(data, 4);
            std::uint64_t type = 0;
            for (; pos < data.size() && isHex(data[pos]); ++pos) type = (type << 4) | hexValue(data[pos]);
            if (data.substr(pos, 2) != "):") return std::nullopt;
            return readHex(static_cast<RegistryType>(static_cast<std::uint32_t>(type)), data.substr(pos + 2));
        }
        return std::nullopt;
    }

    // Comma-separated bytes; a backslash at the end of a line continues the list on the next.
    std::optional<RegistryValue> readHex(RegistryType type, std::string_view list) {
        RegistryValue value{type, {}};
        std::size_t pos = 0;
        for (;;) {
            while (pos < list.size() && isHex(list[pos])) {
                if (list[pos] == '0' && pos + 2 < list.size() && (list[pos + 1] | 0x20) == 'x' && isHex(list[pos + 2]))
                    pos += 2;
                unsigned byte = 0;
                for (; pos < list.size() && isHex(list[pos]); ++pos) {
                    byte = byte * 16 + hexValue(list[pos]);
                    if (byte > 0xFF) return std::nullopt;
                }
                value.data.push_back(static_cast<std::uint8_t>(byte));
                pos = skipSpaces(list, pos);
                if (pos < list.size() && list[pos] == ',') ++pos;
                pos = skipSpaces(list, pos);
            }
            pos = skipSpaces(list, pos);
            if (pos >= list.size()) return value;
            if (list[pos] != '\\') return std::nullopt;
            if (!lines_.next(list)) {
                cutAfterContinuation_ = true;
                return std::nullopt;
            }
            pos = skipSpaces(list, 0);
        }
    }

    LineReader lines_;
    FileTime now_;
    WineRegistryLoad& load_;
    std::unique_ptr<std::pmr::memory_resource> memory_ = std::make_unique<std::pmr::monotonic_buffer_resource>();
    WineRegistryKeyPtr root_ = WineRegistryKey::make(*memory_);
    std::string relativeTo_;
    std::string arch_;
    std::vector<std::string> preamble_;
    std::optional<std::size_t> unsafeLine_;
    bool accepted_ = false;
    WineRegistryKey* key_ = nullptr;         // the key whose section is being read
    WineRegistryKey* sectionKey_ = nullptr;  // the key of the last section that was read
    std::optional<std::u16string> lastValue_;
    std::vector<WineRegistryKey*> openPath_;  // the keys of the section read last, from the root's child on
    // Reused from line to line, so that reading a line allocates nothing of its own.
    std::u16string keyPath_;
    std::vector<std::u16string_view> components_;
    std::u16string units_;
    FileTime keyLineTime_ = 0;
    bool sawKey_ = false;
    bool sawRelativeTo_ = false;
    bool cutAfterContinuation_ = false;  // the value read last ended the text after a continuation
};

}  // namespace

FileTime fileTimeFromUnixSeconds(std::int64_t seconds) {
    return static_cast<FileTime>(seconds * FileTimeTicksPerSecond) + FileTimeOfUnixEpoch;
}

WineRegistryFile::WineRegistryFile(std::string relativeTo, std::string arch)
    : WineRegistryFile(std::move(relativeTo), std::move(arch), std::make_unique<std::pmr::monotonic_buffer_resource>(), nullptr) {}

// Keys are taken apart one by one only for their values' data; their own
// memory goes back with the file's in a few large pieces.
WineRegistryFile::WineRegistryFile(std::string relativeTo, std::string arch,
                                   std::unique_ptr<std::pmr::memory_resource> memory, WineRegistryKeyPtr root)
    : relativeTo_(std::move(relativeTo)), arch_(std::move(arch)), memory_(std::move(memory)),
      root_(root ? std::move(root) : WineRegistryKey::make(*memory_)) {}

WineRegistryLoad WineRegistryFile::parse(std::string_view text, FileTime now) {
    WineRegistryLoad load;
    Parser parser(text, now, load);
    parser.run();
    if (parser.accepted()) {
        load.file.emplace(WineRegistryFile(std::move(parser.relativeTo()), std::move(parser.arch()),
                                           std::move(parser.memory()), std::move(parser.root())));
        load.file->preamble_ = std::move(parser.preamble());
        load.file->unsafeLine_ = parser.unsafeLine();
    }
    return load;
}

}  // namespace veldra::platform
