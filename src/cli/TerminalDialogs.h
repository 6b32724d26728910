#pragma once
// The Dialogs port at the terminal: messages are printed, questions are
// answered by --yes/--no or typed in; without either a question is an error.

#include <iosfwd>
#include <set>
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
    // Status and box go to one stream: only the box is printed.
    void finishStep(const std::string& statusText, const std::string& boxText) override;

    // How questions are answered, known once the command line is parsed.
    void setPolicy(AnswerPolicy policy) { policy_ = policy; }

    // The words around a question, in the user's language.
    struct AnswerTexts {
        std::string hint;    // what a question without a terminal and without --yes/--no adds
        std::string yes;     // the answer --yes gave
        std::string no;      // the answer --no gave
        std::string prompt;  // after a question typed in at the terminal
    };
    void setAnswerTexts(AnswerTexts texts) { texts_ = std::move(texts); }

private:
    bool answerYes(const app::MessageBox& box);

    AnswerPolicy policy_;
    std::istream& in_;
    std::ostream& messages_;
    AnswerTexts texts_;
    std::set<std::string> statusesShown_;
    std::string lastStatus_;
};

}  // namespace veldra::cli
