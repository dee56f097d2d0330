// Edits made on what a widget showed, carried over to what its control holds now.

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "window/edit_rebase.h"

namespace hexorin {
namespace {

// A widget's edit, made on what it showed, carried over to what the control holds now.
TEST(EditRebaseTest, EditsGoOntoTheControlsCurrentText) {
    struct Case {
        const char* name;
        const char* shown;
        const char* edited;
        const char* current;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"up to date", "12", "12 ", "12", "12 "},
        {"blank after a number the search replaced", "5", "5 ", "7", "7 "},
        {"blank before it", "5", " 5", "7", " 7"},
        {"blank into a box emptied since", "5", "5 ", "", " "},
        {"inside the lines, with more appended", "a\r\nb\r\n", "a\r\n#b\r\n", "a\r\nb\r\nc\r\n",
         "a\r\n#b\r\nc\r\n"},
        {"at the end, after what was appended", "a\r\n", "a\r\n#", "a\r\nb\r\n", "a\r\nb\r\n#"},
        {"after a digit the search added", "1", "1x", "10", "10x"},
        {"undo of the user's own text", "a#b", "ab", "a#bc", "abc"},
        {"into text a reset removed", "line one", "line #one", "", std::nullopt},
        {"over text the search rewrote", "12", "1x", "10", std::nullopt},
        {"all of it replaced", "5", "9", "7", "9"},
        {"all it showed deleted", "a\r\nb", "", "a\r\nb\r\nc", "\r\nc"},
        {"into an empty box, filled since", "", "3", "7", "73"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rebaseEdit(c.shown, c.edited, c.current), c.expected) << c.name;
}

} // namespace
} // namespace hexorin
