#pragma once

// Where every control of the window stands and how it looks when the window is created. All
// positions and sizes are in twips (15 twips are one pixel at 96 dots per inch), relative to the
// control's container.

#include <algorithm>
#include <array>
#include <string_view>

#include "window/color.h"
#include "window/control_id.h"
#include "window/grid_index.h"

namespace hexorin::layout {

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(Rect, Rect) = default;
};

struct Font {
    double points = 0; // 0: the window's default font
    bool bold = false;
};

inline constexpr std::string_view kProgramName = "Hexorin";
inline constexpr int kClientWidth = 9105;
inline constexpr int kClientHeight = 7710;
inline constexpr int kTwipsPerPixel = 15;
// The window's default font, used by every control without a font of its own.
inline constexpr Font kWindowFont{8.25, false};

inline constexpr Color kFrameGrey = rgb(192, 192, 192);
inline constexpr Color kLabelGrey = rgb(128, 128, 128);
inline constexpr Color kPaleYellow = rgb(255, 255, 192);
inline constexpr Color kPaleGrey = rgb(224, 224, 224);
inline constexpr Color kSumRed = rgb(192, 0, 0);
inline constexpr Color kForbidAllBlue = rgb(0, 0, 192);
inline constexpr Color kWhite = rgb(255, 255, 255);
inline constexpr Color kBlack = rgb(0, 0, 0);
inline constexpr Color kBlue = rgb(0, 0, 255);

// The window on a screen with less free room than it wants (both in pixels, frame included): as
// much as fits, with room for a scroll bar (`bar` thick) across each side that had to be cut.
struct Extent {
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(Extent, Extent) = default;
};
constexpr Extent fitted(Extent wanted, Extent room, int bar) {
    const bool cutHeight = wanted.height > room.height;
    const bool cutWidth = wanted.width + (cutHeight ? bar : 0) > room.width;
    // A horizontal bar can take the last of the height.
    const bool scrollsDown = cutHeight || wanted.height + (cutWidth ? bar : 0) > room.height;
    return {std::min(wanted.width + (scrollsDown ? bar : 0), room.width),
            std::min(wanted.height + (cutWidth ? bar : 0), room.height)};
}

// A window frame's thickness on each side, title bar included, in pixels.
struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where the client area goes (in pixels) so that the whole frame, fitted as above, stands inside
// the screen's free room: where the frame, its top-left corner at `at`, would reach beyond the
// room, it moves in.
constexpr Rect framedFit(Extent client, Margins frame, Rect room, Point at, int bar) {
    const int across = frame.left + frame.right;
    const int down = frame.top + frame.bottom;
    const Extent outer =
        fitted({client.width + across, client.height + down}, {room.width, room.height}, bar);
    const int x = std::clamp(at.x, room.left, room.left + room.width - outer.width);
    const int y = std::clamp(at.y, room.top, room.top + room.height - outer.height);
    return {x + frame.left, y + frame.top, outer.width - across, outer.height - down};
}

// The three frames, on the window.
inline constexpr Rect kStarFrame{240, 120, 4815, 5295}; // Frame3
inline constexpr Rect kPoolFrame{240, 5400, 4815, 615}; // Frame2
inline constexpr Rect kRowFrame{240, 6000, 4815, 1215}; // Frame1

// The star, on Frame3. Field k stands at kStarPlaces[k - 1]; its number label lblNr(k - 1) above.
struct StarPlace {
    Point field;
    Point numberLabel;
};
inline constexpr std::array<StarPlace, 12> kStarPlaces{{
    {{240, 1560}, {240, 1320}},
    {{1560, 1560}, {1680, 1320}},
    {{2760, 1560}, {2880, 1320}},
    {{4080, 1560}, {4320, 1320}},
    {{3480, 2640}, {3600, 2400}},
    {{2760, 3720}, {2880, 3480}},
    {{2160, 4680}, {2280, 4440}},
    {{1560, 3720}, {1680, 3480}},
    {{840, 2640}, {960, 2400}},
    {{2160, 480}, {2280, 240}},
    {{4080, 3720}, {4320, 3480}},
    {{240, 3720}, {240, 3480}},
}};
constexpr const StarPlace& starPlace(int field) {
    return kStarPlaces.at(static_cast<std::size_t>(field - 1));
}
inline constexpr int kFieldSize = 495;
inline constexpr int kNumberLabelSize = 255;
inline constexpr Font kFieldFont{13.5, false};
inline constexpr Rect kSentinelField{360, 4440, 495, 450};
inline constexpr Rect kHiddenPoolBox{1080, 4440, 375, 375};
inline constexpr Font kHiddenPoolFont{12, true};

