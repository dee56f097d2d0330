#pragma once

// What must hold on the board after every user event, whatever the user did before: shared by
// the event storms on the window object and on the real window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "known_stars.h"
#include "window/form1.h"

namespace hexorin::testing {

// Texts a user may type or paste into any box: nothing of them is a number the search wrote.
inline std::vector<std::string> hostileTexts() {
    return {"",
            " ",
            "-",
            "+",
            "7",
            "12",
            "13",
            "0",
            "-0",
            "6.5",
            "1e999",
            "-1e999",
            "1e-999",
            "nan",
            "inf",
            "12abc",
            "1,5",
            " 1 2 ",
            "99999999999",
            "\xff\xfe\x80",
            "äöü",
            "\r\n",
            "  1,  2, 11",
            "1e300",
            "-1e300",
            std::string(10'000, '9')};
}

// Events reach the window only inside a pass, where the cursor is always on a field.
inline void expectCursorOnAField(const Form1& form) {
    EXPECT_GE(form.CurField, 1);
    EXPECT_LE(form.CurField, 12);
}

// The checks read the boxes the search writes; a box the user typed into since the last reset
// no longer has to agree, so the checks that read it are left out until the next reset.
class BoardInvariants {
public:
    enum class Typed : std::uint8_t {
        Board,
        Row,
        Counter,
        List
    }; // Board: a star field or a pool box

    void typedInto(Typed what) { typed_[static_cast<std::size_t>(what)] = true; }
    // After "Startwerte" or the reset of a new search.
    void boardReset() {
        typed_ = {};
        checkedListLength_ = 0;
    }

    // Solutions counted since the storm began, across resets.
    [[nodiscard]] int solutionsFound() const { return solutionsFound_; }

    void check(const Form1& form) {
        if (form.SolutionCount > lastSolutionCount_)
            solutionsFound_ += form.SolutionCount - lastSolutionCount_;
        lastSolutionCount_ = form.SolutionCount;
        checkGrid(form);
        if (!typed(Typed::Board))
            checkPoolAndPlaced(form);
        if (!typed(Typed::Row) && !typed(Typed::Board))
            checkRowMirrorsPlaced(form);
        if (!typed(Typed::Counter)) {
            EXPECT_EQ(form.Text2.text(),
                      form.SolutionCount == 0 ? "" : plainNumberText(form.SolutionCount));
        }
        if (!typed(Typed::List) && !typed(Typed::Board))
            checkSolutionList(form);
    }

private:
    [[nodiscard]] bool typed(Typed what) const { return typed_[static_cast<std::size_t>(what)]; }

    static void checkGrid(const Form1& form) {
        for (const Label& label : form.lblErlaubt) {
            const bool allowed = label.tag() == "1";
            ASSERT_TRUE(allowed || label.tag() == "0") << label.tag();
            EXPECT_EQ(label.backColor(),
                      paletteColor(allowed ? PaletteIndex::White : PaletteIndex::DarkBlue));
        }
    }

    // Numbers taken by fields before the cursor (and by the cursor's field while its pool box is
    // empty) are out of the pool; every other number is in it.
    static void checkPoolAndPlaced(const Form1& form) {
        const int cursor = form.CurField;
        std::array<int, 13> uses{};
        for (int field = 1; field <= 12; ++field) {
            const int number = form.Placed(field);
            if (field > cursor) {
                EXPECT_EQ(number, 0) << "field " << field;
            }
            const bool inUse =
                field < cursor || (field == cursor && form.txtStein(number).text().empty());
            if (inUse && number != 0)
                ++uses[static_cast<std::size_t>(number)];
        }
        for (int number = 1; number <= 12; ++number) {
            const bool inPool = form.txtStein(number).text() == plainNumberText(number);
            EXPECT_TRUE(inPool || form.txtStein(number).text().empty());
            EXPECT_EQ(uses[static_cast<std::size_t>(number)], inPool ? 0 : 1)
                << "number " << number;
        }
    }

    static void checkRowMirrorsPlaced(const Form1& form) {
        for (int field = 1; field <= 12; ++field) {
            const int number = form.Placed(field);
            EXPECT_EQ(form.txtIn(field).text(), number == 0 ? "" : plainNumberText(number));
        }
    }

    // Only the lines added since the last check are read again.
    void checkSolutionList(const Form1& form) {
        const std::string& list = form.txtErgebnisse.text();
        ASSERT_EQ(list.size(), 49u * static_cast<std::size_t>(form.SolutionCount));
        for (; checkedListLength_ < list.size(); checkedListLength_ += 49)
            checkSolutionLine(std::string_view(list).substr(checkedListLength_, 49));
    }

    static void checkSolutionLine(std::string_view line) {
        ASSERT_EQ(line.substr(47), "\r\n");
        std::array<int, 13> numbers{};
        std::array<bool, 13> seen{};
        for (int field = 1; field <= 12; ++field) {
            const std::string_view cell = line.substr(4 * static_cast<std::size_t>(field - 1), 3);
            const int number = static_cast<int>(lenientParse(cell));
            ASSERT_TRUE(number >= 1 && number <= 12 && !seen[static_cast<std::size_t>(number)])
                << line;
            ASSERT_EQ(cell, std::string(number < 10 ? "  " : " ") + plainNumberText(number));
            if (field < 12) {
                ASSERT_EQ(line[static_cast<std::size_t>(4 * field - 1)], ',') << line;
            }
            seen[static_cast<std::size_t>(number)] = true;
            numbers[static_cast<std::size_t>(field)] = number;
        }
        for (const auto& fields : kLines) {
            int sum = 0;
            for (const int field : fields)
                sum += numbers[static_cast<std::size_t>(field)];
            EXPECT_EQ(sum, 26) << line;
        }
    }

    std::array<bool, 4> typed_{};
    std::size_t checkedListLength_ = 0;
    int lastSolutionCount_ = 0;
    int solutionsFound_ = 0;
};

// The given seeds, or the one seed HEXORIN_STORM_SEED names, to replay a failed storm.
inline std::vector<unsigned> stormSeeds(std::span<const unsigned> seeds) {
    if (const char* seed = std::getenv("HEXORIN_STORM_SEED"))
        return {static_cast<unsigned>(std::strtoul(seed, nullptr, 10))};
    return {seeds.begin(), seeds.end()};
}

} // namespace hexorin::testing
