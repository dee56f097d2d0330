#pragma once

// Small widgets the window's controls need beyond Qt's own: a button drawn in the graphical style
// with its back colour and picture, a label that can be clicked, the star frame with its lines
// and the client area.

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>

#include "window/qt_pictures.h"

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
class ClickLabel final : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
    // Fills itself with its back colour, the palette's Window colour, instead of showing its
    // container through.
    void setPaintsBack(bool paintsBack) { paintsBack_ = paintsBack; }

signals:
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

// The window's client area: controls stand at fixed places on it.
class ClientArea final : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent);
    [[nodiscard]] QSize sizeHint() const override;
};

} // namespace hexorin
