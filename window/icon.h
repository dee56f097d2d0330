#pragma once

// The program's icon, drawn by the window and written out by the build as the desktop's SVG icon:
// a blue disc with a dark blue rim and a white cross, in a unit square.

#include <array>

#include "window/color.h"

namespace hexorin::icon {

inline constexpr Color kDisc = paletteColor(PaletteIndex::Blue);
inline constexpr Color kRim = paletteColor(PaletteIndex::DarkBlue);
inline constexpr Color kCross = paletteColor(PaletteIndex::White);
// Of the icon's width; the window keeps it at a pixel or more.
inline constexpr double kRimWidth = 1.0 / 24;

struct UnitRect {
    double left;
    double top;
    double width;
    double height;
};
// The cross is the union of its two bars.
inline constexpr std::array<UnitRect, 2> kCrossBars{{{0.2, 0.4, 0.6, 0.2}, {0.4, 0.2, 0.2, 0.6}}};

} // namespace hexorin::icon
