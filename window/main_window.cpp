#include "window/main_window.h"

#include "window/layout.h"

namespace hexorin {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    platform_.setWindow(this);
    setWindowTitle(QString::fromUtf8(layout::kProgramName.data(),
                                     static_cast<qsizetype>(layout::kProgramName.size())));
    form_.Form_Load();
}

} // namespace hexorin
