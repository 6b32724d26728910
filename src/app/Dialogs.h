#pragma once
// How the core speaks to the user. The desktop program shows real windows, the
// command line prints and asks at the terminal, tests script the answers.

#include <optional>
#include <string>

namespace veldra::app {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

inline constexpr const char* DefaultTitle = "VELDRA";

struct MessageBox {
    std::string text;
    std::string title = DefaultTitle;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer show(const MessageBox& box) = 0;
    // A folder chosen by the user, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) = 0;
    // A file chosen by the user (filter like "TYP files|*.typ"), or nothing when cancelled.
    virtual std::optional<std::string> chooseFile(const std::string& title, const std::string& filter,
                                                  const std::string& start) = 0;
    // The status line of the main window.
    virtual void status(const std::string& text) = 0;
    virtual void busy(bool on) = 0;
    // Lets pending window events run between the items of a long step.
    virtual void processEvents() {}
    // The end of a step: the status line's text, then the box the user
    // confirms. Where both land in one stream, the box alone says it.
    virtual void finishStep(const std::string& statusText, const std::string& boxText) {
        status(statusText);
        inform(boxText);
    }

    // A plain message with an OK button.
    void inform(const std::string& text, const std::string& title = DefaultTitle,
                MessageIcon icon = MessageIcon::None) {
        show({text, title, icon, MessageButtons::Ok});
    }
    // A yes/no question; true for Yes.
    bool ask(const std::string& text, const std::string& title = DefaultTitle,
             MessageIcon icon = MessageIcon::Question) {
        return show({text, title, icon, MessageButtons::YesNo}) == MessageAnswer::Yes;
    }
};

}  // namespace veldra::app
