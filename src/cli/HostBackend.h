#pragma once
// Which registry and folders the command works on.

#include <memory>
#include <string>

#include "platform/Registry.h"

namespace veldra::cli {

std::unique_ptr<platform::Registry> openHostRegistry(const std::string& prefixOption);

}  // namespace veldra::cli
