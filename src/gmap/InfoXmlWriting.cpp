#include "gmap/InfoXmlWriting.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"

namespace veldra::gmap {
namespace {

constexpr const char* MapProductNamespace = "http://www.garmin.com/xmlschemas/MapProduct/v1";

std::string escaped(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out.push_back(c);
    }
    return out;
}

std::string element(const char* tag, std::string_view value) {
    return std::string("<") + tag + ">" + escaped(platform::utf8ToCp1252(value)) + "</" + tag + ">\r\n";
}

}  // namespace

std::string infoXmlBytes(const InfoXmlContent& content) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>\r\n";
    text += std::string("<MapProduct xmlns=\"") + MapProductNamespace + "\">\r\n";
    text += element("Name", content.name);
    text += "<DataVersion>100</DataVersion>\r\n";
    text += "<DataFormat>Original</DataFormat>\r\n";
    text += element("ID", content.fid);
    if (content.indexFile) text += element("IDX", *content.indexFile);
    if (content.hasMdr) text += "<MDR>MDRMAP</MDR>\r\n";
    if (content.typeFile) text += element("TYP", *content.typeFile);
    text += "<SubProduct>\r\n";
    text += element("Name", content.name);
    text += element("ID", content.productId);
    text += "<BaseMap>mapset</BaseMap>\r\n";
    text += element("TDB", content.tdbFile);
    text += element("Directory", content.productFolder);
    text += "</SubProduct>\r\n";
    text += "</MapProduct>\r\n";
    return text;
}

Status writeInfoXml(const std::filesystem::path& packageFolder, const InfoXmlContent& content) {
    const auto written = platform::replaceFileAtomically(packageFolder / "Info.xml", infoXmlBytes(content));
    return written ? Status{} : fail(written.error);
}

}  // namespace veldra::gmap
