#include "registration/MapsetRename.h"

#include <algorithm>

#include "gmap/InfoXmlReading.h"
#include "platform/AtomicFile.h"
#include "platform/CappedFileRead.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"
#include "platform/RegistryPath.h"
#include "registration/InfoXmlEdits.h"
#include "registration/RegistryRecordReading.h"

namespace veldra::registration {
namespace {

// Every refusal but a missing error text has been shown to the user already.
Status renameStatus(const formats::RenameResult& result) {
    if (result.outcome == formats::RenameOutcome::Renamed) return {};
    if (!result.error.empty()) return fail(result.error);
    return alreadyShown();
}

void showNotices(app::Session& session, const std::vector<formats::Notice>& notices) {
    for (const formats::Notice& notice : notices)
        session.dialogs.inform((notice.message ? session.msg(*notice.message) : std::string()) + notice.text,
                               app::DefaultTitle,
                               notice.information ? app::MessageIcon::Information : app::MessageIcon::None);
}

}  // namespace

NewMapsetName checkNewMapsetName(app::Session& session, std::string_view typed) {
    const auto first = typed.find_first_not_of(' ');
    typed = first == std::string_view::npos ? std::string_view() : typed.substr(first);
    const auto special = std::find_if(typed.begin(), typed.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
    if (special == typed.end()) return {std::string(typed), false};
    session.dialogs.inform(session.msg(app::Msg::MsgNoSpecialCharacters));
    return {std::string(typed.begin(), special), true};
}

Status renameRegistryMapset(app::Session& session, InstalledCatalog& catalog, const RegistryRecord& record,
                            std::string_view newName) {
    const std::filesystem::path tdb = session.host.paths.toNative(record.tdb);
    // The value could name any file; only a TDB is ever rewritten through it.
    if (platform::foldCase(tdb.extension().string()) != ".tdb")
        return fail(Msg::MsgRegistryNamesOtherKind, record.tdb + " (.tdb)");
    const auto result = formats::renameMapInTdb(tdb, newName, false);
    showNotices(session, result.notices);
    catalog.registry = readRegistryRecords(session);
    return renameStatus(result);
}

Status renameGmapPackage(app::Session& session, InstalledCatalog& catalog, const gmap::GmapRecord& chosen,
                         std::string_view newName) {
    if (auto changeable = chosen.changeable(); !changeable) return changeable;
    const gmap::GmapRecord record = chosen;  // the catalog is rebuilt below
    const auto bytes = platform::readFileCapped(record.infoXml, gmap::InfoXmlFileLimit);
    if (!bytes) return bytes.failure();
    const std::string xml(bytes->begin(), bytes->end());
    const std::string renamed = renameInNameElements(xml, platform::utf8ToCp1252(record.name),
                                                     platform::utf8ToCp1252(newName));
    if (auto written = platform::replaceFileAtomically(record.infoXml, renamed); !written)
        return fail(written.error);
    const auto result = formats::renameMapInTdb(record.tdb, newName, false);
    showNotices(session, result.notices);
    catalog.rebuild(session);
    return renameStatus(result);
}

Status renameTdbQuietly(app::Session& session, const std::filesystem::path& tdb, std::string_view newName) {
    const auto result = formats::renameMapInTdb(tdb, newName, true);
    showNotices(session, result.notices);
    return renameStatus(result);
}

}  // namespace veldra::registration
