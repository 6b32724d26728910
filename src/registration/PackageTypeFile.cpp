#include "registration/PackageTypeFile.h"

#include "gmap/InfoXmlReading.h"
#include "gmap/PackageFolderReading.h"
#include "platform/AtomicFile.h"
#include "platform/CappedFileRead.h"
#include "registration/InfoXmlEdits.h"
#include "registration/NumberText.h"
#include "registration/TypeFileNames.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

constexpr const char* AlreadyThere = "Das ausgewählte File ist am Zielort schon vorhaden";

bool samePath(const fs::path& a, const fs::path& b) {
    std::error_code ec1, ec2;
    return fs::weakly_canonical(a, ec1) == fs::weakly_canonical(b, ec2) && !ec1 && !ec2;
}

// Rewrites one description file with an edit; false after telling the user why not.
template <typename Edit>
bool rewrite(app::Session& session, const fs::path& file, Edit edit, bool& unchanged) {
    const auto bytes = platform::readFileCapped(file, gmap::InfoXmlFileLimit);
    if (!bytes) {
        session.dialogs.inform(bytes.failure().detail);
        return false;
    }
    const XmlEdit result = edit(std::string(bytes->begin(), bytes->end()));
    unchanged = result.state == XmlEdit::State::Unchanged;
    if (result.state == XmlEdit::State::Damaged) {
        session.dialogs.inform(gmap::damagedInfoXmlMessage(file));
        return false;
    }
    if (unchanged) return true;
    if (auto written = platform::replaceFileAtomically(file, result.text); !written) {
        session.dialogs.inform(written.error);
        return false;
    }
    return true;
}

Status attach(app::Session& session, const gmap::GmapRecord& package, const fs::path& chosen) {
    const fs::path folder = package.packageFolder();
    const std::string typName = package.fid + ".Typ";
    const fs::path target = folder / typName;
    if (samePath(target, chosen)) {
        session.dialogs.inform(AlreadyThere, app::DefaultTitle, app::MessageIcon::Information);
        return alreadyShown();
    }
    const auto fid = wholeNumber(package.fid);
    if (!fid || *fid > 0xFFFF) {
        session.dialogs.inform(gmap::damagedInfoXmlMessage(package.infoXml));
        return alreadyShown();
    }
    copyStampedTypeFile(session, chosen, target, static_cast<std::uint16_t>(*fid));

    bool unchanged = false;
    if (!rewrite(session, package.infoXml, [&](const std::string& xml) { return attachTypInInfoXml(xml, typName); },
                 unchanged))
        return alreadyShown();
    const fs::path infoV2 = folder / "Info_v2.xml";
    std::error_code ec;
    if (fs::exists(infoV2, ec) &&
        !rewrite(session, infoV2, [&](const std::string& xml) { return attachTypInInfoV2(xml, typName); }, unchanged))
        return alreadyShown();
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileChanged));
    return {};
}

Status detach(app::Session& session, const gmap::GmapRecord& package) {
    if (!session.dialogs.ask(session.msg(app::Msg::MsgNoTypeFileContinue))) return declined();
    bool unchanged = false;
    if (!rewrite(session, package.infoXml, detachTypFromInfoXml, unchanged)) return alreadyShown();
    // Without a type element there is nothing more to do.
    if (unchanged) return {};
    const fs::path infoV2 = package.packageFolder() / "Info_v2.xml";
    std::error_code ec;
    if (fs::exists(infoV2, ec) && !rewrite(session, infoV2, detachTypFromInfoV2, unchanged)) return alreadyShown();
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileChanged));
    return {};
}

}  // namespace

Status changePackageTypeFile(app::Session& session, const gmap::GmapRecord& package,
                              const std::optional<fs::path>& chosen) {
    if (auto changeable = package.changeable(); !changeable) return changeable;
    return isTypeFile(chosen) ? attach(session, package, *chosen) : detach(session, package);
}

}  // namespace veldra::registration
