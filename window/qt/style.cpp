// The program's one style: Fusion, with the check boxes, the menu bar and the list's scroll bar as
// the window's fixed layout needs them.

#include "window/qt/style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include "window/color.h"
#include "window/qt/units.h"

namespace hexorin {

WindowStyle::WindowStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
    // The check boxes' captions are wider in Liberation Sans than in the font the layout was drawn
    // with, and would lose their last letter: a classic 13-pixel box, the caption closer to it.
    case PM_CheckBoxLabelSpacing:
        return 2;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return 13; // Check2 is only 13 pixels high
    // Fusion's shortest thumb is longer than the track of the list's scroll bar, three lines high:
    // it would fill the track and could be neither seen moving nor dragged.
    case PM_ScrollBarSliderMin:
        return 8; // of a 21-pixel track, 13 pixels to move in
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element != PE_IndicatorCheckBox)
        return;
    const QPalette& palette = option->palette;
    const Color edge = edgeOn(fromQColor(palette.color(QPalette::Window)),
                              fromQColor(palette.color(QPalette::WindowText)));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(toQColor(edge));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

// Menu bar entries that run at once have no drop-down to open, and Fusion highlights only an
// entry whose drop-down is open: this highlights the entry under the pointer or chosen after Alt.
void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    if (element == CE_MenuBarItem && (option->state & State_Selected)) {
        if (const auto* const item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QStyleOptionMenuItem open = *item;
            open.state |= State_Sunken;
            QProxyStyle::drawControl(element, &open, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

// The scroll bar's track is plain, its thumb a solid block that stands out from it.
void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar)
        return;
    const QPalette& palette = option->palette;
    const QColor track = palette.color(QPalette::Button);
    painter->fillRect(subControlRect(control, option, SC_ScrollBarGroove, widget), track);
    const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget);
    if (option->state & State_Enabled && !thumb.isEmpty())
        painter->fillRect(
            thumb.adjusted(1, 1, -1, -1),
            toQColor(edgeOn(fromQColor(track), fromQColor(palette.color(QPalette::ButtonText)))));
}

} // namespace hexorin
