#pragma once
// A failure in the user's language: the catalog entry it names, then its detail.

#include <string>

#include "app/MessageCatalog.h"
#include "core/Result.h"

namespace veldra::app {

std::string describeFailure(const Failure& failure, const MessageCatalog& catalog);

}  // namespace veldra::app
