#include "registration/InfoXmlEdits.h"

#include <algorithm>
#include <cctype>

#include "app/TextEdits.h"
#include "platform/Text.h"

namespace veldra::registration {
namespace {

constexpr auto npos = std::string::npos;
constexpr std::string_view TypOpen = "<TYP>";
constexpr std::string_view TypClose = "</TYP>";
constexpr std::string_view TypFileOpen = "<File id=\"TYP\">";
constexpr std::string_view FileClose = "</File>";
constexpr std::string_view LineEnd = "\r\n";

void replaceFirst(std::string& s, std::string_view from, std::string_view to) {
    if (const std::size_t at = s.find(from); !from.empty() && at != npos) s.replace(at, from.size(), to);
}

// Spellings of a tag in any letter case become the given one.
void normalizeTag(std::string& s, std::string_view tag) {
    for (std::size_t at = 0; at + tag.size() <= s.size(); ++at)
        if (platform::equalsIgnoringAsciiCase(std::string_view(s).substr(at, tag.size()), tag)) s.replace(at, tag.size(), tag);
}

// The text between the first `open` and the first `close` after it.
bool elementText(const std::string& s, std::size_t openAt, std::string_view open, std::string_view close,
                 std::string& text) {
    const std::size_t begin = openAt + open.size();
    const std::size_t end = s.find(close, begin);
    if (end == npos) return false;
    text = s.substr(begin, end - begin);
    return true;
}

XmlEdit changed(std::string text) { return {XmlEdit::State::Changed, text.append(LineEnd)}; }
XmlEdit damaged() { return {XmlEdit::State::Damaged, {}}; }

}  // namespace

std::string renameInNameElements(std::string_view xml, std::string_view oldName, std::string_view newName) {
    std::string s(xml);
    constexpr std::string_view NameOpen = "<Name>";
    for (std::size_t open = s.find(NameOpen); open != npos;) {
        const std::size_t begin = open + NameOpen.size();
        const std::size_t end = s.find("</Name>", begin);
        if (end == npos) break;
        std::string content = s.substr(begin, end - begin);
        app::replaceAll(content, oldName, newName);
        s.replace(begin, end - begin, content);
        // Go on behind the new content: a new name may hold "<Name>" itself.
        open = s.find(NameOpen, begin + content.size());
    }
    return s;
}

XmlEdit attachTypInInfoXml(std::string_view xml, std::string_view typFile) {
    std::string s(xml);
    normalizeTag(s, TypOpen);
    normalizeTag(s, TypClose);
    const std::string element = std::string(TypOpen) + std::string(typFile) + std::string(TypClose);
    if (const std::size_t open = s.find(TypOpen); open != npos) {
        std::string old;
        if (!elementText(s, open, TypOpen, TypClose, old)) return damaged();
        app::replaceAll(s, std::string(TypOpen) + old + std::string(TypClose), element);
    } else {
        replaceFirst(s, "<SubProduct>", element + "\n<SubProduct>");
    }
    return changed(std::move(s));
}

XmlEdit attachTypInInfoV2(std::string_view xml, std::string_view typFile) {
    std::string s(xml);
    const std::string entry = std::string(TypFileOpen) + std::string(typFile) + std::string(FileClose);
    if (const std::size_t open = s.find(TypFileOpen); open != npos) {
        std::string old;
        if (!elementText(s, open, TypFileOpen, FileClose, old)) return damaged();
        replaceFirst(s, std::string(TypFileOpen) + old + std::string(FileClose), entry);
    } else {
        replaceFirst(s, "<Files>", "<Files>\n" + entry + "\n");
    }
    return changed(std::move(s));
}

XmlEdit detachTypFromInfoXml(std::string_view xml) {
    std::string s(xml);
    const std::size_t open = s.find(TypOpen);
    if (open == npos) return {XmlEdit::State::Unchanged, {}};
    std::string old;
    if (!elementText(s, open, TypOpen, TypClose, old)) return damaged();
    app::replaceAll(s, std::string(TypOpen) + old + std::string(TypClose), "");
    return changed(std::move(s));
}

XmlEdit detachTypFromInfoV2(std::string_view xml) {
    std::string s(xml);
    if (const std::size_t open = s.find(TypFileOpen); open != npos) {
        std::string old;
        if (!elementText(s, open, TypFileOpen, FileClose, old)) return damaged();
        replaceFirst(s, std::string(TypFileOpen) + old + std::string(FileClose), " ");
    }
    return changed(std::move(s));
}

}  // namespace veldra::registration
