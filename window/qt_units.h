#pragma once

// Conversions from the layout's units and colours to Qt's.

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

inline QRect pixels(const layout::Rect& rect) {
    return {pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height)};
}

inline QColor toQColor(Color color) {
    return {color.red, color.green, color.blue};
}

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace hexorin
