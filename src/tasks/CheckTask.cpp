#include "tasks/CheckTask.h"

#include "app/FailureText.h"
#include "tasks/TaskChecks.h"
#include "tools/CheckInstalledMapsets.h"
#include "tools/CheckRepair.h"

namespace veldra::tasks {

Result<CheckResult> checkInstalledMapsets(app::Session& session, const CheckRequest& request) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    CheckResult result;
    result.findings = tools::inspectInstalledMapsets(session);
    if (!request.fix) return result;
    auto repaired = tools::repairFindings(session, result.findings);
    if (!repaired) {
        const Failure& cause = repaired.failure();
        if (cause.kind != FailureKind::Error) return cause;
        return fail(Msg::MsgCheckNothingRepaired, app::describeFailure(cause, session.catalog));
    }
    result.repaired = std::move(repaired).value();
    // Read again, so that what is reported is what the host programs see now.
    if (!result.repaired.empty()) result.findings = tools::inspectInstalledMapsets(session);
    return result;
}

}  // namespace veldra::tasks
