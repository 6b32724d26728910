#include "registration/MapsetRename.h"

#include <algorithm>

#include "formats/PathText.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "registration/InfoXmlEdits.h"
#include "registration/TDBlesen.h"

namespace veldra::registration {

NewMapsetName checkNewMapsetName(app::Session& session, std::string_view typed) {
    const auto first = typed.find_first_not_of(' ');
    typed = first == std::string_view::npos ? std::string_view() : typed.substr(first);
    const auto special = std::find_if(typed.begin(), typed.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
    if (special == typed.end()) return {std::string(typed), false};
    session.dialogs.inform(session.msg(app::Msg::MsgNoSpecialCharacters));
    return {std::string(typed.begin(), special), true};
}

formats::RenameResult renameRegistryMapset(app::Session& session, InstalledCatalog& catalog,
                                           const RegistryRecord& record, std::string_view newName) {
    const std::filesystem::path tdb = session.host.paths.toNative(record.tdb);
    auto result = formats::TDBFileNameAendern(tdb, newName, session.dialogs, session.catalog, false);
    catalog.registry = TDBlesen(session);
    return result;
}

formats::RenameResult renameGmapPackage(app::Session& session, InstalledCatalog& catalog,
                                        const gmap::GmapRecord& chosen, std::string_view newName) {
    const gmap::GmapRecord record = chosen;  // the catalog is rebuilt below
    std::vector<std::uint8_t> bytes;
    if (auto read = platform::readWholeFile(record.infoXml, bytes); !read)
        return {formats::RenameOutcome::Failed, read.error};
    const std::string xml(bytes.begin(), bytes.end());
    const std::string renamed = renameInNameElements(xml, platform::utf8ToCp1252(record.name),
                                                     platform::utf8ToCp1252(newName));
    if (auto written = platform::replaceFileAtomically(record.infoXml, renamed); !written)
        return {formats::RenameOutcome::Failed, written.error};
    auto result = formats::TDBFileNameAendern(record.tdb, newName, session.dialogs, session.catalog, false);
    catalog.rebuild(session);
    return result;
}

}  // namespace veldra::registration
