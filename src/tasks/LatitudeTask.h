#pragma once
// The projection latitude window's tasks for one map product: show the
// stored latitude, store one, leave it to the host program, or propose one
// from the area the mapset covers.

#include <optional>
#include <string>

#include "app/Session.h"
#include "core/Result.h"
#include "tasks/MapsetChoice.h"
#include "tools/ProjectionLatitude.h"

namespace veldra::tasks {

// The product: an FID and a PID as the user typed them, or an installed
// mapset (which gives both).
struct LatitudeTarget {
    std::string fid;
    std::string pid;
    std::optional<MapsetChoice> mapset;
};

// What the latitude field shows: the stored value followed by "°", or that none is stored.
Result<std::string> showLatitude(app::Session& session, const LatitudeTarget& target);

// Stores the typed latitude; a text that is no number asks whether the host
// program shall choose it, and on yes removes the setting. Gives what the
// latitude field shows afterwards.
Result<std::string> setLatitude(app::Session& session, const LatitudeTarget& target, const std::string& typed);

// Removes the setting without asking: the user chose the automatic latitude by
// name. Gives what the latitude field shows afterwards.
Result<std::string> setAutomaticLatitude(app::Session& session, const LatitudeTarget& target);

// The middle latitude of the area the mapset's tiles cover, held to 5..85;
// with an FID and a PID, of the installed mapset of that product.
Result<int> suggestLatitude(app::Session& session, const LatitudeTarget& target);

// Proposes that latitude and stores it when the user agrees. Gives what the
// latitude field shows afterwards.
Result<std::string> setSuggestedLatitude(app::Session& session, const LatitudeTarget& target);

}  // namespace veldra::tasks
