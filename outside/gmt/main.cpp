// gmt.exe: the IMG tool the pipeline runs. Everything it says goes to standard
// output, which the console window shows; the first line is the banner the
// console runner removes.

#include <iostream>

#include "common/ToolArguments.h"
#include "gmt/GmtCommand.h"
#include "formats/GmtBanner.h"
#include "gmt/GmtModes.h"

namespace {

constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

int run(const veldra::outside::GmtCommand& command) {
    using namespace veldra::outside;
    switch (command.mode) {
        case GmtMode::MakeMapset: makeMapset(command, std::cout); break;
        case GmtMode::SplitImage: splitImage(command, std::cout); break;
        case GmtMode::SplitFamilies: splitFamilies(command, std::cout); break;
        case GmtMode::Unpack: unpackImage(command, std::cout); break;
    }
    return ExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace veldra::outside;
    std::cout << veldra::formats::GmtBanner << "\n";
    const auto parsed = parseGmtCommand(toolArguments(argc, argv));
    if (const auto* usage = std::get_if<GmtUsageError>(&parsed)) {
        std::cout << "gmt.exe: " << usage->message << "\n" << gmtUsage();
        return ExitUsage;
    }
    try {
        return run(std::get<GmtCommand>(parsed));
    } catch (const std::exception& error) {  // GmtError and the file system's own
        std::cout << "gmt.exe: error: " << error.what() << "\n";
    }
    return ExitFailed;
}
