#pragma once

// Colours and the sixteen-colour palette the program picks its colours from.

#include <array>
#include <cstdint>

namespace hexorin {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Color, Color) = default;
};

constexpr Color rgb(int red, int green, int blue) {
    return {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
            static_cast<std::uint8_t>(blue)};
}

// The classic sixteen-colour text-mode palette, 0 black to 15 bright white.
inline constexpr std::array<Color, 16> kPalette{
    rgb(0, 0, 0),       rgb(0, 0, 128),   rgb(0, 128, 0),   rgb(0, 128, 128),
    rgb(128, 0, 0),     rgb(128, 0, 128), rgb(128, 128, 0), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
    rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255)};

// Palette indices the program uses.
enum class PaletteIndex : std::uint8_t { DarkBlue = 1, Blue = 9, Red = 12, White = 15 };

constexpr Color paletteColor(PaletteIndex index) {
    return kPalette[static_cast<std::size_t>(index)];
}

// Contrast ratio of two colours as the WCAG define it, from 1 (alike) to 21 (black and white).
double contrast(Color first, Color second);

// `text` where it can be read on `back` (4.5:1), else black or white, whichever reads better.
Color legibleOn(Color back, Color text);

// `text` where it reads on `back` (4.5:1), else the colour nearest it on the way to black or white
// that does: a grey stays a grey, a red a red.
Color readableOn(Color back, Color text);

// An edge that stands out from `back` (3:1) whatever colours a desktop gives: the colour nearest
// `back` on the way to `ink`, or to black or white where `ink` itself stands out too little.
Color edgeOn(Color back, Color ink);

} // namespace hexorin
