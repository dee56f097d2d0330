#pragma once

// The program's one style.

#include <QProxyStyle>

namespace hexorin {

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

} // namespace hexorin
