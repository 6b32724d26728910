#pragma once
// The administrator question of the desktop program's start-up.

#include "app/Session.h"

namespace veldra::tasks {

// On the Windows versions where registry installations need administrator
// rights and the user has none, asks `MsgNoAdminRights`; true when the user
// answers Yes, which ends the program.
bool userEndsForMissingAdminRights(app::Session& session);

}  // namespace veldra::tasks
