#pragma once
// The Info.xml of a gmap package: one element per line, code page 1252,
// CR LF, no byte-order mark, one SubProduct.

#include <filesystem>
#include <optional>
#include <string>

#include "core/Result.h"

namespace veldra::gmap {

struct InfoXmlContent {
    std::string name;  // UTF-8; characters outside code page 1252 become "?"
    std::string fid;
    std::optional<std::string> indexFile;  // <IDX>, when the package has an index file
    bool hasMdr = false;                   // <MDR>MDRMAP</MDR>
    std::optional<std::string> typeFile;   // <TYP>
    std::string productId;
    std::string tdbFile;
    std::string productFolder;
};

// The file's bytes. "&", "<" and ">" in values are escaped so that every XML
// reader can read what we write.
std::string infoXmlBytes(const InfoXmlContent& content);

// Replaces the package's Info.xml as a whole.
Status writeInfoXml(const std::filesystem::path& packageFolder, const InfoXmlContent& content);

}  // namespace veldra::gmap
