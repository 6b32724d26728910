#pragma once
// One problem the check finds with an installed mapset, and what its repair needs.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "core/MessageIds.h"

namespace veldra::tools {

enum class CheckKind {
    TdbMissing,
    OverviewMissing,
    TilesFolderMissing,
    IndexMissing,
    TypeFileMissing,
    TdbUnreadable,
    TdbChecksumWrong,
    IdsDiffer,
    TypeFileFidWrong,
    DuplicateFid,
    WrongBranch,
    MisplacedLayout,
    InfoXmlDamaged,
    PackagePathOutside,
    DeadLink,
    BaseMapUnnamed,
};

// The kind as the JSON output names it ("tdb-missing", ...).
std::string_view checkKindName(CheckKind kind);
// The catalog sentence that says what is wrong.
Msg checkKindMessage(CheckKind kind);

struct CheckFinding {
    CheckFinding() = default;
    explicit CheckFinding(CheckKind k, std::string mapsetName = {}, std::string fidText = {})
        : kind(k), mapset(std::move(mapsetName)), fid(std::move(fidText)) {}

    CheckKind kind = CheckKind::TdbMissing;
    std::string mapset;  // the name the catalog lists, or the key or folder when there is none
    std::string fid;     // decimal text; empty when unknown
    std::string pid;
    std::string detail;  // the file, key or value the sentence is about
    bool repairable = false;

    // What the repair works on: the file (checksum, type file stamp, link), the
    // key in the wrong branch, the FID to stamp.
    std::filesystem::path file;
    std::string key;
    std::uint16_t stampFid = 0;
};

}  // namespace veldra::tools
