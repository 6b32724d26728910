#pragma once
// Wine's text registry files (system.reg, user.reg): what wineserver loads from
// them, and the writer that saves them the way wineserver does. Lines the
// reader cannot read are kept as they are and written back unchanged at their
// place, so a save never drops what the user had. Pure text in, text out, so
// every platform can build it.

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace veldra::platform {

// 100-nanosecond ticks since 1601-01-01 (a Windows FILETIME).
using FileTime = std::uint64_t;
inline constexpr FileTime FileTimeOfUnixEpoch = 116444736000000000ULL;
inline constexpr std::int64_t FileTimeTicksPerSecond = 10000000;
FileTime fileTimeFromUnixSeconds(std::int64_t seconds);

// Orders names as wineserver does: UTF-16 units compared after lower-casing,
// a name before every longer name it begins. Negative, zero or positive.
int compareRegistryNames(std::u16string_view a, std::u16string_view b);

// Keys, their names and their lists of values live in the memory of their
// file, taken in large pieces and given back all at once with the file.
struct WineRegistryValueEntry {
    std::pmr::u16string name;
    std::pmr::u16string folded;  // foldRegistryName(name): what lookups compare
    RegistryValue value;
    // The file's own lines of a value whose data the reader could not read
    // (wineserver loads it as an empty value of type 0); written back
    // unchanged until the value is set.
    std::string verbatim;
    std::size_t verbatimLine = 0;
};

// A line of a key's section that the reader could not read.
struct WineRegistryKeptLine {
    std::string text;
    std::size_t lineNumber = 0;
    // The folded name of the value read just before it; nothing when it came
    // before every value of the section.
    std::optional<std::u16string> after;
};

struct WineRegistryKey;
struct WineRegistryKeyDeleter {
    void operator()(WineRegistryKey* key) const;
};
using WineRegistryKeyPtr = std::unique_ptr<WineRegistryKey, WineRegistryKeyDeleter>;

struct WineRegistryKey {
    std::pmr::u16string name;
    std::pmr::u16string folded;  // foldRegistryName(name)
    FileTime modified = 0;
    std::optional<std::u16string> keyClass;
    bool isLink = false;  // a symbolic link: its only value names the target
    WineRegistryKey* parent = nullptr;
    // Both kept in wineserver's order, which is the order of their folded names.
    std::pmr::vector<WineRegistryValueEntry> values;
    std::pmr::vector<WineRegistryKeyPtr> subkeys;
    // Unreadable lines among the values, and the lines after an unreadable
    // key line that followed this section (written after all its values).
    std::vector<WineRegistryKeptLine> keptLines;
    std::vector<WineRegistryKeptLine> trailingLines;

    // A key without a parent, taking its memory and its subkeys' from `memory`.
    static WineRegistryKeyPtr make(std::pmr::memory_resource& memory);
    explicit WineRegistryKey(std::pmr::memory_resource* memory);
    WineRegistryKey(const WineRegistryKey&) = delete;
    WineRegistryKey& operator=(const WineRegistryKey&) = delete;
    // Takes the subtree apart without recursion, however deep it is.
    ~WineRegistryKey();

    // The existing subkey of that name, or a new one modified at `now`.
    WineRegistryKey& obtainSubkey(std::u16string_view subkeyName, FileTime now);

    const RegistryValue* findValue(std::u16string_view valueName) const;
    // Keeps the spelling of a value that already exists, as Windows does.
    void setValue(std::u16string_view valueName, RegistryValue value);
    bool removeValue(std::u16string_view valueName);
    // The number of the first line of this key's section kept as the reader
    // found it, or nothing.
    std::optional<std::size_t> firstKeptLine() const;
};

struct WineRegistryLoad;

class WineRegistryFile {
public:
    static constexpr std::string_view Signature = "WINE REGISTRY Version 2";
    static constexpr std::string_view RelativeToPrefix = ";; All keys relative to ";

    // `relativeTo` is the text of the header's ";; All keys relative to" line
    // as written (escaped); `arch` is "win32", "win64" or empty (unknown).
    WineRegistryFile(std::string relativeTo, std::string arch);

    // `now` dates keys whose line carries no time, as wineserver does.
    static WineRegistryLoad parse(std::string_view text, FileTime now);
    std::string serialize() const;
    // A line kept as it was that would swallow the line written after it (a
    // value cut short after a continuation backslash): such a file is not
    // saved, since its next line would be lost. Nothing when saving is safe.
    std::optional<std::size_t> unsafeLine() const { return unsafeLine_; }

    const std::string& relativeTo() const { return relativeTo_; }
    void setRelativeTo(std::string relativeTo) { relativeTo_ = std::move(relativeTo); }
    const std::string& arch() const { return arch_; }
    WineRegistryKey& root() { return *root_; }
    const WineRegistryKey& root() const { return *root_; }
    // Lines before the first key that the reader did not take.
    const std::vector<std::string>& preamble() const { return preamble_; }

    // Finds a key by its backslash-separated path (UTF-8), following symbolic
    // links that point into this file. The final key itself is not followed
    // when `followFinalLink` is false.
    WineRegistryKey* findKey(std::string_view path, bool followFinalLink = true) const;
    // Creates the key and its missing parents (each modified at `now`);
    // nothing when the path runs through a link that leads out of this file
    // or the key would lie deeper than MaxKeyDepth.
    WineRegistryKey* createKey(std::string_view path, FileTime now);
    // Takes a key other than the root out of the tree, with its subtree.
    // Keys leave the tree only this way, so that no walk starts from one gone.
    void removeKey(WineRegistryKey& key);

private:
    WineRegistryKey* walk(std::string_view path, bool followFinalLink, std::optional<FileTime> createAt) const;
    // Replaces `link` by the components of its target; false when the target
    // lies outside this file.
    bool expandLink(const WineRegistryKey& link, std::vector<std::u16string>& components) const;

    WineRegistryFile(std::string relativeTo, std::string arch, std::unique_ptr<std::pmr::memory_resource> memory,
                     WineRegistryKeyPtr root);

    std::string relativeTo_;
    std::string arch_;
    std::unique_ptr<std::pmr::memory_resource> memory_;  // of the keys, which go before it
    WineRegistryKeyPtr root_;
    std::vector<std::string> preamble_;
    std::optional<std::size_t> unsafeLine_;
    // The path walked last and the keys along it, one per component, as far
    // as they were reached without a link, each with its place among its
    // siblings. Kept by lookups too, so a file is read by one thread at a time.
    struct WalkedStep {
        WineRegistryKey* key;
        std::size_t index;
    };
    mutable std::string walkedPath_;
    mutable std::vector<WalkedStep> walkedSteps_;
};

struct WineRegistryLoad {
    std::optional<WineRegistryFile> file;  // nothing when the text is refused
    std::optional<Msg> refusal;            // why it was refused
    std::size_t refusedLine = 0;           // the line that made it refused
    std::vector<std::string> warnings;     // lines kept as they are or read as empty, as wineserver would
};

}  // namespace veldra::platform
