#include "tasks/SettingsTask.h"

#include "app/RegistryEdit.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {

Status storeSettings(app::Session& session, const SettingsRequest& request, const std::string& languageOverride) {
    if (auto readable = registryReadable(session); !readable) return readable;
    if (request.language && *request.language != "Deu" && *request.language != "Eng")
        return fail(Msg::MsgLanguageUnknown, *request.language);
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    if (request.language)
        if (auto stored = session.settings.setLanguage(*request.language); !stored) return stored;
    if (request.os64)
        if (auto stored = session.settings.setWow64(*request.os64); !stored) return stored;
    if (auto committed = edit->commit(); !committed) return committed;
    (void)session.start(languageOverride);
    return {};
}

Status storeOs64Answer(app::Session& session, bool os64) {
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    if (auto stored = session.settings.setWow64(os64); !stored) return stored;
    return edit->commit();
}

}  // namespace veldra::tasks
