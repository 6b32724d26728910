// Crash safety: each command that changes mapsets is killed (SIGKILL) just
// before its Nth file-changing call, through the preloaded library
// VELDRA_KILL_SHIM, on a prefix Wine made. After every kill, the registry
// files still read (by our reader, by `veldra list` and once per command by
// Wine's `reg query`), every mapset's registry keys are wholly as before or
// wholly as after the command, and every TDB, type file, index and Info.xml
// that was there before or that a record names is byte for byte its old or
// its new version; `veldra check` reports nothing
// that it did not report before or after the command.
//
// The short run (CTest) tries a spread of kill points per command; with
// VELDRA_CRASH_ALL=1 every point from the first to the last call is tried.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FileLock.h"
#include "platform/WineRegistryFile.h"
#include "support/Commands.h"
#include "support/FileBytes.h"
#include "support/MapFiles.h"
#include "support/PrefixTestSupport.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::runCommand;
using testing::shellQuote;

// Watched files by path; a file that does not exist has no entry.
using FileSet = std::map<std::string, std::string>;

constexpr int ShortRunKillPoints = 8;
const char* const RegistryFiles[] = {"system.reg", "user.reg", "userdef.reg"};

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool mapFileKind(const std::string& path) {
    const std::string extension = lowered(fs::path(path).extension().string());
    return extension == ".tdb" || extension == ".typ" || extension == ".mdx" || extension == ".xml";
}

// Whether a registry record names the file (folder and name; ASCII paths).
bool namedByRecords(const std::map<std::string, std::string>& records, const fs::path& file) {
    const std::string name = lowered(file.parent_path().filename().string() + "\\" + file.filename().string());
    for (const auto& [key, text] : records) {
        std::string ascii;
        for (const char c : text)
            if (c != '\0') ascii += c;
        if (lowered(ascii).find(name) != std::string::npos) return true;
    }
    return false;
}

// The mapsets' registry records (each key below MapSource\Families,
// \FamiliesNT and \Products, in both branches) with everything they hold
// except key times, one text each.
std::map<std::string, std::string> mapsetRecords(const platform::WineRegistryFile& file) {
    std::map<std::string, std::string> records;
    for (const char* branch : {"Software\\Garmin\\MapSource", "Software\\Wow6432Node\\Garmin\\MapSource"}) {
        const platform::WineRegistryKey* mapSource = file.findKey(branch);
        if (mapSource == nullptr) continue;
        for (const auto& kind : mapSource->subkeys)
            for (const auto& record : kind->subkeys) {
                std::string text;
                std::vector<std::pair<const platform::WineRegistryKey*, std::string>> pending{{record.get(), ""}};
                while (!pending.empty()) {
                    const auto [key, path] = pending.back();
                    pending.pop_back();
                    text += "[" + path + "]\n";
                    for (const auto& value : key->values)
                        text += std::string(value.folded.begin(), value.folded.end()) + "=" +
                                std::to_string(static_cast<int>(value.value.type)) + ":" +
                                std::string(value.value.data.begin(), value.value.data.end()) + "\n";
                    for (const auto& sub : key->subkeys)
                        pending.emplace_back(sub.get(), path + "\\" + std::string(sub->folded.begin(), sub->folded.end()));
                }
                records[std::string(branch) + "\\" + std::string(kind->folded.begin(), kind->folded.end()) + "\\" +
                        std::string(record->folded.begin(), record->folded.end())] = text;
            }
    }
    return records;
}

// The TDBs, type files, indexes and descriptions of a state.
FileSet mapFiles(const FileSet& files) {
    FileSet kept;
    for (const auto& [path, text] : files)
        if (mapFileKind(path)) kept.emplace(path, text);
    return kept;
}

std::optional<std::string> entry(const auto& set, const std::string& key) {
    const auto found = set.find(key);
    return found == set.end() ? std::nullopt : std::optional<std::string>(found->second);
}

// Every key of the three sets is in `now` as in `before` or as in `after`.
void expectOldOrNew(const auto& before, const auto& after, const auto& now, const std::string& what,
                    const std::function<bool(const std::string&)>& watched) {
    std::set<std::string> keys;
    for (const auto* set : {&before, &after, &now})
        for (const auto& [key, ignored] : *set) keys.insert(key);
    for (const auto& key : keys) {
        if (!watched(key)) continue;
        const auto current = entry(now, key);
        EXPECT_TRUE(current == entry(before, key) || current == entry(after, key))
            << what << ": " << key << (current ? " is neither its old nor its new version" : " is gone");
    }
}

class CrashSafetyWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        ASSERT_TRUE(fs::exists(testing::AlphaTdb)) << "the mkgmap test data is missing";
        prefix_ = testing::WineTestPrefix::path();
        runCommand(testing::wineCommand(prefix_, "wineserver -w"));
        // Every test starts from the registry Wine made.
        static const FileSet pristine = state();
        restore(pristine);
        fs::create_directories(maps_ / "alps");
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            fs::copy_file(testing::builtData("alpha") / tile, maps_ / "alps" / tile);
        fs::copy_file(testing::builtData("alpha/alpha.typ"), maps_ / "alpha.typ");
        fs::copy_file(testing::builtData("beta/beta.typ"), maps_ / "beta.typ");
        ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    }

    std::string veldraLine(const std::string& arguments, const std::string& environment = "") const {
        return "env -u WINEPREFIX " + environment + " XDG_DATA_HOME=" + shellQuote(home_.path().string()) + " " +
               VELDRA_PROGRAM_DIR + "/veldra --prefix " + shellQuote(prefix_.string()) + " --lang Eng " + arguments +
               " </dev/null 2>&1";
    }

    testing::CommandResult veldra(const std::string& arguments) const { return runCommand(veldraLine(arguments)); }

    // What `veldra check` reports, one line each.
    std::set<std::string> checkFindings() const {
        const auto lines = testing::outputLines(veldra("check").output);
        return {lines.begin(), lines.end()};
    }

    void integrateAlpha() {
        const auto run = veldra("integrate --name Alpha --registry --typ " + (maps_ / "alpha.typ").string() + " " +
                                alphaTiles());
        ASSERT_EQ(run.status, 0) << run.output;
    }

    std::string alphaTiles() const {
        std::string tiles;
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            tiles += " " + shellQuote((maps_ / "alps" / tile).string());
        return tiles;
    }

    // The files of the prefix's own folder (registry files, their backups,
    // the lock) and every file below the maps folder and the packages' folder.
    FileSet state() const {
        FileSet files;
        for (const auto& file : fs::directory_iterator(prefix_))
            if (file.is_regular_file()) files[file.path().string()] = testing::readText(file.path());
        for (const fs::path& folder : {maps_, packages()})
            if (fs::exists(folder))
                for (const auto& file : fs::recursive_directory_iterator(folder))
                    if (file.is_regular_file()) files[file.path().string()] = testing::readText(file.path());
        return files;
    }

    fs::path packages() const { return prefix_ / "drive_c" / "ProgramData" / "GARMIN" / "Maps"; }
    fs::path journal() const { return prefix_ / "drive_c" / "ProgramData" / "VELDRA" / "change.journal"; }

    void restore(const FileSet& files) const {
        fs::remove_all(maps_);
        fs::remove_all(packages());
        // The journal's folder, made by the first change that keeps one: every run starts without it.
        fs::remove_all(journal().parent_path());
        for (const auto& file : fs::directory_iterator(prefix_))
            if (file.is_regular_file() && !files.contains(file.path().string())) fs::remove(file.path());
        for (const auto& [path, text] : files) {
            fs::create_directories(fs::path(path).parent_path());
            testing::writeText(path, text);
        }
    }

    // Runs the command through the preloaded library; the number of calls it
    // counted, and whether the run was killed.
    std::pair<std::uint64_t, bool> runKilledAt(const std::string& arguments, std::uint64_t killAt) const {
        const fs::path counter = home_.path() / "write-counter";
        testing::writeBytes(counter, std::vector<std::uint8_t>(8, 0));
        const auto run = runCommand(veldraLine(arguments, "LD_PRELOAD=" VELDRA_KILL_SHIM " VELDRA_WRITE_COUNTER=" +
                                                              shellQuote(counter.string()) +
                                                              " VELDRA_KILL_AT=" + std::to_string(killAt)));
        std::uint64_t count = 0;
        const auto bytes = testing::readBytes(counter);
        for (std::size_t i = 0; i < 8 && i < bytes.size(); ++i) count |= std::uint64_t{bytes[i]} << (8 * i);
        const bool killed = run.status == -1 || run.status == 128 + 9;
        if (killAt == 0) {
            EXPECT_EQ(run.status, 0) << arguments << ":\n" << run.output;
        }
        return {count, killed};
    }

    std::map<std::string, std::string> registryRecords(const FileSet& files, const std::string& what) const {
        std::map<std::string, std::string> records;
        for (const char* name : RegistryFiles) {
            const auto text = entry(files, (prefix_ / name).string());
            if (!text) continue;
            const auto load = platform::WineRegistryFile::parse(*text, 0);
            EXPECT_TRUE(load.file && !load.file->unsafeLine()) << what << ": " << name << " refused at line " << load.refusedLine;
            if (!load.file) continue;
            for (auto& [key, record] : mapsetRecords(*load.file)) records[std::string(name) + ":" + key] = record;
        }
        return records;
    }

    // Wine's server loads the registry files and its `reg` reads the mapsets' keys.
    void expectWineReads(const std::map<std::string, std::string>& records, const std::string& what) const {
        std::string query = "HKLM\\Software";
        if (!records.empty()) {
            const std::string first = records.begin()->first;
            query = "HKLM\\" + first.substr(first.find(':') + 1, first.rfind('\\') - first.find(':') - 1);
        }
        const auto run = runCommand(testing::wineCommand(prefix_, "wine reg query " + shellQuote(query) + " /s"));
        testing::stopWineServer(prefix_);
        EXPECT_EQ(run.status, 0) << what << ": wine reg query " << query << "\n" << run.output;
        for (const auto& [key, ignored] : records) {
            const std::string name = key.substr(key.rfind('\\') + 1);
            std::string shown = run.output;
            std::transform(shown.begin(), shown.end(), shown.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            EXPECT_NE(shown.find(name), std::string::npos) << what << ": Wine does not show " << key;
        }
    }

    // Kills the command at a spread of its calls (all of them with
    // VELDRA_CRASH_ALL=1) and checks what each kill left. `wholly`: the
    // command's files and keys change as one, so after the next run (which
    // finishes or undoes a change cut short) all are old or all are new.
    void expectEveryKillLeavesOldOrNew(const std::string& arguments, bool wholly = false) {
        const FileSet before = state();
        const auto findingsBefore = checkFindings();
        const auto [calls, ignored] = runKilledAt(arguments, 0);
        const FileSet after = state();
        const auto findingsAfter = checkFindings();
        ASSERT_GT(calls, 0u);
        ASSERT_NE(before, after) << arguments << " changed nothing";
        const auto recordsBefore = registryRecords(before, "before");
        const auto recordsAfter = registryRecords(after, "after");
        const auto* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
        const int failuresBefore = result->total_part_count();

        const char* all = std::getenv("VELDRA_CRASH_ALL");
        std::set<std::uint64_t> points;
        if (all != nullptr && *all != '\0') {
            for (std::uint64_t n = 1; n <= calls; ++n) points.insert(n);
        } else {
            for (int i = 0; i < ShortRunKillPoints; ++i)
                points.insert(1 + (calls - 1) * static_cast<std::uint64_t>(i) / (ShortRunKillPoints - 1));
        }
        const std::uint64_t wineAt = *std::next(points.begin(), static_cast<long>(points.size() / 2));
        std::size_t killed = 0;
        std::size_t tried = 0;
        for (const std::uint64_t n : points) {
            ++tried;
            restore(before);
            const std::string what = arguments + ", killed at call " + std::to_string(n) + " of " + std::to_string(calls);
            if (runKilledAt(arguments, n).second) ++killed;
            const FileSet now = state();
            const auto records = registryRecords(now, what);
            // A file the command makes may be unfinished until a record names it.
            expectOldOrNew(before, after, now, what, [&](const std::string& path) {
                return mapFileKind(path) && (before.contains(path) || namedByRecords(records, path));
            });
            expectOldOrNew(recordsBefore, recordsAfter, records, what, [](const std::string&) { return true; });
            const auto listed = veldra("list");
            EXPECT_EQ(listed.status, 0) << what << ": list\n" << listed.output;
            if (wholly) {
                const FileSet next = state();
                const auto nextRecords = registryRecords(next, what);
                EXPECT_TRUE((mapFiles(next) == mapFiles(before) && nextRecords == recordsBefore) ||
                            (mapFiles(next) == mapFiles(after) && nextRecords == recordsAfter))
                    << what << ": after the next run, files and keys are neither all old nor all new\n"
                    << listed.output;
            }
            for (const auto& finding : checkFindings())
                EXPECT_TRUE(findingsBefore.contains(finding) || findingsAfter.contains(finding))
                    << what << ": check reports " << finding;
            if (n == wineAt) expectWineReads(records, what);
            if (result->total_part_count() != failuresBefore) break;
        }
        std::cout << arguments << ": " << calls << " file-changing calls, "
                  << tried << " kill points tried (" << killed << " killed), "
                  << (result->total_part_count() != failuresBefore ? "NOT all consistent" : "all consistent") << "\n";
        EXPECT_EQ(killed, tried) << "a run made fewer calls than the clean run of " << arguments;
        restore(after);
    }

    testing::TempDir home_;
    fs::path prefix_;
    fs::path maps_ = home_.path() / "maps";
};

