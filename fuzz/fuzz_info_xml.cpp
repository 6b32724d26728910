// The package description reader: any text gives facts, never a crash. A
// description with one sub-product, written again by our writer from those
// facts, reads back as the same facts (in code page 1252, as written).

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "gmap/GmapRecord.h"
#include "gmap/InfoXmlReading.h"
#include "gmap/InfoXmlWriting.h"
#include "platform/Cp1252.h"

using namespace veldra::gmap;
using veldra::platform::utf8ToCp1252;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const InfoXmlFacts facts = readInfoXml(text);
    if (facts.damaged || facts.subProducts.size() != 1) return 0;

    const InfoXmlSubProduct& sub = facts.subProducts.front();
    InfoXmlContent content;
    content.name = sub.name;
    content.fid = facts.fid;
    content.productId = sub.pid;
    content.tdbFile = sub.tdbName;
    if (facts.mdx != NoMdxFileMarker) content.indexFile = facts.mdx;
    const InfoXmlFacts again = readInfoXml(infoXmlBytes(content));
    if (again.damaged || again.subProducts.size() != 1 || again.fid != utf8ToCp1252(facts.fid) ||
        again.mdx != (content.indexFile ? utf8ToCp1252(facts.mdx) : std::string(NoMdxFileMarker)))
        std::abort();
    const InfoXmlSubProduct& read = again.subProducts.front();
    if (read.name != utf8ToCp1252(sub.name) || read.pid != sub.pid || read.tdbName != utf8ToCp1252(sub.tdbName))
        std::abort();
    return 0;
}
