#pragma once
// Test double of the Dialogs port: records every message box and answers
// questions from a queue (a question without one fails the test); no file is chosen.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Dialogs.h"

namespace veldra::testing {

class ScriptedDialogs : public app::Dialogs {
public:
    std::vector<app::MessageBox> messages;
    std::deque<app::MessageAnswer> answers;
    std::vector<std::string> statusTexts;

    app::MessageAnswer show(const app::MessageBox& box) override {
        messages.push_back(box);
        if (box.buttons == app::MessageButtons::Ok) return app::MessageAnswer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << box.text;
            return app::MessageAnswer::No;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void status(const std::string& text) override { statusTexts.push_back(text); }
    void busy(bool) override {}

    void answer(std::initializer_list<app::MessageAnswer> list) { answers.insert(answers.end(), list); }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }
};

}  // namespace veldra::testing
