// Renders the window without a display and saves it as a PNG.
//   hexorin_screenshot OUTPUT.png [--solution]
// With --solution the window runs to its first solution first, as a user would get there:
// untick "Einzelschritt", press Start.

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <QPushButton>

#include "window/main_window.h"
#include "window/qt_application.h"

int main(int argc, char* argv[]) {
    if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--solution") != 0) || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [--solution]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    hexorin::MainWindow window;
    window.show();
    QApplication::processEvents();
    if (argc == 3) {
        window.findChild<QCheckBox*>(QStringLiteral("Check2"))->click();
        window.findChild<QPushButton*>(QStringLiteral("cmdSucher"))->click();
        QApplication::processEvents();
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    if (!window.grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
