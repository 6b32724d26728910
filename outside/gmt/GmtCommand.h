#pragma once
// The command lines gmt.exe accepts, as the pipeline builds them:
//   -S -f FID,PID -m NAME -n BASE -o DIR -c CODEPAGE -@ LIST   TDB and overview source of listed tiles
//   -S -o DIR IMAGE                                           tiles and mapset files of one image
//   -G -o DIR IMAGE                                           one image per map family
//   -g -o DIR IMAGE                                           the image's subfiles as files

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace veldra::outside {

enum class GmtMode { MakeMapset, SplitImage, SplitFamilies, Unpack };

struct GmtCommand {
    GmtMode mode = GmtMode::Unpack;
    std::uint16_t fid = 0;
    std::uint16_t pid = 1;
    std::string mapsetName;  // -m, UTF-8
    std::string baseName;    // -n
    std::string outputDir;   // -o, as given (host or native path)
    std::uint32_t codePage = 1252;
    std::string listFile;    // -@
    std::string input;       // the image of -S, -G and -g
};

struct GmtUsageError {
    std::string message;
};

std::variant<GmtCommand, GmtUsageError> parseGmtCommand(const std::vector<std::string>& arguments);

// The lines printed with a usage error.
std::string gmtUsage();

}  // namespace veldra::outside
