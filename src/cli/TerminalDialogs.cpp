#include "cli/TerminalDialogs.h"

#include <iostream>
#include <string>

#include "platform/Terminal.h"

namespace veldra::cli {

TerminalDialogs::TerminalDialogs(AnswerPolicy policy, std::istream& in, std::ostream& messages)
    : policy_(policy), in_(in), messages_(messages) {}

app::MessageAnswer TerminalDialogs::show(const app::MessageBox& box) {
    using app::MessageAnswer;
    using app::MessageButtons;
    if (box.buttons == MessageButtons::Ok) {
        // A box that repeats the status just printed adds nothing at the terminal.
        if (box.text != lastStatus_) messages_ << box.text << '\n';
        return MessageAnswer::Ok;
    }
    const bool yes = answerYes(box);
    if (box.buttons == MessageButtons::OkCancel) return yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
}

bool TerminalDialogs::answerYes(const app::MessageBox& box) {
    if (policy_ != AnswerPolicy::Ask) {
        const bool yes = policy_ == AnswerPolicy::AlwaysYes;
        messages_ << box.text << " -> " << (yes ? texts_.yes : texts_.no) << '\n';
        return yes;
    }
    if (!platform::standardInputIsTerminal())
        throw UnansweredQuestion(box.text + "\n" + texts_.hint);
    for (;;) {
        messages_ << box.text << texts_.prompt << std::flush;
        std::string line;
        if (!std::getline(in_, line)) throw UnansweredQuestion(box.text);
        if (line == "y" || line == "Y" || line == "j" || line == "J" || line == "yes" || line == "ja") return true;
        if (line == "n" || line == "N" || line == "no" || line == "nein") return false;
    }
}

// Folders and files are named on the command line; nothing is chosen interactively.
std::optional<std::string> TerminalDialogs::chooseFolder(const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> TerminalDialogs::chooseFile(const std::string&, const std::string&, const std::string&) {
    return std::nullopt;
}

// The status field shows each step's text again (one "started" per outside
// program); the terminal prints each text once.
void TerminalDialogs::status(const std::string& text) {
    if (text.empty() || !statusesShown_.insert(text).second) return;
    messages_ << text << '\n';
    lastStatus_ = text;
}

void TerminalDialogs::finishStep(const std::string&, const std::string& boxText) { inform(boxText); }

}  // namespace veldra::cli
