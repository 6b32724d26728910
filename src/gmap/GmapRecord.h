#pragma once
// One sub-product of an installed gmap package, as the catalog lists it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Result.h"

namespace veldra::gmap {

// The index file name of a package whose Info.xml names none.
inline constexpr const char* NoMdxFileMarker = "KeinMDXFILE";

struct GmapRecord {
    std::filesystem::path infoXml;  // the package's Info.xml
    // The <TDB> text of the sub-product taken in the folder "Product<PID>" beside
    // Info.xml; empty when it leads out of that folder (see pathProblem).
    std::filesystem::path tdb;
    std::string name;  // <Name> of the sub-product
    std::string fid;   // text of the first <ID> of the file
    std::string mdx;   // text of <IDX>, or NoMdxFileMarker
    std::string pid;   // the sub-product's <ID> as a decimal number
    // Why nothing may be written, renamed or deleted through this record: its
    // <TDB> text leads out of its product folder. The record is still listed.
    std::optional<std::string> pathProblem;

    // "gmap; " + name + "; FID:" + fid + ";PID:" + pid
    std::string display() const;
    // Fails with pathProblem when nothing may be changed through this record.
    Status changeable() const;
    // The folder that holds Info.xml.
    std::filesystem::path packageFolder() const { return infoXml.parent_path(); }
};

struct GmapPackages {
    std::vector<GmapRecord> records;
    // Neither package folder exists: the package list shows MsgNoGmpMapsets instead.
    bool noPackageFolders = false;
};

// Ascending by display line, compared by character code; equal lines keep
// the order in which they were found.
void orderGmapRecords(std::vector<GmapRecord>& records);

}  // namespace veldra::gmap
