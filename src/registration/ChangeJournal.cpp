#include "registration/ChangeJournal.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>

#include "app/RegistryEdit.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"
#include "platform/Shell.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view Magic = "VELDRA change journal 1\n";
// A journal holds a handful of files, each below BackupLimit.
constexpr std::uintmax_t JournalLimit = 8 * BackupLimit;

void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    putNumber(out, bytes.size());
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void putText(std::vector<std::uint8_t>& out, std::string_view text) {
    putBytes(out, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Reads the fields back in order; any field that does not fit ends the reading as damaged.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool number(std::uint64_t& value) {
        if (bytes_.size() - at_ < 8) return false;
        value = 0;
        for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{bytes_[at_ + i]} << (8 * i);
        at_ += 8;
        return true;
    }
    bool bytes(std::vector<std::uint8_t>& value) {
        std::uint64_t size = 0;
        if (!number(size) || size > bytes_.size() - at_) return false;
        value.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                     bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + size));
        at_ += size;
        return true;
    }
    bool text(std::string& value) {
        std::vector<std::uint8_t> raw;
        if (!bytes(raw)) return false;
        value.assign(raw.begin(), raw.end());
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

bool readCommit(FieldReader& in, std::optional<CommitMark>& commit) {
    std::uint64_t present = 0;
    if (!in.number(present) || present > 1) return false;
    if (present == 0) return true;
    CommitMark mark;
    std::uint64_t root = 0;
    std::uint64_t type = 0;
    if (!in.number(root) || root > 1 || !in.text(mark.key) || !in.text(mark.name) || !in.number(type) ||
        type > 0xFFFFFFFFu || !in.bytes(mark.value.data))
        return false;
    mark.root = root == 0 ? platform::RegistryRoot::LocalMachine : platform::RegistryRoot::CurrentUser;
    mark.value.type = static_cast<platform::RegistryType>(type);
    commit = std::move(mark);
    return true;
}

// A file is put back where the journal names it: only a whole absolute path
// in UTF-8 (Windows cannot convert any other text) is taken.
bool usablePath(std::string_view text) {
    if (text.find('\0') != std::string_view::npos || platform::validUtf8(text) != text) return false;
    return platform::pathFromText(text).is_absolute();
}

bool readCopy(FieldReader& in, FileCopy& copy) {
    std::string path;
    std::uint64_t existed = 0;
    if (!in.text(path) || !usablePath(path) || !in.number(existed) || existed > 1) return false;
    copy.file = platform::pathFromText(path);
    if (existed == 0) return true;
    copy.bytes.emplace();
    return in.bytes(*copy.bytes);
}

}  // namespace

fs::path changeJournalPath(const app::Session& session) {
    const fs::path common = session.host.shell.specialFolder(platform::csidl::CommonAppData);
    if (common.empty()) return {};
    return common / "VELDRA" / "change.journal";
}

fs::path journalLockPath(const fs::path& journal) { return fs::path(journal) += ".lock"; }

std::vector<std::uint8_t> journalBytes(const JournalContents& contents) {
    std::vector<std::uint8_t> out(Magic.begin(), Magic.end());
    putNumber(out, contents.commit ? 1 : 0);
    if (const auto& mark = contents.commit) {
        putNumber(out, mark->root == platform::RegistryRoot::LocalMachine ? 0 : 1);
        putText(out, mark->key);
        putText(out, mark->name);
        putNumber(out, static_cast<std::uint64_t>(mark->value.type));
        putBytes(out, mark->value.data);
    }
    putNumber(out, contents.copies.size());
    for (const auto& copy : contents.copies) {
        putText(out, platform::pathText(copy.file));
        putNumber(out, copy.bytes ? 1 : 0);
        if (copy.bytes) putBytes(out, *copy.bytes);
    }
    return out;
}

Result<JournalContents> parseJournal(std::span<const std::uint8_t> bytes) {
    const auto damaged = [] { return fail("the change journal is damaged"); };
    if (bytes.size() < Magic.size() || !std::equal(Magic.begin(), Magic.end(), bytes.begin())) return damaged();
    FieldReader in(bytes.subspan(Magic.size()));
    JournalContents contents;
    std::uint64_t count = 0;
    if (!readCommit(in, contents.commit) || !in.number(count)) return damaged();
    for (std::uint64_t i = 0; i < count; ++i) {
        FileCopy copy;
        if (!readCopy(in, copy)) return damaged();
        contents.copies.push_back(std::move(copy));
    }
    if (!in.atEnd()) return damaged();
    return contents;
}

Status finishInterruptedChange(const app::Session& session) {
    const fs::path journal = changeJournalPath(session);
    std::error_code ec;
    if (journal.empty() || !fs::exists(journal, ec)) return {};
    // Held while the files go back, so that no other run changes them meanwhile;
    // a change that still runs holds it too, and its journal is left alone.
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    // Past its commit, a change holds its journal until it has removed it; the
    // run that held the prefix may have ended its change meanwhile.
    FileBackups backups(journal);
    if (backups.holdJournal() == platform::FileLock::State::HeldElsewhere || !fs::exists(journal, ec)) return {};
    const auto bytes = platform::readFileCapped(journal, JournalLimit);
    if (!bytes) return bytes.failure();
    auto contents = parseJournal(*bytes);
    if (!contents)
        return fail(Msg::MsgChangeJournalDamaged, platform::pathText(journal));
    const auto& mark = contents->commit;
    const bool committed = mark && session.host.registry.queryValue(mark->root, mark->key, mark->name) == mark->value;
    backups.resume(std::move(*contents));
    if (!committed)
        if (auto restored = backups.restoreAll(); !restored)
            return fail(Msg::MsgFidRestoreFailed, restored.failure().detail);
    if (auto closed = backups.closeJournal(); !closed) return closed;
    session.dialogs.inform(session.msg(committed ? Msg::MsgInterruptedChangeComplete : Msg::MsgInterruptedChangeUndone),
                           app::DefaultTitle, app::MessageIcon::Information);
    return {};
}

}  // namespace veldra::registration
