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

#include "board_invariants.h"
#include "window/form1.h"

namespace hexorin {
namespace {

constexpr int kEventsPerStorm = 12'000;
constexpr std::array<unsigned, 10> kSeeds{1, 2, 3, 5, 8, 13, 21, 34, 55, 89};

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
    [[nodiscard]] int solutionsFound() const { return invariants_.solutionsFound(); }

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
        testing::expectCursorOnAField(form_);
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
        for (const auto& entry : actions) {
            roll -= entry.weight;
            if (roll <= 0)
                return entry;
        }
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
        static const std::vector<std::string> texts = testing::hostileTexts();
        const std::string& text = texts[static_cast<std::size_t>(pick(0, int(texts.size()) - 1))];
        const auto write = [&](TextBox& box) {
            box.setText(chance(1, 2) ? text : box.text() + text);
        };
        switch (pick(0, 6)) {
        case 0:
            write(form_.txtFeld(pick(1, 12))), typedInto(Typed::Board);
            break;
        case 1:
            write(form_.txtStein(pick(1, 12))), typedInto(Typed::Board);
            break;
        case 2:
            write(form_.txtIn(pick(1, 12))), typedInto(Typed::Row);
            break;
        case 3:
            write(form_.txtS(pick(0, 7)));
            break;
        case 4:
            write(form_.Text2), typedInto(Typed::Counter);
            break;
        case 5:
            write(form_.txtErgebnisse), typedInto(Typed::List);
            break;
        default:
            write(form_.txtHilfe);
            break;
        }
    }

    void boardReset() { invariants_.boardReset(); }
    using Typed = testing::BoardInvariants::Typed;
    void typedInto(Typed what) { invariants_.typedInto(what); }

    void checkInvariants() { invariants_.check(form_); }

    std::mt19937 random_;
    Form1 form_{*this};
    long long passes_ = 0;
    int events_ = 0;
    testing::BoardInvariants invariants_;
};

TEST(EventStorm, BoardStaysConsistentWhateverTheUserDoes) {
    int totalEvents = 0;
    long long totalPasses = 0;
    int totalSolutions = 0;
    for (const unsigned seed : testing::stormSeeds(kSeeds)) {
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
    EXPECT_GE(totalEvents, static_cast<int>(testing::stormSeeds(kSeeds).size()) * kEventsPerStorm);
}

} // namespace
} // namespace hexorin
