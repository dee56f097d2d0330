// Contrast of colours, for text and edges drawn on colours the program does not choose.

#include "window/color.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace hexorin {
namespace {

constexpr double kReadable = 4.5;
constexpr double kDistinct = 3.0;
constexpr Color kInkBlack = kPalette.front();
constexpr Color kInkWhite = paletteColor(PaletteIndex::White);
// Steps from the back colour towards the ink, in per cent; the softest edge that stands out wins.
constexpr std::array kEdgeSteps{40, 50, 60, 70, 80, 90};

double luminance(Color color) {
    const auto linear = [](std::uint8_t channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

Color strongestOn(Color back) {
    return contrast(kInkWhite, back) > contrast(kInkBlack, back) ? kInkWhite : kInkBlack;
}

Color mixed(Color from, Color to, int percent) {
    const auto channel = [percent](std::uint8_t one, std::uint8_t other) {
        return (one * (100 - percent) + other * percent + 50) / 100;
    };
    return rgb(channel(from.red, to.red), channel(from.green, to.green),
               channel(from.blue, to.blue));
}

} // namespace

double contrast(Color first, Color second) {
    const double one = luminance(first);
    const double other = luminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

Color legibleOn(Color back, Color text) {
    return contrast(text, back) >= kReadable ? text : strongestOn(back);
}

Color readableOn(Color back, Color text) {
    if (contrast(text, back) >= kReadable)
        return text;
    const Color target = strongestOn(back);
    for (int percent = 5; percent < 100; percent += 5)
        if (const Color shade = mixed(text, target, percent); contrast(shade, back) >= kReadable)
            return shade;
    return target;
}

Color edgeOn(Color back, Color ink) {
    const Color target = contrast(ink, back) >= kDistinct ? ink : strongestOn(back);
    for (const int percent : kEdgeSteps)
        if (const Color edge = mixed(back, target, percent); contrast(edge, back) >= kDistinct)
            return edge;
    return target;
}

} // namespace hexorin
