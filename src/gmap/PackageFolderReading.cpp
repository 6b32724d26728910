#include "gmap/PackageFolderReading.h"

#include <algorithm>

#include "gmap/InfoXmlReading.h"
#include "platform/CappedFileRead.h"
#include "platform/ConfinedPath.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"

namespace veldra::gmap {
namespace fs = std::filesystem;
namespace {

GmapRecord subProductRecord(const fs::path& folder, const fs::path& infoXml, const InfoXmlFacts& facts,
                            const InfoXmlSubProduct& sub) {
    GmapRecord record;
    record.infoXml = infoXml;
    // The host takes <TDB> in the sub-product's folder: a text that leads out
    // of it, absolute or with "..", marks the record instead of naming a file.
    auto tdb = platform::confinedPath(folder / ("Product" + sub.pid), sub.tdbName);
    if (tdb) record.tdb = std::move(tdb).value();
    else record.pathProblem = tdb.failure().detail;
    record.name = sub.name;
    record.fid = facts.fid;
    record.mdx = facts.mdx;
    record.pid = sub.pid;
    return record;
}

}  // namespace

std::string damagedInfoXmlMessage(const fs::path& infoXml) {
    return "File " + platform::pathText(infoXml) + " info.xml ist beschädigt";
}

void appendPackageRecords(const fs::path& folder, app::Dialogs& dialogs, std::vector<GmapRecord>& records) {
    // What is no folder lists nothing: no look at its type first.
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && platform::pathText(entry.path().filename()).ends_with("Info.xml"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());

    for (const fs::path& infoXml : files) {
        const auto bytes = platform::readFileCapped(infoXml, InfoXmlFileLimit);
        if (!bytes) {
            dialogs.inform(bytes.failure().detail);
            continue;
        }
        const InfoXmlFacts facts = readInfoXml(platform::cp1252ToUtf8(*bytes));
        for (const InfoXmlSubProduct& sub : facts.subProducts)
            records.push_back(subProductRecord(folder, infoXml, facts, sub));
        if (facts.damaged) {
            dialogs.inform(damagedInfoXmlMessage(infoXml));
            return;
        }
    }
}

}  // namespace veldra::gmap
