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

unsigned long fidValue(std::string_view fidText) {
    std::size_t i = 0;
    while (i < fidText.size() && fidText[i] == ' ') ++i;
    unsigned long value = 0;
    for (; i < fidText.size() && fidText[i] >= '0' && fidText[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned long>(fidText[i] - '0');
        if (value > 0xFFFFFFFFul) break;
    }
    return value;
}

}  // namespace veldra::integration
