#pragma once

// What the window object asks of a windowing toolkit.

#include <string>

namespace hexorin {

// What the window object needs from a windowing toolkit. Tests implement it without a display.
class Platform {
public:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform() = default;
    // A modal box with an OK button, titled with the program name.
    virtual void showMessage(const std::string& text) = 0;
    // A modal box with a question icon and the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    // Runs all pending events of the window to completion; any handler may run inside.
    virtual void processEvents() = 0;
    // Ends the program at once.
    virtual void endProgram() = 0;
};

} // namespace hexorin
