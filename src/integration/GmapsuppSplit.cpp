#include "integration/GmapsuppSplit.h"

#include <algorithm>
#include <system_error>

#include "formats/ImgReader.h"
#include "integration/ConsoleRunner.h"
#include "platform/FileMove.h"
#include "platform/FileSync.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "registration/FreeFid.h"
#include "registration/InstalledCatalog.h"

namespace veldra::integration {
namespace fs = std::filesystem;
namespace {

constexpr const char* SplitTitle = "VELDRA Version 80-33-1";
// German only, as the device images' users know it.
constexpr const char* NoFidInImage = "gmapsupp enthält keine FID !!";
constexpr const char* Restarting = "VELDRA wird neu gestartet, einen Moment bitte..";

std::string quoted(const fs::path& path) { return "\"" + platform::pathText(path) + "\""; }

std::string lowerExtension(const fs::path& file) { return platform::toLowerAscii(platform::pathText(file.extension())); }

std::vector<fs::path> filesIn(const fs::path& folder, std::string_view extension) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && lowerExtension(entry.path()) == extension) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool holdsAnyFile(const fs::path& folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec)) return true;
    return false;
}

// gmt.exe writes the family images and their tiles without a flush: a flush
// of each would write the device image's gigabyte to the disk twice, once
// for the family images thrown away after their split. What must survive a
// power loss is a mapset the registry names: its files, its folder and the
// folders down to it reach the disk right before the entry is written; not
// the family image beside them, removed once the mapset is registered.
Status flushMapsetFolder(const fs::path& folder, const fs::path& familyImage) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && entry.path() != familyImage) files.push_back(entry.path());
    if (auto flushed = platform::flushFilesToDisk(files); !flushed) return fail(flushed.error);
    for (const fs::path& holder : {folder.parent_path(), folder.parent_path().parent_path()})
        if (!platform::flushDirectoryToDisk(holder)) return fail("cannot flush " + platform::pathText(holder) + " to disk");
    return {};
}

