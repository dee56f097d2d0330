// The allowed-number grid: one label toggled, whole rows set, the grid kept over a reset.

#include "form_fixture.h"

namespace hexorin::testing {
namespace {

const std::string kWhite = colorText(rgb(255, 255, 255));
const std::string kDarkBlue = colorText(rgb(0, 0, 128));

using GridTest = FormTest;

TEST_F(GridTest, ClickTogglesTagAndColourOfOneLabel) {
    for (const int index : {0, 11, 12, 77, 143}) {
        const std::string tag = key("lblErlaubt", index, "tag");
        const std::string back = key("lblErlaubt", index, "back");
        const Snapshot start = snapshot(form);
        form.lblErlaubt_Click(index);
        const Snapshot forbidden = snapshot(form);
        EXPECT_EQ(changedKeys(start, forbidden), (std::set<std::string>{back, tag}));
        EXPECT_EQ(forbidden.at(tag), "0");
        EXPECT_EQ(forbidden.at(back), kDarkBlue);
        form.lblErlaubt_Click(index);
        EXPECT_EQ(snapshot(form), start) << index;
    }
}

// A tag the program never writes still turns into 1 - tag; only "0" and "1" choose a colour.
TEST_F(GridTest, ClickOnAnUnexpectedTagKeepsTheColour) {
    struct Case {
        const char* tag;
        const char* newTag;
        std::string back;
    };
    for (const Case& c : {Case{"2", "-1", kWhite}, Case{"-1", "2", kWhite},
                          Case{" 1 ", "0", kDarkBlue}, Case{"2", "-1", kDarkBlue}}) {
        form.lblErlaubt(5).setTag(c.tag);
        form.lblErlaubt_Click(5);
        EXPECT_EQ(form.lblErlaubt(5).tag(), c.newTag) << c.tag;
        EXPECT_EQ(colorText(form.lblErlaubt(5).backColor()), c.back) << c.tag;
    }
}

// A row command sets all twelve labels of its row, whatever their state, and nothing else.
TEST_F(GridTest, RowCommandsSetOneWholeRow) {
    for (const auto& [allow, row] : std::vector<std::pair<bool, int>>{
             {false, 0}, {true, 11}, {false, 5}, {true, 5}, {true, 0}, {false, 11}}) {
        for (int column = 0; column <= 11; column += 2) // mix the row first
            form.lblErlaubt_Click(12 * row + column);
        const Snapshot before = snapshot(form);
        if (allow)
            form.cmdAlle_Click(row);
        else
            form.cmdKeiner_Click(row);
        const Snapshot after = snapshot(form);
        std::set<std::string> rowKeys;
        for (int column = 0; column <= 11; ++column) {
            const std::string tag = key("lblErlaubt", 12 * row + column, "tag");
            const std::string back = key("lblErlaubt", 12 * row + column, "back");
            EXPECT_EQ(after.at(tag), allow ? "1" : "0");
            EXPECT_EQ(after.at(back), allow ? kWhite : kDarkBlue);
            rowKeys.insert({tag, back});
        }
        const auto changed = changedKeys(before, after);
        EXPECT_TRUE(std::includes(rowKeys.begin(), rowKeys.end(), changed.begin(), changed.end()))
            << "row " << row;
    }
}

TEST_F(GridTest, StartwerteKeepsTheGrid) {
    form.cmdKeiner_Click(3);
    form.lblErlaubt_Click(140);
    const Snapshot before = snapshot(form);
    form.cmdNeustart_Click();
    EXPECT_EQ(changedKeys(before, snapshot(form), {"lblErlaubt", "Label2"}), kNothing);
}

} // namespace
} // namespace hexorin::testing
