// Writes the program's icon as SVG, for the desktop's menus: hexorin_icon_svg <file>.

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "window/icon.h"

namespace {

constexpr double kSize = 64;

std::string hex(hexorin::Color color) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%02x%02x%02x", color.red, color.green, color.blue);
    return text.data();
}

std::string number(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.3f", value * kSize);
    return text.data();
}

std::string svg() {
    using namespace hexorin::icon;
    std::string out = R"(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" )"
                      R"(viewBox="0 0 64 64">)"
                      "\n  <title>Hexorin</title>\n";
    out += "  <circle cx=\"32\" cy=\"32\" r=\"" + number(0.5 - kRimWidth / 2) + "\" fill=\"" +
           hex(kDisc) + "\" stroke=\"" + hex(kRim) + "\" stroke-width=\"" + number(kRimWidth) +
           "\"/>\n";
    for (const UnitRect& bar : kCrossBars)
        out += "  <rect x=\"" + number(bar.left) + "\" y=\"" + number(bar.top) + "\" width=\"" +
               number(bar.width) + "\" height=\"" + number(bar.height) + "\" fill=\"" +
               hex(kCross) + "\"/>\n";
    return out + "</svg>\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: hexorin_icon_svg <file>\n", stderr);
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary);
    file << svg();
    return file.good() ? 0 : 1;
}