bool numericName(const fs::path& file) {
    const std::string stem = platform::pathText(file.stem());
    return !stem.empty() && std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class Splitter {
public:
    Splitter(app::Session& session, ConsoleRunner& runner, const GmapsuppChoices& choices)
        : session_(session), runner_(runner), choices_(choices) {}

    Result<GmapsuppSplit> run(const fs::path& gmapsupp) {
        // A damaged image would leave an empty work folder and the tool's own error.
        if (auto opened = formats::ImgFile::open(gmapsupp); !opened.file)
            return fail(Msg::MsgNotADeviceImage, opened.error);
        const fs::path input = session_.host.shell.shortPath(fs::absolute(gmapsupp));
        const fs::path work = input.parent_path() / "SplittMaps";
        if (!fs::exists(gmt())) session_.dialogs.inform(session_.msg(Msg::MsgGmtMissing));
        if (auto prepared = prepareWorkFolder(work); !prepared) return prepared.failure();

        runGmt("-G", work, input);
        if (!holdsAnyFile(work)) {
            splitIntoBareTiles(work, input);
            return std::move(result_);
        }
        for (const fs::path& image : filesIn(work, ".img")) {
            const fs::path folder = work / image.stem();
            std::error_code ec;
            fs::create_directory(folder, ec);
            const fs::path moved = folder / image.filename();
            if (auto done = platform::moveFileReplacing(image, moved); !done) {
                result_.failures.push_back(fail(done.error));
                continue;
            }
            integrateMapsetImage(folder, moved);
            fs::remove(moved, ec);
        }
        if (handedOver_) {
            session_.dialogs.status(session_.msg(Msg::MsgIntegrationComplete));
            if (!result_.registered.empty()) session_.dialogs.inform(session_.msg(Msg::MsgIntegrationComplete));
        }
        return std::move(result_);
    }

private:
    fs::path gmt() const { return session_.host.programFolder / "gmt.exe"; }

    void runGmt(const char* mode, const fs::path& output, const fs::path& input) {
        const std::string line =
            platform::pathText(gmt()) + " " + mode + " -o " + quoted(output) + " " + quoted(input);
        runner_.setLastCommandLine(line);
        runner_.WaitForApplication(line);
    }

    Status prepareWorkFolder(const fs::path& work) {
        std::error_code ec;
        if (fs::exists(work, ec)) {
            if (!session_.dialogs.ask(session_.msg(Msg::MsgSplitFolderExists))) return declined();
            for (const auto& entry : fs::directory_iterator(work, ec)) fs::remove_all(entry.path(), ec);
            if (ec) return fail("Cannot empty " + platform::pathText(work) + ": " + ec.message());
        } else if (fs::create_directory(work, ec); ec) {
            return fail("Cannot create " + platform::pathText(work) + ": " + ec.message());
        }
        return {};
    }

    void splitIntoBareTiles(const fs::path& work, const fs::path& input) {
        session_.dialogs.inform(session_.msg(Msg::MsgTdbFromGmapsuppFailed), SplitTitle);
        session_.dialogs.status(Restarting);
        // Run directly: the progress text stays the one of the split into mapsets.
        runner_.WaitForApplication(platform::pathText(gmt()) + " -S -o " + quoted(work) + " " + quoted(input));
        for (const fs::path& tile : filesIn(work, ".img"))
            if (numericName(tile)) result_.bareTiles.push_back(tile);
    }

    void integrateMapsetImage(const fs::path& folder, const fs::path& image) {
        session_.dialogs.busy(true);
        const std::string name = platform::pathText(image.filename());
        if (name.size() >= 8 && name.substr(name.size() - 8) == "0000.img") session_.dialogs.inform(NoFidInImage);
        const std::size_t tdbsBefore = filesIn(folder, ".tdb").size();
        runGmt("-S", folder, image);
        if (filesIn(folder, ".tdb").size() <= tdbsBefore) {
            session_.dialogs.inform(session_.msg(Msg::MsgTdbFromGmapsuppFailed), SplitTitle);
            return;
        }
        session_.host.processes.runAndWait(platform::pathText(session_.host.programFolder / "Version97c" /
                                                              "cgpsmapper.exe") +
                                           " " + quoted(folder / "mapset.mp"));
        std::error_code ec;
        for (const char* leftover : {"install.bat", "uninstall.bat", "mapset.mp"}) fs::remove(folder / leftover, ec);

        const bool keepFid =
            choices_.keepFid ? *choices_.keepFid : session_.dialogs.ask(session_.msg(Msg::MsgAskKeepGmapsuppFid));
        if (!fs::is_regular_file(folder / "mapset.img", ec) || !fs::is_regular_file(folder / "mapset.tdb", ec)) {
            session_.dialogs.inform(session_.msg(Msg::MsgGmapsuppExtractFailed));
            return;
        }
        existing::ExistingMapset mapset;
        mapset.tdb = folder / "mapset.tdb";
        mapset.overviewMap = folder / "mapset.img";
        mapset.tilesFolder = folder;
        if (fs::is_regular_file(folder / "mapset.mdx", ec)) mapset.indexFile = folder / "mapset.mdx";
        if (const auto types = filesIn(folder, ".typ"); !types.empty()) mapset.typeFile = types.front();
        if (!keepFid) {
            registration::InstalledCatalog catalog;
            catalog.rebuild(session_);
            if (const auto free = registration::lowestFreeFid(session_, catalog)) mapset.fid = std::to_string(*free);
        }
        handedOver_ = true;
        const auto install = choices_.install ? *choices_.install
                             : session_.dialogs.ask(session_.msg(Msg::MsgAskGmapInstallation))
                                 ? existing::ExistingInstall::GmapPackage
                                 : existing::ExistingInstall::Registry;
        // A package holds copies of its own, flushed as they are written.
        if (install == existing::ExistingInstall::Registry) {
            if (auto flushed = flushMapsetFolder(folder, image); !flushed) {
                result_.failures.push_back(flushed.failure());
                return;
            }
        }
        if (auto registered = existing::registerExistingMapset(session_, mapset, install))
            result_.registered.push_back(*registered);
        else
            result_.failures.push_back(registered.failure());
    }

    app::Session& session_;
    ConsoleRunner& runner_;
    const GmapsuppChoices& choices_;
    GmapsuppSplit result_;
    bool handedOver_ = false;
};

}  // namespace

Result<GmapsuppSplit> splitGmapsupp(app::Session& session, ConsoleRunner& runner, const fs::path& gmapsupp,
                                    const GmapsuppChoices& choices) {
    return Splitter(session, runner, choices).run(gmapsupp);
}

}  // namespace veldra::integration
