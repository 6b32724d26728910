#include "integration/IntegrationJob.h"

#include <algorithm>

namespace veldra::integration {

std::string underscored(std::string_view mapsetName) {
    std::string name(mapsetName);
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

std::string fileBaseName(std::string_view mapsetName) {
    return (underscored(mapsetName) + "ooooooo").substr(0, 8);
}

}  // namespace veldra::integration
