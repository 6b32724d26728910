#pragma once
// What a file routine wants the user told. The routine shows nothing itself;
// its caller shows the notices in their order.

#include <optional>
#include <string>

#include "core/MessageIds.h"

namespace veldra::formats {

struct Notice {
    std::optional<Msg> message;  // the catalog entry shown first, if any
    std::string text;            // follows the entry, or is the whole message without one
    bool information = false;    // shown with the information icon

    friend bool operator==(const Notice&, const Notice&) = default;
};

}  // namespace veldra::formats
