#include <QApplication>

#include "window/main_window.h"
#include "window/qt_application.h"

int main(int argc, char* argv[]) {
    hexorin::prepareEnvironment();
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    hexorin::MainWindow window;
    window.show();
    return QApplication::exec();
}
