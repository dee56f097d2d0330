#pragma once

// The Qt application set up for the window.

class QApplication;

namespace hexorin {

// Sets up the application the window runs in: the Fusion style with its light palette, on which
// the window's colours were chosen, and German texts in Qt's own dialogs and menus.
void prepareApplication(QApplication& application);

} // namespace hexorin
