#pragma once

// The platform services on Qt.

#include <functional>

#include "window/platform.h"

class QWidget;

namespace hexorin {

class ViewMirror;

// Gives the memory the allocator holds free back to the system, after a large release.
void returnFreedMemory();

// The platform services on Qt: message boxes parented to the main window, one turn of the event
// loop, and the end of the program. The view catches up with the controls at most once per
// display frame while the search turns the event loop, and always before a box opens.
class QtPlatform final : public Platform {
public:
    explicit QtPlatform(ViewMirror& mirror)
        : mirror_(mirror) {}

    void setWindow(QWidget* window) { window_ = window; }
    // Called at the end of every processEvents().
    void setTurnObserver(std::function<void()> observer);

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void processEvents() override;
    void endProgram() override;

private:
    ViewMirror& mirror_;
    QWidget* window_ = nullptr;
    std::function<void()> turnObserver_;
};

} // namespace hexorin
