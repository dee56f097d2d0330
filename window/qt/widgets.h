#pragma once

// Small widgets the window's controls need beyond Qt's own: a button drawn in the graphical style
// with its back colour and picture, a check box that toggles anywhere in its box, the star frame
// with its lines, and the client area with the view that scrolls it on a small screen.

#include <QCheckBox>
#include <QFrame>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>

#include "window/color.h"
#include "window/qt/pictures.h"

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
