// Renders the window without a display and saves it as a PNG, or puts such pictures side by side.
//   hexorin_screenshot OUTPUT.png [--solution] [--font POINTS]
//   hexorin_screenshot --side-by-side OUTPUT.png CAPTION IMAGE.png [CAPTION IMAGE.png]...
// With --solution the window runs to its first solution first, as a user would get there:
// untick "Einzelschritt", press Start. --font gives the application a larger default font, as a
// desktop set to larger text does. The scale comes from QT_SCALE_FACTOR; the PNG has the pixels
// of the scaled window.

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "window/qt/main_window.h"
#include "window/qt/application.h"

namespace {

constexpr int kMargin = 24;
constexpr int kCaptionHeight = 40;

struct WindowShot {
    QString output;
    bool solution = false;
    std::optional<double> fontPoints;
};

struct Panel {
    QString caption;
    QImage image;
};

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s OUTPUT.png [--solution] [--font POINTS]\n"
                 "       %s --side-by-side OUTPUT.png CAPTION IMAGE.png [CAPTION IMAGE.png]...\n",
                 program, program);
    return 2;
}

std::optional<WindowShot> parseWindowShot(std::span<char*> args) {
    WindowShot shot;
    shot.output = QString::fromLocal8Bit(args[0]);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--solution") {
            shot.solution = true;
        } else if (arg == "--font" && i + 1 < args.size()) {
            bool number = false;
            shot.fontPoints = QString::fromLocal8Bit(args[++i]).toDouble(&number);
            if (!number || *shot.fontPoints <= 0)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return shot;
}

bool save(const QImage& image, const QString& output) {
    if (image.save(output))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
    return false;
}

int renderWindow(const WindowShot& shot) {
    if (shot.fontPoints) {
        QFont font = QApplication::font();
        font.setPointSizeF(*shot.fontPoints);
        QApplication::setFont(font);
    }
    hexorin::MainWindow window;
    window.show();
    window.resize(window.sizeHint()); // whole, even where the screen is smaller
    QApplication::processEvents();
    if (shot.solution) {
        window.findChild<QCheckBox*>(QStringLiteral("Check2"))->click();
        window.findChild<QPushButton*>(QStringLiteral("cmdSucher"))->click();
        QApplication::processEvents();
    }
    return save(window.grab().toImage(), shot.output) ? 0 : 1;
}

// The pictures stand in a row at their own pixel size, tops aligned, each under its caption.
QImage sideBySide(const std::vector<Panel>& panels) {
    int width = kMargin;
    int height = 0;
    for (const Panel& panel : panels) {
        width += panel.image.width() + kMargin;
        height = std::max(height, panel.image.height());
    }
    QImage sheet(width, kMargin + kCaptionHeight + height + kMargin, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kCaptionHeight * 3 / 5);
    font.setBold(true);
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing);
    int left = kMargin;
    for (const Panel& panel : panels) {
        const QRect caption(left, kMargin, panel.image.width(), kCaptionHeight);
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop, panel.caption);
        painter.drawImage(QPoint(left, kMargin + kCaptionHeight), panel.image);
        left += panel.image.width() + kMargin;
    }
    return sheet;
}

int composeSideBySide(std::span<char*> args) {
    std::vector<Panel> panels;
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        Panel panel{QString::fromLocal8Bit(args[i]), QImage(QString::fromLocal8Bit(args[i + 1]))};
        if (panel.image.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", args[i + 1]);
            return 1;
        }
        panels.push_back(std::move(panel));
    }
    return save(sideBySide(panels), QString::fromLocal8Bit(args[0])) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::span<char*> args(argv + 1, static_cast<std::size_t>(std::max(argc - 1, 0)));
    const bool compose = !args.empty() && std::string_view(args[0]) == "--side-by-side";
    const std::optional<WindowShot> shot =
        compose || args.empty() ? std::nullopt : parseWindowShot(args);
    if (compose ? args.size() < 4 || args.size() % 2 != 0 : !shot)
        return usage(argv[0]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    return compose ? composeSideBySide(args.subspan(1)) : renderWindow(*shot);
}
