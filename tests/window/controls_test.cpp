// The controls on their own: revisions, appended text, numeric value, indices out of range; and the
// contrast of the colours they are drawn in.

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "form_fixture.h"
#include "window/layout.h"

namespace hexorin::testing {
namespace {

// Each setter: first with a changed value, then with the same value again.
struct SetterCase {
    const char* name;
    const Control* control;
    std::function<void(int)> set; // a small variant number selects the value
};

TEST(ControlsTest, RevisionCountsRealChangesOnly) {
    TextBox box;
    Label label;
    CheckBox check;
    CommandButton button;
    const auto color = [](int v) { return rgb(v, 0, 0); };
    const std::vector<SetterCase> cases{
        {"text", &box, [&](int v) { box.setText(std::to_string(v)); }},
        {"back", &box, [&](int v) { box.setBackColor(color(v)); }},
        {"fore", &box, [&](int v) { box.setForeColor(color(v)); }},
        {"left", &box, [&](int v) { box.setLeft(v); }},
        {"visible", &box, [&](int v) { box.setVisible(v % 2 == 0); }},
        {"caption", &label, [&](int v) { label.setCaption(std::to_string(v)); }},
        {"tag", &label, [&](int v) { label.setTag(std::to_string(v)); }},
        {"label back", &label, [&](int v) { label.setBackColor(color(v)); }},
        {"check", &check, [&](int v) { check.setValue(v % 2); }},
        {"button left", &button, [&](int v) { button.setLeft(v); }},
    };
    for (const auto& c : cases) {
        for (const int value : {1, 2}) {
            const auto start = c.control->revision();
            c.set(value);
            EXPECT_GT(c.control->revision(), start) << c.name << " set to variant " << value;
            const auto changed = c.control->revision();
            c.set(value);
            EXPECT_EQ(c.control->revision(), changed) << c.name << " written again";
        }
    }
}

TEST(ControlsTest, AppendTextMatchesSetTextOfTheWhole) {
    for (const auto& [start, piece] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {"", "7"}, {"Notiz", "  1,"}, {"1", "2"}, {"6.", "5"}, {"x", "\r\n"}}) {
        TextBox appended;
        TextBox whole;
        appended.setText(start);
        whole.setText(start);
        EXPECT_EQ(appended.numericValue(), lenientParse(start));
        const auto before = appended.revision();
        appended.appendText(piece);
        whole.setText(whole.text() + piece);
        EXPECT_EQ(appended.text(), whole.text());
        EXPECT_EQ(appended.numericValue(), lenientParse(start + piece)) << start << piece;
        EXPECT_EQ(appended.revision() > before, !piece.empty()) << start << "+" << piece;
    }
}

TEST(ControlsTest, NumericValueFollowsTheText) {
    TextBox box;
    EXPECT_EQ(box.numericValue(), 0);
    for (const char* text : {"12", "3", "", "6.5", "1e999", "abc", "12"}) {
        box.setText(text);
        EXPECT_EQ(box.numericValue(), lenientParse(text)) << text;
        EXPECT_EQ(box.numericValue(), lenientParse(text)) << text << ", read again";
    }
    box.setText("1");
    box.appendText("1");
    EXPECT_EQ(box.numericValue(), 11);
}

// An index outside an array stops the program, naming the array and the index.
using OutOfRangeDeathTest = FormTest;

// Ratios as the WCAG's own examples give them; the greys are a dark desktop's.
TEST(ColoursTest, ContrastLegibleTextAndEdges) {
    const std::vector<std::tuple<Color, Color, double>> ratios{
        {kPalette[0], kPalette[15], 21.0},        {rgb(240, 240, 240), kPalette[15], 1.14},
        {rgb(36, 36, 36), rgb(50, 50, 50), 1.21}, {rgb(118, 118, 118), kPalette[15], 4.54},
        {kPalette[15], rgb(118, 118, 118), 4.54},
    };
    for (const auto& [one, other, ratio] : ratios)
        EXPECT_NEAR(contrast(one, other), ratio, 0.005) << ratio;
    const std::vector<std::tuple<Color, Color, Color>> legible{
        // back, own text, what is drawn
        {kPalette[15], kPalette[0], kPalette[0]},
        {kPalette[15], rgb(240, 240, 240), kPalette[0]},
        {paletteColor(PaletteIndex::DarkBlue), kPalette[0], kPalette[15]},
        {rgb(192, 192, 192), paletteColor(PaletteIndex::Blue), paletteColor(PaletteIndex::Blue)},
    };
    for (const auto& [back, text, drawn] : legible)
        EXPECT_EQ(legibleOn(back, text), drawn) << contrast(back, text);
    // High contrast: the layout's grey and red on the greys of light and dark surfaces read, and
    // keep their hue; a text that reads already stays as it is.
    const Color labelGrey = rgb(128, 128, 128);
    const Color red = rgb(192, 0, 0);
    const std::vector<std::pair<Color, Color>> raised{
        {rgb(192, 192, 192), labelGrey}, {rgb(239, 239, 239), labelGrey},
        {rgb(50, 50, 50), labelGrey},    {rgb(192, 192, 192), red},
        {rgb(50, 50, 50), red},          {kPalette[15], kPalette[0]},
    };
    for (const auto& [back, text] : raised) {
        const Color drawn = readableOn(back, text);
        EXPECT_GE(contrast(drawn, back), 4.5) << contrast(back, text);
        EXPECT_EQ(contrast(back, text) >= 4.5, drawn == text) << contrast(back, text);
        EXPECT_EQ(drawn.red == drawn.green, text.red == text.green) << contrast(back, text);
        EXPECT_EQ(drawn.green, drawn.blue) << contrast(back, text);
    }
    // An edge stands out from any back colour, whatever ink it is drawn towards.
    for (int grey = 0; grey <= 255; grey += 5)
        for (const Color ink : {kPalette[0], kPalette[15], rgb(grey, grey, grey), kPalette[9]}) {
            const Color back = rgb(grey, grey / 2, 255 - grey);
            EXPECT_GE(contrast(edgeOn(back, ink), back), 3.0) << grey;
        }
}

// The window on screens of every size: whole where it fits, else the room, with a scroll bar's room
// across each side that had to be cut.
TEST(LayoutTest, WindowFitsTheScreensFreeArea) {
    using layout::Extent;
    const std::vector<std::pair<Extent, Extent>> rows{
        // room, what the window gets of it (wanting 611 × 537, bars 16 thick)
        {{1280, 1024}, {611, 537}}, {{611, 537}, {611, 537}},
        {{640, 480}, {627, 480}}, // scrolls down
        {{620, 480}, {620, 480}}, // and across, for want of room for the vertical bar
        {{600, 700}, {600, 553}}, // scrolls across
        {{600, 545}, {600, 545}}, // and down: the horizontal bar takes the last of the height
        {{300, 200}, {300, 200}},
    };
    for (const auto& [room, got] : rows)
        EXPECT_EQ(layout::fitted({611, 537}, room, 16), got) << room.width << 'x' << room.height;

    // The whole frame, title bar included, inside the room, wherever the window stood.
    struct Framed {
        layout::Margins frame;
        layout::Rect room;
        layout::Point at; // the frame's top-left corner
        layout::Rect client;
    };
    const std::vector<Framed> framed{
        {{1, 20, 1, 5}, {0, 0, 640, 512}, {0, 0}, {1, 20, 627, 487}}, // openbox at 200 %
        {{1, 20, 1, 5}, {0, 0, 1280, 1024}, {0, 0}, {1, 20, 611, 537}},
        {{1, 20, 1, 5}, {0, 0, 1280, 1024}, {900, 700}, {668, 482, 611, 537}},
        {{0, 0, 0, 0}, {0, 0, 640, 512}, {0, 0}, {0, 0, 627, 512}},     // no window manager
        {{4, 30, 4, 4}, {0, 32, 640, 448}, {10, 0}, {9, 62, 627, 414}}, // below a top panel
        {{1, 20, 1, 5}, {100, 0, 1180, 1024}, {-50, 1000}, {101, 482, 611, 537}},
    };
    for (const Framed& row : framed)
        EXPECT_EQ(layout::framedFit({611, 537}, row.frame, row.room, row.at, 16), row.client)
            << row.room.width << 'x' << row.room.height << " at " << row.at.x << ',' << row.at.y;
}

TEST_F(OutOfRangeDeathTest, IsFatalAndNamesArrayAndIndex) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[&] { static_cast<void>(form.txtIn(0)); }, "index 0 outside txtIn\\(1 to 12\\)"},
        {[&] { static_cast<void>(form.txtIn(13)); }, "index 13 outside txtIn\\(1 to 12\\)"},
        {[&] { static_cast<void>(form.lblErlaubt(144)); }, "index 144 outside lblErlaubt"},
        {[&] { static_cast<void>(form.Placed(-1)); }, "index -1 outside Placed"},
        {[&] { static_cast<void>(form.txtFeld(13)); }, "index 13 outside txtFeld\\(0 to 12\\)"},
        {[&] { static_cast<void>(form.LineCheck(13)); }, "index 13 outside LineCheck"},
        {[&] { form.lblErlaubt_Click(144); }, "index 144 outside lblErlaubt"},
        {[&] { form.lblErlaubt_Click(-1); }, "index -1 outside lblErlaubt"},
        {[&] { form.cmdAlle_Click(12); }, "index 12 outside cmdAlle"},
        {[&] { form.cmdKeiner_Click(-1); }, "index -1 outside cmdKeiner"},
        {[&] { form.txtS_MouseMove(8); }, "index 8 outside txtS"},
        {[&] { form.txtIn_MouseMove(0); }, "index 0 outside txtIn"},
        {[&] { form.lblNr_MouseMove(12); }, "index 12 outside lblNr"},
        {[&] { form.Label2_MouseMove(12); }, "index 12 outside Label2"},
        {[&] { form.cmdKeiner_MouseMove(12); }, "index 12 outside cmdKeiner"},
        {[&] { static_cast<void>(form.LineSum(13)); }, "index 13 outside LineCheck"},
    };
    for (const auto& [access, message] : cases)
        EXPECT_DEATH(access(), message);
}

} // namespace
} // namespace hexorin::testing
