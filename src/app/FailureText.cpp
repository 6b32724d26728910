#include "app/FailureText.h"

namespace veldra::app {

std::string describeFailure(const Failure& failure, const MessageCatalog& catalog) {
    if (!failure.message) return failure.detail;
    return catalog.text(*failure.message) + failure.detail;
}

}  // namespace veldra::app
