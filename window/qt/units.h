#pragma once

// Conversions from the layout's units and colours to Qt's, and from a control to the object name
// of its widget.

#include <string_view>

#include <QColor>
#include <QRect>
#include <QString>

#include "window/color.h"
#include "window/layout.h"

namespace hexorin {

// Twips to device-independent pixels; Qt scales those for the screen.
constexpr int pixels(int twips) {
    return (twips + layout::kTwipsPerPixel / 2) / layout::kTwipsPerPixel;
}

inline QRect pixels(layout::Rect rect) {
    return {pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height)};
}

inline QColor toQColor(Color color) {
    return {color.red, color.green, color.blue};
}

inline Color fromQColor(const QColor& color) {
    return rgb(color.red(), color.green(), color.blue());
}

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The object name of a control's widget: "Text2", or "txtFeld(3)" for an element of a control
// array. Tests find the widgets by these names.
inline QString controlName(std::string_view control, int index = kNoIndex) {
    if (index == kNoIndex)
        return toQString(control);
    return QStringLiteral("%1(%2)").arg(toQString(control)).arg(index);
}

inline QString widgetName(ControlId control, int index = kNoIndex) {
    return controlName(hexorin::controlName(control), index);
}

} // namespace hexorin
