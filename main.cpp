// The program: the one window on Qt, until it is closed or "Beenden" is chosen.

#include <QApplication>

#include "window/qt/main_window.h"
#include "window/qt/application.h"

int main(int argc, char* argv[]) {
    const auto application = hexorin::startApplication(argc, argv);
    hexorin::MainWindow window;
    window.show();
    return QApplication::exec();
}
