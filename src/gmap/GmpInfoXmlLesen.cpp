#include "gmap/GmpInfoXmlLesen.h"

#include <algorithm>

#include "formats/PathText.h"
#include "gmap/InfoXmlReading.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"

namespace veldra::gmap {
namespace fs = std::filesystem;

std::string damagedInfoXmlMessage(const fs::path& infoXml) {
    return "File " + formats::pathText(infoXml) + " info.xml ist beschädigt";
}

void gmpInfoXmlLesen(const fs::path& folder, app::Dialogs& dialogs, std::vector<GmapRecord>& records) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && formats::pathText(entry.path().filename()).ends_with("Info.xml"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());

    for (const fs::path& infoXml : files) {
        std::vector<std::uint8_t> bytes;
        if (!platform::readWholeFile(infoXml, bytes)) continue;
        const InfoXmlFacts facts = readInfoXml(platform::cp1252ToUtf8(bytes));
        for (const InfoXmlSubProduct& sub : facts.subProducts) {
            GmapRecord record;
            record.infoXml = infoXml;
            // Appended, not joined: a <TDB> text that is an absolute path must
            // not lead out of the package.
            record.tdb = folder / ("Product" + sub.pid);
            record.tdb += fs::path::preferred_separator;
            record.tdb += formats::pathFromText(sub.tdbName);
            record.name = sub.name;
            record.fid = facts.fid;
            record.mdx = facts.mdx;
            record.pid = sub.pid;
            records.push_back(std::move(record));
        }
        if (facts.damaged) {
            dialogs.inform(damagedInfoXmlMessage(infoXml));
            return;
        }
    }
}

}  // namespace veldra::gmap
