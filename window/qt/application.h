#pragma once

// The Qt application set up for the window, and the environment it starts in.

#include <memory>
#include <span>

class QApplication;
class QProcessEnvironment;
class QVersionNumber;

namespace hexorin {

// Settles, before the application object exists, what Qt reads from the environment.
void prepareEnvironment();

// Sets up the application the window runs in: the Fusion style with its light palette, on which
// the window's colours were chosen, and German texts in Qt's own dialogs and menus.
void prepareApplication(QApplication& application);

// Qt's Wayland platform before 6.8 gives GNOME a plain title bar of its own and opens the boxes
// away from the window; through XWayland GNOME draws its own and centres them. True there, unless
// the user chose a platform by QT_QPA_PLATFORM or -platform.
bool throughXWayland(const QProcessEnvironment& environment, std::span<char* const> arguments,
                     const QVersionNumber& qt);

// The program's application, prepared as above. --help and --version print their answer and end
// the program with status 0, an argument that is neither Qt's nor these with status 2. Without a
// display to open the window on, without the platform plugin asked for, or on a screen of fewer
// than 15 bits per pixel it says so in one line and ends the program with status 1.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv);

} // namespace hexorin
