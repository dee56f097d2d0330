#pragma once

#include "window/platform.h"

class QWidget;

namespace hexorin {

// The platform services on Qt: message boxes parented to the main window, one turn of the event
// loop, and the end of the program.
class QtPlatform final : public Platform {
public:
    void setWindow(QWidget* window) { window_ = window; }

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void processEvents() override;
    void endProgram() override;

private:
    QWidget* window_ = nullptr;
};

} // namespace hexorin
