#pragma once
// The catalog reading asks and tells the user things (the repair of a
// misplaced layout, a damaged Info.xml); the check reads it through a copy of
// the session that answers every question alike and keeps the messages.

#include <string>
#include <vector>

#include "app/Session.h"

namespace veldra::tools {

class QuietDialogs : public app::Dialogs {
public:
    explicit QuietDialogs(bool answerYes) : answerYes_(answerYes) {}

    std::vector<std::string> messages;  // every text shown, questions included

    app::MessageAnswer show(const app::MessageBox& box) override;
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void status(const std::string&) override {}
    void busy(bool) override {}

private:
    bool answerYes_;
};

struct QuietSession {
    QuietSession(const app::Session& from, bool answerYes);

    QuietDialogs dialogs;
    app::Session session;
};

}  // namespace veldra::tools
