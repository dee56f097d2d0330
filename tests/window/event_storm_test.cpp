// Long random sequences of everything a user can do, at any moment, before, during and between
// searches. After every event the board must still be consistent. A failure prints its seed;
// HEXORIN_STORM_SEED=<seed> replays that one storm.

#include <array>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "window/form1.h"

namespace hexorin {
namespace {

constexpr int kEventsPerStorm = 12'000;
constexpr std::array<unsigned, 10> kSeeds{1, 2, 3, 5, 8, 13, 21, 34, 55, 89};

std::vector<std::string> hostileTexts() {
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

// Drives the window object through its platform: every turn of the event loop inside a search may
// deliver user events, and every event is followed by the consistency checks.
class Storm final : public Platform {
public:
    explicit Storm(unsigned seed)
        : random_(seed) {
        form_.Form_Load();
    }

    void run(int events) {
        while (events_ < events && !::testing::Test::HasFatalFailure() &&
               !::testing::Test::HasNonfatalFailure())
            deliverEvent();
    }

    [[nodiscard]] long long passes() const { return passes_; }
    [[nodiscard]] int events() const { return events_; }
    [[nodiscard]] int solutionsFound() const { return solutionsFound_; }

    void showMessage(const std::string& text) override {
        EXPECT_EQ(text, "Neue Suche, Angangswerte gesetzt");
        EXPECT_EQ(form_.CurField, 0);
        boardReset(); // the reset follows the message at once
    }

    bool askYesNo(const std::string& text, const std::string& title) override {
        EXPECT_EQ(text, "Jede Schleife zeigen ?");
        EXPECT_EQ(title, "Backtracking");
        return chance(3, 4);
    }

    void processEvents() override {
        ++passes_;
        EXPECT_GE(form_.CurField, 1);
        EXPECT_LE(form_.CurField, 12);
        // Mostly quiet passes, so that searches get far enough to find solutions.
        while (chance(1, 40))
            deliverEvent();
    }

    void endProgram() override { ADD_FAILURE() << "nothing in a storm ends the program"; }

private:
    bool chance(int in, int of) { return std::uniform_int_distribution(1, of)(random_) <= in; }
    int pick(int first, int last) { return std::uniform_int_distribution(first, last)(random_); }

    void deliverEvent() {
        ++events_;
        const auto& [weight, action] = pickAction();
        static_cast<void>(weight);
        action(*this);
        checkInvariants();
    }

    using Action = std::function<void(Storm&)>;
    struct WeightedAction {
        int weight;
        Action action;
    };

    const WeightedAction& pickAction() {
        static const std::vector<WeightedAction> actions = allActions();
        int total = 0;
        for (const auto& entry : actions)
            total += entry.weight;
        int roll = pick(1, total);
        for (const auto& entry : actions)
            if ((roll -= entry.weight) <= 0)
                return entry;
        return actions.back();
    }

    static std::vector<WeightedAction> allActions() {
        return {
            {10, [](Storm& s) { s.form_.cmdSucher_Click(); }},
            {8, [](Storm& s) { s.form_.Command1_Click(); }},
            {2, [](Storm& s) { s.form_.cmdNeustart_Click(), s.boardReset(); }},
            {10, [](Storm& s) { s.form_.lblErlaubt_Click(s.pick(0, 143)); }},
            {2, [](Storm& s) { s.form_.cmdAlle_Click(s.pick(0, 11)); }},
            {1, [](Storm& s) { s.form_.cmdKeiner_Click(s.pick(0, 11)); }},
            {4, [](Storm& s) { s.toggle(s.form_.Check1); }},
            {1, [](Storm& s) { s.toggle(s.form_.Check2); }},
            {20, [](Storm& s) { s.moveMouse(); }},
            {4, [](Storm& s) { s.type(); }},
        };
    }

    static void toggle(CheckBox& box) {
        box.setValue(box.value() == CheckBox::ticked ? CheckBox::unticked : CheckBox::ticked);
    }

    void moveMouse() {
        const std::array<std::function<void()>, 17> moves{
            [&] { form_.Form_MouseMove(); },
            [&] { form_.Frame3_MouseMove(); },
            [&] { form_.txtFeld_MouseMove(pick(1, 12)); },
            [&] { form_.lblNr_MouseMove(pick(0, 11)); },
            [&] { form_.txtS_MouseMove(pick(0, 7)); },
            [&] { form_.txtStein_MouseMove(pick(1, 12)); },
            [&] { form_.txtIn_MouseMove(pick(1, 12)); },
            [&] { form_.lblErlaubt_MouseMove(pick(0, 143)); },
            [&] { form_.Label2_MouseMove(pick(0, 11)); },
            [&] { form_.cmdAlle_MouseMove(pick(0, 11)); },
            [&] { form_.cmdKeiner_MouseMove(pick(0, 11)); },
            [&] { form_.txtErgebnisse_MouseMove(); },
            [&] { form_.Text2_MouseMove(); },
            [&] { form_.Check1_MouseMove(); },
            [&] { form_.Check2_MouseMove(); },
            [&] { form_.cmdSucher_MouseMove(); },
            [&] { form_.Command1_MouseMove(); },
        };
        moves[static_cast<std::size_t>(pick(0, 16))]();
    }

    // Typing replaces a box's text or adds to it, as a paste would.
    void type() {
        static const std::vector<std::string> texts = hostileTexts();
        const std::string& text = texts[static_cast<std::size_t>(pick(0, int(texts.size()) - 1))];
        const auto write = [&](TextBox& box) {
            box.setText(chance(1, 2) ? text : box.text() + text);
        };
        switch (pick(0, 6)) {
        case 0:
            write(form_.txtFeld(pick(1, 12))), boardTyped_ = true;
            break;
        case 1:
            write(form_.txtStein(pick(1, 12))), boardTyped_ = true;
            break;
        case 2:
            write(form_.txtIn(pick(1, 12))), rowTyped_ = true;
            break;
        case 3:
            write(form_.txtS(pick(0, 7)));
            break;
        case 4:
            write(form_.Text2), counterTyped_ = true;
            break;
        case 5:
            write(form_.txtErgebnisse), listTyped_ = true;
            break;
        default:
            write(form_.txtHilfe);
            break;
        }
    }

    void boardReset() {
        boardTyped_ = rowTyped_ = counterTyped_ = listTyped_ = false;
        checkedListLength_ = 0;
    }

    void checkInvariants() {
        if (form_.SolutionCount > lastSolutionCount_)
            solutionsFound_ += form_.SolutionCount - lastSolutionCount_;
        lastSolutionCount_ = form_.SolutionCount;
        checkGrid();
        if (!boardTyped_)
            checkPoolAndPlaced();
        if (!rowTyped_ && !boardTyped_)
            checkRowMirrorsPlaced();
        if (!counterTyped_) {
            EXPECT_EQ(form_.Text2.text(),
                      form_.SolutionCount == 0 ? "" : plainNumberText(form_.SolutionCount));
        }
        if (!listTyped_ && !boardTyped_)
            checkSolutionList();
    }

    void checkGrid() {
        for (const Label& label : form_.lblErlaubt) {
            const bool allowed = label.tag() == "1";
            ASSERT_TRUE(allowed || label.tag() == "0") << label.tag();
            EXPECT_EQ(label.backColor(),
                      paletteColor(allowed ? PaletteIndex::White : PaletteIndex::DarkBlue));
        }
    }

    // Numbers taken by fields before the cursor (and by the cursor's field while its pool box is
    // empty) are out of the pool; every other number is in it.
    void checkPoolAndPlaced() {
        const int cursor = form_.CurField;
        std::array<int, 13> uses{};
        for (int field = 1; field <= 12; ++field) {
            const int number = form_.Placed(field);
            if (field > cursor) {
                EXPECT_EQ(number, 0) << "field " << field;
            }
            const bool inUse =
                field < cursor || (field == cursor && form_.txtStein(number).text().empty());
            if (inUse && number != 0)
                ++uses[static_cast<std::size_t>(number)];
        }
        for (int number = 1; number <= 12; ++number) {
            const bool inPool = form_.txtStein(number).text() == plainNumberText(number);
            EXPECT_TRUE(inPool || form_.txtStein(number).text().empty());
            EXPECT_EQ(uses[static_cast<std::size_t>(number)], inPool ? 0 : 1)
                << "number " << number;
        }
    }

    void checkRowMirrorsPlaced() {
        for (int field = 1; field <= 12; ++field) {
            const int number = form_.Placed(field);
            EXPECT_EQ(form_.txtIn(field).text(), number == 0 ? "" : plainNumberText(number));
        }
    }

    // Only the lines added since the last check are read again.
    void checkSolutionList() {
        const std::string& list = form_.txtErgebnisse.text();
        ASSERT_EQ(list.size(), 49u * static_cast<std::size_t>(form_.SolutionCount));
        for (; checkedListLength_ < list.size(); checkedListLength_ += 49)
            checkSolutionLine(std::string_view(list).substr(checkedListLength_, 49));
    }

    static void checkSolutionLine(std::string_view line) {
        static constexpr std::array<std::array<int, 4>, 6> lines{{{1, 2, 3, 4},
                                                                  {4, 5, 6, 7},
                                                                  {1, 7, 8, 9},
                                                                  {3, 5, 10, 11},
                                                                  {6, 8, 11, 12},
                                                                  {2, 9, 10, 12}}};
        ASSERT_EQ(line.substr(47), "\r\n");
        std::array<int, 13> numbers{};
        std::array<bool, 13> seen{};
        for (int field = 1; field <= 12; ++field) {
            const std::string_view cell = line.substr(static_cast<std::size_t>(4 * (field - 1)), 3);
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
        for (const auto& fields : lines) {
            int sum = 0;
            for (const int field : fields)
                sum += numbers[static_cast<std::size_t>(field)];
            EXPECT_EQ(sum, 26) << line;
        }
    }

    std::mt19937 random_;
    Form1 form_{*this};
    long long passes_ = 0;
    int events_ = 0;
    bool boardTyped_ = false;
    bool rowTyped_ = false;
    bool counterTyped_ = false;
    bool listTyped_ = false;
    std::size_t checkedListLength_ = 0;
    int lastSolutionCount_ = 0;
    int solutionsFound_ = 0;
};

std::vector<unsigned> stormSeeds() {
    if (const char* seed = std::getenv("HEXORIN_STORM_SEED"))
        return {static_cast<unsigned>(std::strtoul(seed, nullptr, 10))};
    return {kSeeds.begin(), kSeeds.end()};
}

TEST(EventStorm, BoardStaysConsistentWhateverTheUserDoes) {
    int totalEvents = 0;
    long long totalPasses = 0;
    int totalSolutions = 0;
    for (const unsigned seed : stormSeeds()) {
        SCOPED_TRACE("storm seed " + std::to_string(seed) +
                     " (replay: HEXORIN_STORM_SEED=" + std::to_string(seed) + ")");
        Storm storm(seed);
        storm.run(kEventsPerStorm);
        totalEvents += storm.events();
        totalPasses += storm.passes();
        totalSolutions += storm.solutionsFound();
        if (HasFailure())
            return;
    }
    std::printf("event storm: %d events, %lld passes, %d solutions\n", totalEvents, totalPasses,
                totalSolutions);
    EXPECT_GT(totalSolutions, 0);
    EXPECT_GE(totalEvents, static_cast<int>(stormSeeds().size()) * kEventsPerStorm);
}

} // namespace
} // namespace hexorin
