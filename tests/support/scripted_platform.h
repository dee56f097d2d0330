#pragma once

// A platform without a display, scripted by the tests.

#include <functional>
#include <string>
#include <vector>

#include "window/platform.h"

namespace hexorin::testing {

// A platform without a display. It counts passes (every pass of the search turns the event loop
// exactly once), records the boxes it was asked to show and lets a test act as the user at any
// given pass.
class ScriptedPlatform final : public Platform {
public:
    struct Question {
        std::string text;
        std::string title;
    };

    void showMessage(const std::string& text) override { messages.push_back(text); }

    bool askYesNo(const std::string& text, const std::string& title) override {
        questions.push_back({text, title});
        return answerYes;
    }

    void processEvents() override {
        ++passes;
        if (onPass)
            onPass(passes);
    }

    void endProgram() override { ++endRequests; }

    long long passes = 0;
    std::function<void(long long pass)> onPass;
    std::vector<std::string> messages;
    std::vector<Question> questions;
    bool answerYes = true;
    int endRequests = 0;
};

} // namespace hexorin::testing
