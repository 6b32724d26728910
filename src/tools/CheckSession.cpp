#include "tools/CheckSession.h"

namespace veldra::tools {

app::MessageAnswer QuietDialogs::show(const app::MessageBox& box) {
    messages.push_back(box.text);
    if (box.buttons == app::MessageButtons::YesNo || box.buttons == app::MessageButtons::YesNoCancel)
        return answerYes_ ? app::MessageAnswer::Yes : app::MessageAnswer::No;
    return box.buttons == app::MessageButtons::OkCancel && !answerYes_ ? app::MessageAnswer::Cancel
                                                                        : app::MessageAnswer::Ok;
}

QuietSession::QuietSession(const app::Session& from, bool answerYes)
    : dialogs(answerYes), session(from.host, dialogs) {
    session.catalog = from.catalog;
    session.hostRegistryRoot = from.hostRegistryRoot;
    session.os64 = from.os64;
    session.userName = from.userName;
}

}  // namespace veldra::tools
