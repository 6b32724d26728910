#pragma once
// The console window of outside-program runs: it shows the command line, the
// progress while the program runs, and what the program printed.

#include <string>

namespace veldra::app {

class ConsoleWindow {
public:
    virtual ~ConsoleWindow() = default;
    // Replaces the whole text.
    virtual void setText(const std::string& text) = 0;
    // Appends to the text (progress dots, the output of later runs).
    virtual void appendText(const std::string& text) = 0;
    virtual const std::string& text() const = 0;
    virtual void setVisible(bool visible) = 0;
};

// A console window that only keeps its text, for front ends that show it
// themselves at the end and for tests.
class TextConsoleWindow : public ConsoleWindow {
public:
    void setText(const std::string& text) override { text_ = text; }
    void appendText(const std::string& text) override { text_ += text; }
    const std::string& text() const override { return text_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const { return visible_; }

private:
    std::string text_;
    bool visible_ = false;
};

}  // namespace veldra::app
