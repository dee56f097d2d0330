#pragma once

// The platform services on Qt.

#include <functional>

#include <QTimer>

#include "window/platform.h"

class QWidget;

namespace hexorin {

// The platform services on Qt: message boxes parented to the main window, one turn of the event
// loop, and the end of the program. The view catches up with the controls at most once per
// display frame while the search turns the event loop, and always before a box opens.
class QtPlatform final : public Platform {
public:
    QtPlatform();

    void setView(QWidget* window, std::function<void()> sync);
    // Called at the end of every processEvents().
    void setTurnObserver(std::function<void()> observer);

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void processEvents() override;
    void endProgram() override;

private:
    void syncView();

    QWidget* window_ = nullptr;
    std::function<void()> sync_;
    std::function<void()> turnObserver_;
    // Runs for one frame after each catch-up; the search's turns of the event loop fire it, so a
    // pass needs no clock of its own.
    QTimer frameTimer_;
    bool frameDue_ = true;
};

} // namespace hexorin
