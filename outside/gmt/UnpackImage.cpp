// -g: the subfiles of an IMG file as files of their own (the form the maps
// take in a gmap package).

#include "common/ToolPaths.h"
#include "gmt/GmtFiles.h"
#include "gmt/GmtModes.h"
#include "platform/PathText.h"

namespace veldra::outside {

void unpackImage(const GmtCommand& command, std::ostream& out) {
    const auto image = openImage(nativeToolPath(command.input));
    const auto folder = outputFolder(command.outputDir);
    for (const auto& subfile : image->layout().subfiles) {
        writeOutputFile(folder / platform::pathFromText(subfileFileName(subfile.fileName())),
                        readSubfile(*image, subfile), out);
    }
    out << image->layout().subfiles.size() << " subfiles unpacked\n";
}

}  // namespace veldra::outside
