#pragma once
// How a core operation ended, in the three ways tests tell apart.

#include <ostream>

#include "core/Result.h"

namespace veldra::testing {

enum class Outcome { Done, Declined, Failed };

inline Outcome outcomeOf(const Status& status) {
    if (status) return Outcome::Done;
    return status.failure().kind == FailureKind::Declined ? Outcome::Declined : Outcome::Failed;
}

inline std::ostream& operator<<(std::ostream& out, Outcome outcome) {
    return out << (outcome == Outcome::Done ? "Done" : outcome == Outcome::Declined ? "Declined" : "Failed");
}

}  // namespace veldra::testing
