#include "window/qt_platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "window/layout.h"

namespace hexorin {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtPlatform::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf8(layout::kProgramName.data(),
                                      static_cast<qsizetype>(layout::kProgramName.size())),
                    fromUtf8(text), QMessageBox::Ok, window_);
    box.exec();
}

bool QtPlatform::askYesNo(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, fromUtf8(title), fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, window_);
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::processEvents() {
    QCoreApplication::processEvents();
}

void QtPlatform::endProgram() {
    if (window_ != nullptr)
        window_->hide();
    QCoreApplication::exit(0);
}

} // namespace hexorin
