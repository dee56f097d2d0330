#pragma once

// Small widgets the window's controls need beyond Qt's own: a button drawn in the graphical style
// with its back colour and picture, a label that can be clicked, the star frame with its lines,
// the program's style and the client area.

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>

#include "window/color.h"
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

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// A check box that a click anywhere in its box toggles, not only one over its tick or caption.
class WholeCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    [[nodiscard]] bool hitButton(const QPoint& at) const override;
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

// The program's one style: Fusion, whatever style the desktop asks for, with what the window's
// fixed layout needs of it. Fusion shades a check box and a scroll bar's thumb from the colours
// around them; on a dark desktop they all but vanish, so they get edges that stand out.
class WindowStyle final : public QProxyStyle {
    Q_OBJECT

public:
    WindowStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

// Property changes that Qt would carry out even when nothing changes.
void setColor(QWidget* widget, QPalette::ColorRole role, Color color);
void moveLeft(QWidget* widget, int twips);
void showIf(QWidget* widget, bool visible);

// The window's client area: controls stand at fixed places on it.
class ClientArea final : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent);
    [[nodiscard]] QSize sizeHint() const override;
};

// Shows the client area whole where the window has room for it; on a smaller screen the part that
// fits, scrolled to the control that takes the focus.
class ClientView final : public QScrollArea {
    Q_OBJECT

public:
    ClientView(ClientArea* client, QWidget* parent);
    [[nodiscard]] QSize sizeHint() const override;
    // The wheel over the client area scrolls the view; the controls stop the wheel on its way up.
    void takeWheels();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace hexorin
