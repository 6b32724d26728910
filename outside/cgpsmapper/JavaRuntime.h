#pragma once
// Finding the Java runtime that runs mkgmap.jar: $JAVA_HOME/bin first, then
// the folders of $PATH.

#include <filesystem>

namespace veldra::outside {

// Empty when there is none.
std::filesystem::path findJava();

}  // namespace veldra::outside
