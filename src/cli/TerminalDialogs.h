#pragma once
// The Dialogs port at the terminal: messages are printed, questions are
// answered by --yes/--no or typed in; without either a question is an error.

#include <iosfwd>
#include <stdexcept>
#include <string>

#include "app/Dialogs.h"

namespace veldra::cli {

enum class AnswerPolicy { Ask, AlwaysYes, AlwaysNo };

// Thrown when a question needs an answer and nobody can give it.
class UnansweredQuestion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TerminalDialogs : public app::Dialogs {
public:
    TerminalDialogs(AnswerPolicy policy, std::istream& in, std::ostream& messages);

    app::MessageAnswer show(const app::MessageBox& box) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::string> chooseFile(const std::string& title, const std::string& filter,
                                          const std::string& start) override;
    void status(const std::string& text) override;
    void busy(bool) override {}

    // What a question without a terminal and without --yes/--no adds, in the
    // user's language once it is known.
    void setAnswerHint(std::string hint) { answerHint_ = std::move(hint); }

private:
    bool answerYes(const app::MessageBox& box);

    AnswerPolicy policy_;
    std::istream& in_;
    std::ostream& messages_;
    std::string answerHint_ = "(answer with --yes or --no)";
};

}  // namespace veldra::cli