// Sum boxes txtS(0) to txtS(7), on Frame3.
inline constexpr std::array<Point, 8> kSumBoxes{{{2160, 1320},
                                                 {3480, 2040},
                                                 {3480, 3360},
                                                 {840, 2040},
                                                 {2160, 4080},
                                                 {840, 3480},
                                                 {2160, 2760},
                                                 {720, 600}}};
constexpr Point sumBox(int index) {
    return kSumBoxes.at(static_cast<std::size_t>(index));
}
inline constexpr int kSumBoxWidth = 495;
inline constexpr int kSumBoxHeight = 285;
inline constexpr Font kSumFont{12, true};

// The star's lines, drawn on Frame3 beneath its boxes, in drawing order.
struct StarLine {
    Point from;
    Point to;
    Color color;
    int widthPixels;
};
inline constexpr std::array<StarLine, 8> kStarLines{{
    {{2400, 720}, {4320, 3960}, kLabelGrey, 1},  // Line1
    {{480, 3960}, {4320, 3960}, kLabelGrey, 2},  // Line3
    {{480, 1800}, {4320, 1800}, kLabelGrey, 2},  // Line4
    {{2400, 4800}, {480, 1800}, kLabelGrey, 1},  // Line5
    {{2400, 4800}, {4320, 1800}, kLabelGrey, 1}, // Line6
    {{480, 3960}, {2400, 720}, kLabelGrey, 1},   // Line9
    {{720, 1800}, {4560, 1800}, kWhite, 1},      // Line7
    {{600, 3960}, {4440, 3960}, kWhite, 1},      // Line8
}};

// Pool boxes txtStein(1) to txtStein(12), on Frame2.
constexpr Rect poolBox(int number) {
    return {240 + 360 * (number - 1), 240, 360, 285};
}
inline constexpr Font kPoolFont{8.25, true};

// Row boxes txtIn(1) to txtIn(12) and the marker above them, on Frame1.
constexpr Rect rowBox(int field) {
    return {240 + 360 * (field - 1), 720, 375, 285};
}
inline constexpr Rect kMarker{240, 120, 375, 615};

// The right-hand side and the help line, on the window.
inline constexpr Rect kSolutionList{5280, 240, 3615, 765};
inline constexpr Rect kCounter{5280, 5880, 1215, 405};
inline constexpr Font kCounterFont{12, false};
inline constexpr Rect kStopAtSolution{5280, 6360, 1215, 255}; // Check1
inline constexpr Rect kSingleStep{5280, 6720, 1215, 195};     // Check2
inline constexpr Rect kStartButton{7680, 5880, 1215, 1095};
inline constexpr Rect kInterruptButton{6960, 6360, 615, 615};
inline constexpr Rect kHelpLine{240, 7320, 8655, 285};

// The allowed-number grid: row r for field r + 1, column c for number c + 1.
constexpr int gridRowTop(int row) {
    return 1320 + 360 * row;
}
constexpr Rect gridRowCaption(int row) {
    return {5280, gridRowTop(row), 255, 255};
}
constexpr Rect gridLabel(int index) {
    const int row = fieldOfGridLabel(index) - 1;
    const int column = numberOfGridLabel(index) - 1;
    return {5640 + 240 * column, gridRowTop(row), 255, 255};
}
constexpr Rect allowAllButton(int row) {
    return {8640, gridRowTop(row), 135, 255};
}
constexpr Rect forbidAllButton(int row) {
    return {8760, gridRowTop(row), 135, 255};
}

// Keyboard focus order: runs of a control array from one index to another, in either direction,
// and single controls (kNoIndex).
struct FocusRun {
    ControlId control;
    int from = kNoIndex;
    int to = kNoIndex;
};
inline constexpr std::array<FocusRun, 16> kFocusOrder{{
    {ControlId::txtIn, 12, 1},
    {ControlId::Text2},
    {ControlId::txtStein, 12, 1},
    {ControlId::txtFeld, 12, 1},
    {ControlId::txtS, 3, 3},
    {ControlId::txtS, 0, 2},
    {ControlId::txtS, 4, 7},
    {ControlId::cmdAlle, 0, 11},
    {ControlId::Check2},
    {ControlId::Check1},
    {ControlId::cmdSucher},
    {ControlId::cmdKeiner, 0, 11},
    {ControlId::Command1},
    {ControlId::txtHilfe},
    {ControlId::shape1},
    {ControlId::txtErgebnisse},
}};

} // namespace hexorin::layout
