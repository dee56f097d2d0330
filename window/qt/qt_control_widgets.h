#pragma once

// Small widgets the window's controls need beyond Qt's own: a button drawn in the graphical style
// with its back colour and picture, a label that can be clicked, the star frame with its lines,
// the styles some of them are drawn in and the client area.

#include <array>
#include <vector>

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionFrame>

#include "window/qt/qt_pictures.h"

namespace hexorin {

// Back colour is the palette's Button colour; the caption stands under the picture.
class PictureButton final : public QPushButton {
    Q_OBJECT

public:
    PictureButton(Picture picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Picture picture_;
};

// Clicked when the left button is pressed and released over it. The second press of a double
// click is not a click.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
    // Fills itself with its back colour, the palette's Window colour, instead of showing its
    // container through.
    void setPaintsBack(bool paintsBack) { paintsBack_ = paintsBack; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    bool paintsBack_ = false;
};

// The solution list: plain text in, whatever way it comes.
class SolutionList final : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

// Frame3: frame grey, with the star's lines drawn beneath the boxes it holds.
class StarFrame final : public QFrame {
    Q_OBJECT

public:
    explicit StarFrame(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static void drawLines(QPainter& painter);

    QPixmap lines_;
};

// Check boxes with a classic 13-pixel box and the caption closer to it: the captions are wider in
// Liberation Sans than in the font the layout was drawn with, and would lose their last letter.
class CompactCheckBoxStyle final : public QProxyStyle {
    Q_OBJECT

public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

// The solution list's scroll bar: Fusion's shortest thumb is longer than the track of a list
// three lines high, so it would fill the track and could be neither seen moving nor dragged.
class ShortThumbStyle final : public QProxyStyle {
    Q_OBJECT

public:
    explicit ShortThumbStyle(const QString& baseStyle);
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

// Menu bar entries that run at once have no drop-down to open, and Fusion highlights only an
// entry whose drop-down is open: this one highlights the entry under the pointer or chosen after
// Alt as well.
class MenuBarStyle final : public QProxyStyle {
    Q_OBJECT

public:
    explicit MenuBarStyle(const QString& baseStyle);
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

// The text boxes' frames. Fusion strokes each frame antialiased, and in every frame of a running
// search some forty boxes repaint: each look of a frame is drawn once and then copied. Only
// Fusion's frames are kept (they depend on the option alone, never on an animation); at a
// fractional scale, or under a painter that scales, they are drawn each time.
class CachedFrameStyle final : public QProxyStyle {
    Q_OBJECT

public:
    explicit CachedFrameStyle(const QString& baseStyle);
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    struct Look {
        QSize size;
        int scale = 1;
        int state = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        int features = 0;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        std::array<QRgb, QPalette::NColorRoles> colors{};
        bool operator==(const Look&) const = default;
    };
    struct Frame {
        Look look;
        QPixmap pixmap;
    };

    const QPixmap& frameFor(const QStyleOptionFrame& option, int scale,
                            const QWidget* widget) const;

    bool caches_;
    mutable std::vector<Frame> frames_;
};

// The window's client area: controls stand at fixed places on it.
class ClientArea final : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent);
    [[nodiscard]] QSize sizeHint() const override;
};

} // namespace hexorin
