#pragma once

#include <QMainWindow>

#include "window/form1.h"
#include "window/qt_platform.h"

namespace hexorin {

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    Form1& form() { return form_; }

private:
    QtPlatform platform_;
    Form1 form_{platform_};
};

} // namespace hexorin
