#include "tasks/TaskChecks.h"

namespace veldra::tasks {

Status registryReadable(const app::Session& session) {
    if (auto problem = session.host.registry.readProblem()) return fail(*problem);
    return {};
}

}  // namespace veldra::tasks
