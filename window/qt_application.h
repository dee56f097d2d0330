#pragma once

class QApplication;

namespace hexorin {

// Settles what Qt reads from the environment when the application object is created, so it runs
// before that. Leaves alone whatever the user has set.
void prepareEnvironment();

// Sets up the application the window runs in: the Fusion style with its light palette, on which
// the window's colours were chosen, and German texts in Qt's own dialogs and menus.
void prepareApplication(QApplication& application);

} // namespace hexorin
