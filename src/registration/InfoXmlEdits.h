#pragma once
// The text edits of a package's Info.xml and Info_v2.xml made by renaming and
// by the type-file commands. All texts are code page 1252 bytes; plain
// substring searches, as the package reader does them.

#include <string>
#include <string_view>

namespace veldra::registration {

struct XmlEdit {
    enum class State { Changed, Unchanged, Damaged } state = State::Changed;
    std::string text;  // the new file content when Changed
};

// Every occurrence of the old name inside the <Name> elements becomes the new
// name; file names in other elements stay as they are, since the files keep theirs.
std::string renameInNameElements(std::string_view xml, std::string_view oldName, std::string_view newName);

// The type element names `typFile`: <Typ>/<typ> tags become <TYP>; an existing
// element's name is replaced wherever that element recurs; without one, the
// element and LF go before the first <SubProduct>. CR LF is appended.
XmlEdit attachTypInInfoXml(std::string_view xml, std::string_view typFile);
// The <File id="TYP"> entry names `typFile`; without one, it is added after
// <Files>. CR LF is appended.
XmlEdit attachTypInInfoV2(std::string_view xml, std::string_view typFile);

// Removes the first <TYP>...</TYP> element, wherever exactly that text recurs,
// and appends CR LF; Unchanged without a <TYP>.
XmlEdit detachTypFromInfoXml(std::string_view xml);
// Replaces the first <File id="TYP">...</File> entry by one blank. CR LF is appended.
XmlEdit detachTypFromInfoV2(std::string_view xml);

}  // namespace veldra::registration
