#pragma once
// The names a package takes from an existing mapset's name field.

#include <string>
#include <string_view>

namespace veldra::gmap {

// Blank, "/" and "\" become "_"; the accented forms of A, O and U (either
// case) become the capital letter. Everything else stays: the folder name.
std::string cleanedMapsetName(std::string_view name);

// Every character beyond ASCII becomes "?": the name Info.xml shows.
std::string asciiWithQuestionMarks(std::string_view name);

}  // namespace veldra::gmap
