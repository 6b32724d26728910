#pragma once
#include <vector>

#include "core/MessageIds.h"

namespace veldra::app {

struct MessageText {
    Msg id;
    const char* english;
    const char* german;  // nullptr: not assigned by the German branch
};

const std::vector<MessageText>& messageTexts();

}  // namespace veldra::app
