#include "tools/CheckFinding.h"

namespace veldra::tools {

std::string_view checkKindName(CheckKind kind) {
    switch (kind) {
        case CheckKind::TdbMissing: return "tdb-missing";
        case CheckKind::OverviewMissing: return "overview-missing";
        case CheckKind::TilesFolderMissing: return "tiles-folder-missing";
        case CheckKind::IndexMissing: return "index-missing";
        case CheckKind::TypeFileMissing: return "type-file-missing";
        case CheckKind::TdbUnreadable: return "tdb-unreadable";
        case CheckKind::TdbChecksumWrong: return "tdb-checksum";
        case CheckKind::IdsDiffer: return "ids-differ";
        case CheckKind::TypeFileFidWrong: return "type-file-fid";
        case CheckKind::DuplicateFid: return "duplicate-fid";
        case CheckKind::WrongBranch: return "wrong-branch";
        case CheckKind::MisplacedLayout: return "misplaced-layout";
        case CheckKind::InfoXmlDamaged: return "info-xml-damaged";
        case CheckKind::PackagePathOutside: return "path-outside-package";
        case CheckKind::DeadLink: return "dead-link";
        case CheckKind::BaseMapUnnamed: return "base-map-unnamed";
    }
    return {};
}

Msg checkKindMessage(CheckKind kind) {
    switch (kind) {
        case CheckKind::TdbMissing: return Msg::MsgCheckTdbMissing;
        case CheckKind::OverviewMissing: return Msg::MsgCheckOverviewMissing;
        case CheckKind::TilesFolderMissing: return Msg::MsgCheckTilesFolderMissing;
        case CheckKind::IndexMissing: return Msg::MsgCheckIndexMissing;
        case CheckKind::TypeFileMissing: return Msg::MsgCheckTypeFileMissing;
        case CheckKind::TdbUnreadable: return Msg::MsgCheckTdbUnreadable;
        case CheckKind::TdbChecksumWrong: return Msg::MsgCheckTdbChecksumWrong;
        case CheckKind::IdsDiffer: return Msg::MsgCheckIdsDiffer;
        case CheckKind::TypeFileFidWrong: return Msg::MsgCheckTypeFileFidWrong;
        case CheckKind::DuplicateFid: return Msg::MsgCheckDuplicateFid;
        case CheckKind::WrongBranch: return Msg::MsgCheckWrongBranch;
        case CheckKind::MisplacedLayout: return Msg::MsgCheckMisplacedLayout;
        case CheckKind::InfoXmlDamaged: return Msg::MsgCheckInfoXmlDamaged;
        case CheckKind::PackagePathOutside: return Msg::MsgCheckPackagePathOutside;
        case CheckKind::DeadLink: return Msg::MsgCheckDeadLink;
        case CheckKind::BaseMapUnnamed: return Msg::MsgCheckBaseMapUnnamed;
    }
    return Msg::MsgCheckTdbMissing;
}

}  // namespace veldra::tools
