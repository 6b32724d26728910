#pragma once
// Registering a mapset that brings its TDB and overview map along, by
// registry keys or as a gmap package, under an FID no installed mapset uses.

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"
#include "existing/ExistingRegistration.h"

namespace veldra::tasks {

struct RegisterExistingRequest {
    existing::ExistingMapset mapset;  // empty name, FID or PID: taken from the TDB
    existing::ExistingInstall install = existing::ExistingInstall::Registry;
};

// `progress` counts the tiles unpacked into a gmap package.
Result<existing::RegisteredMapset> registerExisting(app::Session& session, const RegisterExistingRequest& request,
                                                    const Progress& progress = {});

}  // namespace veldra::tasks