TEST_F(CrashSafetyWineTest, IntegrateByRegistryKeys) {
    expectEveryKillLeavesOldOrNew("integrate --name Alpha --registry --typ " + (maps_ / "alpha.typ").string() +
                                  alphaTiles());
}

TEST_F(CrashSafetyWineTest, TypeFileFidRenameAndRemove) {
    integrateAlpha();
    expectEveryKillLeavesOldOrNew("typ Alpha " + (maps_ / "beta.typ").string());
    // The FID lives in the TDB, the type file, the index and the registry: all change, or none.
    expectEveryKillLeavesOldOrNew("fid Alpha 4800", true);
    expectEveryKillLeavesOldOrNew("rename Alpha Gamma");
    expectEveryKillLeavesOldOrNew("--yes remove Gamma");
}

// A package's FID lives in its TDB, index, type file and descriptions: all
// change, or none. A FID change holds the prefix for its whole run, a
// package's too, so another run cannot start one meanwhile; and a run that
// finds the journal of a change cut short leaves journal and files alone as
// long as another holds the prefix. Once the prefix is free, the next run
// undoes the change. A registry family's change holds its journal past its
// commit until the journal is gone: meanwhile another run neither finishes
// that journal nor starts a change of its own.
TEST_F(CrashSafetyWineTest, PackageFidAndAJournalFoundWhileThePrefixIsHeld) {
    const auto integrated = veldra("integrate --gmap --name Beta --typ " + (maps_ / "beta.typ").string() + alphaTiles());
    ASSERT_EQ(integrated.status, 0) << integrated.output;
    expectEveryKillLeavesOldOrNew("fid Beta 4900", true);

    const auto journalText = [&] {
        return fs::exists(journal()) ? std::optional(testing::readText(journal())) : std::nullopt;
    };
    const auto expectRefusedWhileHeld = [&](const char* command) {
        const FileSet now = state();
        const auto journalNow = journalText();
        const platform::FileLock otherRun(prefix_ / ".veldra-lock");
        ASSERT_EQ(otherRun.state(), platform::FileLock::State::Held);
        const auto busy = veldra(command);
        EXPECT_EQ(busy.status, 1) << command << "\n" << busy.output;
        EXPECT_NE(busy.output.find("Another VELDRA is changing this prefix right now."), std::string::npos)
            << command << "\n" << busy.output;
        EXPECT_EQ(state(), now) << command;
        EXPECT_EQ(journalText(), journalNow) << command;
    };
    expectRefusedWhileHeld("fid Beta 4901");

    integrateAlpha();
    const FileSet before = state();
    const auto [calls, ignored] = runKilledAt("fid Alpha 4800", 0);
    restore(before);
    // Early enough that the registry does not yet hold the new ID.
    ASSERT_TRUE(runKilledAt("fid Alpha 4800", calls / 3).second);
    ASSERT_TRUE(fs::exists(journal()));
    expectRefusedWhileHeld("list");
    const auto listed = veldra("list");
    EXPECT_EQ(listed.status, 0) << listed.output;
    EXPECT_NE(listed.output.find("The change was undone"), std::string::npos) << listed.output;
    EXPECT_FALSE(fs::exists(journal()));
    EXPECT_EQ(mapFiles(state()), mapFiles(before));

    // Killed at its last call, the journal's removal, the change is stored:
    // the state a change is in between its commit and that removal.
    restore(before);
    ASSERT_TRUE(runKilledAt("fid Alpha 4800", calls).second);
    const FileSet stored = state();
    const auto storedJournal = journalText();
    ASSERT_TRUE(storedJournal);
    {
        const platform::FileLock changeRunning(fs::path(journal()) += ".lock");
        ASSERT_EQ(changeRunning.state(), platform::FileLock::State::Held);
        const auto quiet = veldra("list");
        EXPECT_EQ(quiet.status, 0) << quiet.output;
        EXPECT_EQ(quiet.output.find("VELDRA was stopped"), std::string::npos) << quiet.output;
        const auto busy = veldra("fid Alpha 4801");
        EXPECT_EQ(busy.status, 1) << busy.output;
        EXPECT_NE(busy.output.find("Another VELDRA is changing the registry right now."), std::string::npos)
            << busy.output;
        EXPECT_EQ(journalText(), storedJournal);
        EXPECT_EQ(mapFiles(state()), mapFiles(stored));
    }
    const auto completed = veldra("list");
    EXPECT_NE(completed.output.find("The change is complete."), std::string::npos) << completed.output;
    EXPECT_FALSE(fs::exists(journal()));
    EXPECT_EQ(mapFiles(state()), mapFiles(stored));
}

TEST_F(CrashSafetyWineTest, DeviceImageSplit) {
    fs::create_directories(maps_ / "device");
    fs::copy_file(testing::builtData("gmapsupp/gmapsupp.img"), maps_ / "device" / "gmapsupp.img");
    expectEveryKillLeavesOldOrNew("integrate --keep-fid --registry " + (maps_ / "device" / "gmapsupp.img").string());
}

}  // namespace
}  // namespace veldra
