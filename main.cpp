#include <QApplication>

#include "window/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    hexorin::MainWindow window;
    window.show();
    return QApplication::exec();
}
