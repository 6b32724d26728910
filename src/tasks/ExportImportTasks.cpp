#include "tasks/ExportImportTasks.h"

#include <system_error>

#include "existing/ExportLogFields.h"
#include "gmap/GmapFolders.h"
#include "gmap/InfoXmlProductName.h"
#include "gmap/InfoXmlReading.h"
#include "platform/CappedFileRead.h"
#include "platform/Cp1252.h"
#include "platform/FolderCopy.h"
#include "platform/PathText.h"
#include "platform/ShellLinks.h"
#include "registration/MapsetExport.h"
#include "tasks/RegisterExistingTask.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {
namespace fs = std::filesystem;
namespace {

using app::MessageIcon;
using app::Msg;

// The folder as given, without a trailing separator, so that its name is its last part.
fs::path folderPath(const fs::path& folder) {
    fs::path path = fs::absolute(folder).lexically_normal();
    if (path.filename().empty()) path = path.parent_path();
    return path;
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// The shell's folder copy: `source` lands in `destination` under its own name.
Result<fs::path> copyFolder(app::Session& session, const fs::path& source, const fs::path& destination,
                            const Progress& progress) {
    if (auto copied = platform::copyFolderInto(source, destination, progress); !copied) {
        session.dialogs.inform(session.msg(Msg::MsgFolderCopyFailed) + platform::pathText(source) + "\r\n" +
                                   copied.error,
                               session.msg(Msg::CaptionErrorMessage), MessageIcon::Exclamation);
        return alreadyShown();
    }
    return destination / source.filename();
}

// The product name of a package's Info.xml; nothing when the file holds none.
std::optional<std::string> productName(const fs::path& infoXml) {
    const auto bytes = platform::readFileCapped(infoXml, gmap::InfoXmlFileLimit);
    if (!bytes) return std::nullopt;
    return gmap::firstSubProductName(platform::cp1252ToUtf8(*bytes));
}

void tellExportDone(app::Session& session, const fs::path& folder) {
    session.dialogs.inform(session.msg(Msg::MsgExportDoneFirst) + platform::pathText(folder) +
                               session.msg(Msg::MsgExportDoneSecond),
                           app::DefaultTitle, MessageIcon::Information);
}

// The mapset's own folder, or its copy in `into` (unless that is the folder itself).
Result<fs::path> exportFolder(app::Session& session, const fs::path& own, const std::optional<fs::path>& into,
                              const Progress& progress) {
    if (!into || sameFolder(folderPath(*into) / own.filename(), own)) return own;
    return copyFolder(session, own, folderPath(*into), progress);
}

Result<fs::path> exportPackage(app::Session& session, const gmap::GmapRecord& record,
                               const std::optional<fs::path>& into, const Progress& progress) {
    const auto name = productName(record.infoXml);
    if (!name) {
        session.dialogs.inform(session.msg(Msg::MsgFilePrefix) + platform::pathText(record.infoXml) +
                               session.msg(Msg::MsgExportInfoXmlDamaged));
        return alreadyShown();
    }
    if (!session.dialogs.ask(*name + session.msg(Msg::MsgAskExportSuffix))) return declined();
    auto folder = exportFolder(session, folderPath(record.packageFolder()), into, progress);
    if (!folder) return folder.failure();
    tellExportDone(session, *folder);
    return folder;
}

Result<fs::path> exportRegistryMapset(app::Session& session, const registration::RegistryRecord& record,
                                      const std::optional<fs::path>& into, const Progress& progress) {
    if (record.loc.starts_with('!')) {
        session.dialogs.inform(session.msg(Msg::MsgMapPrefix) + session.msg(Msg::MsgWrongFolder));
        return alreadyShown();
    }
    const fs::path tiles = session.host.paths.toNative(record.loc);
    std::error_code ec;
    if (tiles.empty() || !fs::is_directory(tiles, ec)) return fail(Msg::MsgNoSuchTileFolder, record.loc);
    auto folder = exportFolder(session, folderPath(tiles), into, progress);
    if (!folder) return folder.failure();
    // One count per run: the folder's copy when there is one, else the files gathered.
    const Progress gathering = *folder == folderPath(tiles) ? progress : Progress{};
    if (auto gathered = registration::gatherExportFiles(session, record, *folder, gathering); !gathered)
        return gathered.failure();
    tellExportDone(session, *folder);
    return folder;
}

Result<fs::path> chooseFolder(app::Session& session, const std::optional<fs::path>& given, Msg title) {
    if (given) return folderPath(*given);
    const auto chosen = session.dialogs.chooseFolder(session.msg(title), {});
    if (!chosen || chosen->empty()) return declined();
    return folderPath(platform::pathFromText(*chosen));
}

Result<ImportResult> importRegistryMapset(app::Session& session, const fs::path& source,
                                          const std::optional<fs::path>& destination, const Progress& progress) {
    const auto target = chooseFolder(session, destination, Msg::CaptionChooseImportDestination);
    if (!target) return target.failure();
    auto copied = copyFolder(session, source, *target, progress);
    if (!copied) return copied.failure();
    const auto log = platform::readFileCapped(*copied / registration::ExportLogName, existing::ExportLogFileLimit);
    if (!log) return log.failure();
    auto mapset = existing::mapsetFromExportLog(
        std::string_view(reinterpret_cast<const char*>(log->data()), log->size()), *copied);
    if (!mapset) return mapset.failure();
    session.dialogs.inform(session.msg(Msg::MsgMapCopied));
    // Through the task, so that the imported mapset takes no FID or TDB another one uses.
    auto registered = registerExisting(session, {std::move(*mapset), existing::ExistingInstall::Registry});
    if (!registered) return registered.failure();
    return ImportResult{*copied, std::move(*registered), std::nullopt, false};
}

Result<ImportResult> importPackage(app::Session& session, const fs::path& source, const ImportRequest& request,
                                   const Progress& progress) {
    if (!platform::pathText(source.filename()).ends_with("gmap")) {
        session.dialogs.inform(session.msg(Msg::MsgWrongFolder), app::DefaultTitle, MessageIcon::Exclamation);
        return alreadyShown();
    }
    const auto target = chooseFolder(session, request.destination, Msg::CaptionChooseImportDestination);
    if (!target) return target.failure();
    const fs::path infoXml = source / "Info.xml";
    std::error_code ec;
    if (!fs::is_regular_file(infoXml, ec)) {
        session.dialogs.inform(session.msg(Msg::MsgMissingFilePrefix) + platform::pathText(infoXml));
        return alreadyShown();
    }
    const auto name = productName(infoXml);
    if (!name) {
        session.dialogs.inform(session.msg(Msg::MsgFilePrefix) + platform::pathText(infoXml) +
                               session.msg(Msg::MsgImportInfoXmlDamaged));
        return alreadyShown();
    }
    const bool allUsers = request.allUsers ? *request.allUsers
                                           : session.dialogs.ask(session.msg(Msg::MsgAskAllUsers) + session.userName);
    const auto gmapFolder = gmap::garminMapsFolder(
        session, allUsers ? platform::csidl::CommonAppData : platform::csidl::AppData);
    if (!gmapFolder) return fail("The application data folder is unknown.");
    auto copied = copyFolder(session, source, *target, progress);
    if (!copied) return copied.failure();
    if (fs::create_directories(*gmapFolder, ec); ec)
        return fail(platform::pathText(*gmapFolder) + ": " + ec.message());

    ImportResult result{*copied, std::nullopt, std::nullopt, false};
    if (sameFolder(*target, *gmapFolder)) return result;
    // The name comes from the file: the shortcut must still lie in the gmap package folder.
    if (name->find_first_of("\\/:*?\"<>|") != std::string::npos)
        return fail("The product name cannot name a shortcut: " + *name);
    const fs::path shortcut = *gmapFolder / platform::pathFromText("Link_" + *name + ".lnk");
    const std::string hostTarget = session.host.paths.toHost(*copied);
    if (auto written = platform::writeShellLinkFile(shortcut, hostTarget, true); !written)
        return fail(platform::pathText(shortcut) + ": " + written.error);
    result.shortcut = shortcut;
    return result;
}

}  // namespace

Result<fs::path> exportMapset(app::Session& session, const ExportRequest& request, const Progress& progress) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    if (const auto maps = gmap::garminMapsFolder(session, platform::csidl::CommonAppData)) {
        std::error_code ec;
        fs::create_directories(*maps, ec);
    }
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    const auto entry = chooseMapset(catalog, request.mapset);
    if (!entry) return entry.failure();
    if (entry->package) return exportPackage(session, catalog.packages.records[entry->index], request.into, progress);
    return exportRegistryMapset(session, catalog.registry[entry->index], request.into, progress);
}

Result<ImportResult> importMapset(app::Session& session, const ImportRequest& request, const Progress& progress) {
    session.dialogs.inform(session.msg(Msg::MsgImportStart), app::DefaultTitle, MessageIcon::Information);
    const auto source = chooseFolder(session, request.source, Msg::CaptionChooseImportFolder);
    if (!source) return source.failure();
    std::error_code ec;
    auto imported = fs::is_regular_file(*source / registration::ExportLogName, ec)
                        ? importRegistryMapset(session, *source, request.destination, progress)
                        : importPackage(session, *source, request, progress);
    if (!imported) return imported;
    imported->installMapSource = session.dialogs.ask(session.msg(Msg::MsgOfferMapSource));
    return imported;
}

}  // namespace veldra::tasks
