#include "integration/OverviewGeneration.h"

#include <system_error>
#include <vector>

#include "app/Session.h"
#include "app/TextEdits.h"
#include "integration/ConsoleRunner.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/FileNames.h"

namespace veldra::integration {
namespace fs = std::filesystem;
namespace {

constexpr const char* BuildTitle = "VELDRA Build 80-33-1";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

void removeIfPresent(const fs::path& file) {
    std::error_code ignored;
    fs::remove(file, ignored);
}

// Text files the outside tools read: code page 1252, CR LF line ends.
void writeLines(const fs::path& file, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += platform::utf8ToCp1252(line) + "\r\n";
    platform::replaceFileAtomically(file, text);
}

}  // namespace

OverviewGeneration::OverviewGeneration(app::Session& session, ConsoleRunner& runner, IntegrationJob job)
    : session_(session), runner_(runner), job_(std::move(job)), baseName_(fileBaseName(job_.mapsetName)) {}

fs::path OverviewGeneration::programFile(const char* name) const { return session_.host.programFolder / name; }

fs::path OverviewGeneration::overviewMap() const { return job_.folderShown / (baseName_ + ".img"); }

std::string OverviewGeneration::gmtCommandLine() const {
    const auto list = session_.host.shell.shortPath(programFile("list.txt"));
    return programFile("gmt.exe").string() + " -S -f " + job_.fidText + ",1 -m " + underscored(job_.mapsetName) +
           " -n " + baseName_ + " -o " + quoted(job_.folderShown.string()) + " -c 1252 -@ " + quoted(list.string());
}

std::string OverviewGeneration::compileCommandLine() const {
    return (session_.host.programFolder / "Version97c" / "cgpsmapper.exe").string() + " " +
           quoted((job_.folderShown / (baseName_ + ".mp")).string());
}

std::string OverviewGeneration::javaCommandLine() const {
    return "java -jar " + programFile("mkgmap.jar").string() + " --read-config=" + programFile("list.args").string() +
           " -c " + programFile("filelist.txt").string();
}

void OverviewGeneration::writeListFile() const {
    std::vector<std::string> lines;
    for (const auto& tile : job_.tiles) lines.push_back(session_.host.shell.shortPath(tile).string());
    writeLines(programFile("list.txt"), lines);
}

void OverviewGeneration::writeOverviewSource() {
    tileFolder_ = job_.tiles.empty() ? fs::path() : job_.tiles.front().parent_path();
    writeListFile();
    if (!fs::exists(programFile("gmt.exe"))) {
        session_.dialogs.inform(session_.msg(app::Msg::MsgGmtMissing));
        return;
    }
    runner_.WaitForApplication(gmtCommandLine());
    removeIfPresent(tileFolder_ / "install.bat");
    removeIfPresent(tileFolder_ / "uninstall.bat");
    removeIfPresent(programFile("list.txt"));
    editOverviewSource();
}

void OverviewGeneration::editOverviewSource() const {
    const fs::path source = job_.folderShown / (baseName_ + ".mp");
    std::vector<std::uint8_t> bytes;
    if (!platform::readWholeFile(source, bytes)) return;
    std::string text(bytes.begin(), bytes.end());
    app::replaceAll(text, "Label=GMapTool Preview", " ");
    app::replaceAll(text, "Type=0x0b00", "Type=0x6300");
    // Written whole, so no stale bytes stay behind a shorter text.
    platform::replaceFileAtomically(source, text);
}

bool OverviewGeneration::tdbExists() const {
    return platform::findIgnoringCase(tileFolder_ / (baseName_ + ".tdb")).has_value();
}

bool OverviewGeneration::javaInstalled() {
#ifdef _WIN32
    javaVersion_ = session_.routines.queryText(platform::RegistryRoot::LocalMachine,
                                                     "SOFTWARE\\JavaSoft\\Java Runtime Environment", "CurrentVersion");
#else
    // The outside tools run natively here: Java counts when the runner can start it.
    const auto java = platform::findOnPath("java");
    javaVersion_ = java ? java->string() : std::string();
#endif
    return !javaVersion_.empty();
}

void OverviewGeneration::writeJavaInputs() const {
    writeLines(programFile("list.args"), {"code-page=1252", "max-jobs=", "family-id=" + job_.fidText,
                                          "overview-mapname=" + baseName_, "series-name=" + baseName_,
                                          "family-name=" + baseName_, "tdbfile", "poi-address",
                                          "output-dir=" + job_.folderShown.string(), "gmapi"});
    std::vector<std::string> inputs;
    for (const auto& tile : job_.tiles) inputs.push_back("input-file=" + tile.string());
    writeLines(programFile("filelist.txt"), inputs);
}

bool OverviewGeneration::makeOverviewMap() {
    runner_.WaitForApplication(compileCommandLine());
    session_.dialogs.processEvents();
    for (;;) {
        if (fs::exists(overviewMap())) return true;
        const bool tryJava = javaInstalled() && session_.dialogs.ask(session_.msg(app::Msg::MsgPreviewFailed), BuildTitle);
        if (!tryJava) {
            session_.dialogs.inform(session_.msg(app::Msg::MsgManualPreviewInstructions));
            return false;
        }
        writeJavaInputs();
        runner_.WaitForApplication(javaCommandLine());
        removeIfPresent(programFile("filelist.txt"));
        removeIfPresent(programFile("list.args"));
    }
}

}  // namespace veldra::integration
