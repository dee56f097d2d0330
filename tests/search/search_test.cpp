// The search: its results against a plain enumerator, its passes, and every command during a run.

#include <cstdlib>
#include <functional>
#include <random>

#include "form_fixture.h"

namespace hexorin::testing {
namespace {

constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kRed = rgb(255, 0, 0);

// Told the board at the top of every pass, it checks what the pass before did to the star's
// colours: a trial turns the field's fore colour red and leaves its back colour, an acceptance
// paints both by the number's parity, a step back leaves both. No other field changes colour.
// The first fault is kept, so a broken run reports once instead of at every pass.
class StarColourWatch {
public:
    void atPass(const Form1& form, long long pass) {
        if (field_ != 0 && verdict_)
            verdict_ = checkLastPass(form, pass);
        field_ = form.CurField;
        placed_ = form.Placed(field_);
        for (int k = 1; k <= 12; ++k)
            colours_[static_cast<std::size_t>(k)] = {form.txtFeld(k).backColor(),
                                                     form.txtFeld(k).foreColor()};
    }
    [[nodiscard]] ::testing::AssertionResult verdict() const { return verdict_; }

private:
    struct Colours {
        Color back;
        Color fore;
    };

    [[nodiscard]] ::testing::AssertionResult checkLastPass(const Form1& form,
                                                           long long pass) const {
        for (int k = 1; k <= 12; ++k) {
            const TextBox& box = form.txtFeld(k);
            Colours expected = colours_[static_cast<std::size_t>(k)];
            if (k == field_ && !box.text().empty()) {
                const int number = form.Placed(k);
                const bool even = number % 2 == 0;
                if (number != placed_)
                    expected = {even ? kBlue : kWhite, even ? kWhite : kBlue};
                else
                    expected.fore = kRed;
            }
            if (box.backColor() != expected.back || box.foreColor() != expected.fore)
                return ::testing::AssertionFailure()
                       << "pass " << pass - 1 << ", field " << k << ": back "
                       << colorText(box.backColor()) << ", fore " << colorText(box.foreColor())
                       << "; expected back " << colorText(expected.back) << ", fore "
                       << colorText(expected.fore);
        }
        return ::testing::AssertionSuccess();
    }

    int field_ = 0;
    int placed_ = 0;
    std::array<Colours, 13> colours_{};
    ::testing::AssertionResult verdict_ = ::testing::AssertionSuccess();
};

class SearchTest : public FormTest {
protected:
    SearchTest() { setChecks(CheckBox::unticked, CheckBox::unticked); }

    // The whole unrestricted run, however it was interrupted or resumed on the way.
    void expectCompleteRun() {
        EXPECT_EQ(platform.passes, kFullRunPasses);
        EXPECT_EQ(form.CurField, 0);
        EXPECT_EQ(form.Text2.text(), plainNumberText(kFullRunSolutions));
        EXPECT_EQ(form.txtErgebnisse.text().size(), kFullRunSolutions * kLineLength);
        EXPECT_TRUE(sameSolutions(listed(), enumerateStars(allAllowed())));
        EXPECT_TRUE(platform.messages.empty());
    }
    int sumOfHexagons() const {
        return std::stoi(form.txtS(6).text()) + std::stoi(form.txtS(7).text());
    }
};

TEST_F(SearchTest, UnrestrictedRunFindsEveryStarInOrder) {
    const Snapshot fresh = snapshot(form);
    Snapshot beforeLastPass;
    StarColourWatch colours;
    platform.onPass = [&](long long pass) {
        ASSERT_TRUE(form.CurField >= 1 && form.CurField <= 12) << pass;
        colours.atPass(form, pass);
        if (pass == kFullRunPasses)
            beforeLastPass = snapshot(form);
    };
    form.cmdSucher_Click();
    expectCompleteRun();
    colours.atPass(form, kFullRunPasses + 1); // the last pass, which left the loop
    EXPECT_TRUE(colours.verdict());
    const auto solutions = listed();
    ASSERT_EQ(solutions.size(), kFullRunSolutions);
    EXPECT_EQ(solutions[0], kFirstSolution);
    EXPECT_EQ(solutions[1], kSecondSolution);
    EXPECT_EQ(solutions.back(), kLastSolution);
    std::array<int, 12> perFirstField{};
    for (const Solution& star : solutions) {
        EXPECT_TRUE(isMagicStar(star)) << solutionText(star);
        ++perFirstField[static_cast<std::size_t>(star[0] - 1)];
    }
    EXPECT_EQ(perFirstField, (std::array<int, 12>{80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80}));
    EXPECT_EQ(sumOfHexagons(), 78);

    // Exhausted: the star, the row and the pool are as after a reset; results and colours stay.
    const Snapshot exhausted = snapshot(form);
    auto changed =
        changedKeys(fresh, exhausted, {"txtFeld", "txtIn", "txtStein", "Placed", "shape1"});
    EXPECT_GT(std::erase_if(changed,
                            [](const std::string& name) {
                                return name.ends_with(".back") || name.ends_with(".fore");
                            }),
              0U);
    EXPECT_EQ(changed, std::set<std::string>{"txtStein(0).text"});
    EXPECT_EQ(changedKeys(beforeLastPass, exhausted, {"txtFeld"}),
              std::set<std::string>{"txtFeld(1).text"});
}

TEST_F(SearchTest, StopsAtEachSolutionAndResumes) {
    form.Check1.setValue(CheckBox::ticked);
    form.cmdSucher_Click();
    EXPECT_EQ(platform.passes, kFirstSolutionPass);
    EXPECT_EQ(form.CurField, 12);
    form.cmdSucher_Click();
    EXPECT_EQ(platform.passes, kFirstSolutionPass + 338);
    EXPECT_EQ(placedNumbers(form), kSecondSolution);

    const auto expected = enumerateStars(allAllowed());
    for (std::size_t press = 3; press <= kFullRunSolutions; ++press) {
        form.cmdSucher_Click();
        ASSERT_EQ(form.Text2.text(), std::to_string(press));
        ASSERT_EQ(form.CurField, 12);
        const Solution shown = placedNumbers(form);
        ASSERT_EQ(shown, expected[press - 1]) << press;
        for (int field = 1; field <= 12; ++field) {
            const int number = shown[static_cast<std::size_t>(field - 1)];
            ASSERT_EQ(form.txtFeld(field).text(), std::to_string(number)) << press;
            ASSERT_EQ(form.txtIn(field).text(), std::to_string(number)) << press;
            // Even numbers white on blue, odd ones blue on white.
            const bool even = number % 2 == 0;
            ASSERT_EQ(form.txtFeld(field).backColor(), even ? kBlue : kWhite) << press;
            ASSERT_EQ(form.txtFeld(field).foreColor(), even ? kWhite : kBlue) << press;
        }
        ASSERT_EQ(sumOfHexagons(), 78) << press;
    }
    form.cmdSucher_Click(); // the 961st press exhausts the search without a message
    expectCompleteRun();
    form.cmdSucher_Click(); // the 962nd starts over
    EXPECT_EQ(platform.messages, std::vector<std::string>{std::string(kNewSearch)});
    EXPECT_TRUE(sameSolutions(listed(), {kFirstSolution}));
    EXPECT_EQ(platform.passes, kFullRunPasses + kFirstSolutionPass);
}

class ForbiddenFieldTest : public SearchTest, public ::testing::WithParamInterface<int> {};

// A field that takes no number: no solution; field 1 shows 1 to 12 in red in turn. The next Start
// announces the new search once and resets.
TEST_P(ForbiddenFieldTest, NoSolutionAndTheNextStartResets) {
    const int field = GetParam();
    form.cmdKeiner_Click(field - 1);
    platform.onPass = [&](long long pass) {
        if (field == 1 && pass > 1) {
            EXPECT_EQ(form.txtFeld(1).text(), std::to_string(pass - 1)) << pass;
            EXPECT_EQ(form.txtFeld(1).foreColor(), kRed) << pass;
        }
    };
    form.cmdSucher_Click();
    const long long passes = platform.passes;
    if (field == 1 || field == 12) {
        EXPECT_EQ(passes, field == 1 ? 13 : kFullRunPasses);
    }
    EXPECT_EQ(form.CurField, 0);
    EXPECT_EQ(form.Text2.text(), "");
    EXPECT_EQ(form.txtErgebnisse.text(), "");
    EXPECT_EQ(form.txtFeld(field).text(), "");
    EXPECT_TRUE(platform.messages.empty());

    platform.onPass = nullptr;
    form.txtErgebnisse.setText("x");
    form.Check1.setValue(CheckBox::ticked);
    form.cmdSucher_Click();
    EXPECT_EQ(platform.messages, std::vector<std::string>{std::string(kNewSearch)});
    EXPECT_EQ(form.txtErgebnisse.text(), "");
    EXPECT_EQ(platform.passes, 2 * passes);
}

INSTANTIATE_TEST_SUITE_P(Fields, ForbiddenFieldTest, ::testing::Range(1, 13));

TEST_F(SearchTest, RestrictionsOfFieldOne) {
    for (const bool onlyOne : {true, false}) {
        form.cmdNeustart_Click();
        form.cmdAlle_Click(0);
        if (onlyOne)
            form.cmdKeiner_Click(0);
        form.lblErlaubt_Click(0);
        form.cmdSucher_Click();
        const auto solutions = listed();
        ASSERT_EQ(solutions.size(), onlyOne ? 80U : 880U);
        EXPECT_EQ(solutions.front() == kFirstSolution, onlyOne);
        for (const Solution& star : solutions)
            EXPECT_EQ(star[0] == 1, onlyOne) << solutionText(star);
    }
}

// An interrupt leaves the loop at the top of the next pass; resuming changes nothing in the result.
class InterruptTest : public SearchTest, public ::testing::WithParamInterface<long long> {};

TEST_P(InterruptTest, ResumedRunEqualsStraightRun) {
    const long long at = GetParam();
    platform.onPass = [&](long long pass) {
        if (pass == at)
            form.Command1_Click();
    };
    form.cmdSucher_Click();
    ASSERT_EQ(platform.passes, at);
    EXPECT_EQ(form.StopFlag, 1);
    Snapshot left = snapshot(form);
    Snapshot resumed;
    platform.onPass = [&](long long pass) {
        if (pass == at + 1)
            resumed = snapshot(form);
    };
    form.cmdSucher_Click();
    left.erase("StopFlag");
    resumed.erase("StopFlag");
    EXPECT_EQ(changedKeys(left, resumed), kNothing);
    expectCompleteRun();
}

INSTANTIATE_TEST_SUITE_P(Passes, InterruptTest,
                         ::testing::Values(1, 2, 545, 546, 547, 884, 123457, 2472924));

TEST_F(SearchTest, RepeatedInterruptsGiveTheStraightResult) {
    platform.onPass = [&](long long pass) {
        if (pass < 700 || pass % 65537 == 0)
            form.Command1_Click();
    };
    long long presses = 0;
    for (; form.CurField != 0 && presses < 2000; ++presses)
        form.cmdSucher_Click();
    EXPECT_EQ(presses, 699 + kFullRunPasses / 65537 + 1);
    expectCompleteRun();
}

TEST_F(SearchTest, InterruptWhileIdleHasNoEffect) {
    form.Check1.setValue(CheckBox::ticked);
    form.Command1_Click();
    form.cmdSucher_Click();
    EXPECT_EQ(platform.passes, kFirstSolutionPass);
    EXPECT_EQ(form.Text2.text(), "1");
}

// A platform that lets a test look at the board while the single-step question is open.
class WatchedPlatform final : public Platform {
public:
    void showMessage(const std::string& text) override { scripted.showMessage(text); }
    bool askYesNo(const std::string& text, const std::string& title) override {
        onQuestion();
        return scripted.askYesNo(text, title);
    }
    void processEvents() override { scripted.processEvents(); }
    void endProgram() override { scripted.endProgram(); }

    ScriptedPlatform scripted;
    std::function<void()> onQuestion;
};

TEST(SingleStepTest, QuestionComesBeforeEveryPassChangesAnything) {
    WatchedPlatform platform;
    Form1 form(platform);
    form.Form_Load();
    const Snapshot fresh = snapshot(form);
    Snapshot atQuestion;
    platform.onQuestion = [&] {
        atQuestion = snapshot(form);
        if (platform.scripted.questions.empty()) {
            EXPECT_EQ(changedKeys(fresh, atQuestion), kNothing);
        }
    };
    platform.scripted.onPass = [&](long long pass) {
        ASSERT_EQ(platform.scripted.questions.size(), static_cast<std::size_t>(pass));
        ASSERT_EQ(changedKeys(atQuestion, snapshot(form)), kNothing) << pass;
    };
    form.cmdSucher_Click();
    EXPECT_EQ(platform.scripted.passes, kFirstSolutionPass);
    ASSERT_EQ(platform.scripted.questions.size(), static_cast<std::size_t>(kFirstSolutionPass));
    for (const auto& question : platform.scripted.questions) {
        EXPECT_EQ(question.text, "Jede Schleife zeigen ?");
        EXPECT_EQ(question.title, "Backtracking");
    }
}

using OpenedWindowTest = FormTest;

TEST_F(OpenedWindowTest, FirstStartAnsweredNoStopsAtTheFirstSolution) {
    platform.answerYes = false;
    form.cmdSucher_Click();
    EXPECT_EQ(platform.questions.size(), 1U);
    EXPECT_EQ(form.Check2.value(), CheckBox::unticked);
    EXPECT_EQ(form.Check1.value(), CheckBox::ticked);
    EXPECT_EQ(platform.passes, kFirstSolutionPass);
    EXPECT_EQ(form.Text2.text(), "1");
    EXPECT_EQ(placedNumbers(form), kFirstSolution);
    EXPECT_TRUE(platform.messages.empty());
}

// A check box ticked or unticked at given passes: single step counts from the next pass, stop at
// a solution from the next solution. An interrupt leaves before the next pass asks anything.
TEST_F(SearchTest, CheckBoxesChangedMidRun) {
    struct Case {
        CheckBox Form1::*box;
        std::vector<std::pair<long long, int>> changes; // pass, new value
        long long stopPass;
        std::size_t questions;
        long long interruptAt = 0;
    };
    for (const Case& c : {Case{&Form1::Check2, {{100, 1}, {110, 0}}, 546, 10},
                          Case{&Form1::Check2, {{100, 1}}, 105, 5, 105},
                          Case{&Form1::Check1, {{200, 0}, {546, 1}}, 546, 0},
                          Case{&Form1::Check1, {{546, 0}, {600, 1}}, 884, 0},
                          Case{&Form1::Check1, {{1, 0}, {547, 1}}, 884, 0}}) {
        form.cmdNeustart_Click();
        setChecks(CheckBox::ticked, CheckBox::unticked);
        platform.passes = 0;
        platform.questions.clear();
        platform.onPass = [&](long long pass) {
            for (const auto& [at, value] : c.changes)
                if (pass == at)
                    (form.*c.box).setValue(value);
            if (pass == c.interruptAt)
                form.Command1_Click();
        };
        form.cmdSucher_Click();
        EXPECT_EQ(platform.passes, c.stopPass) << c.changes.front().first;
        EXPECT_EQ(platform.questions.size(), c.questions) << c.changes.front().first;
    }
}

// An interrupt in the same turn as "Startwerte" stops the run at the next pass, on the reset board;
// the next Start goes on from there.
TEST_F(SearchTest, StartwerteMidRunStartsOverInTheSameRun) {
    for (const bool interrupted : {false, true}) {
        SCOPED_TRACE(interrupted ? "interrupted too" : "reset only");
        form.cmdNeustart_Click();
        form.Check1.setValue(CheckBox::unticked);
        platform.passes = 0;
        const auto expectStartedOver = [&] {
            const Snapshot shot = snapshot(form);
            // clang-format off
            const Snapshot expected{
                {"txtStein(0).text", "0"}, {"txtFeld(1).text", "1"}, {"Placed(1).value", "1"},
                {"CurField", "2"}, {"Text2.text", ""}, {"txtErgebnisse.text", ""},
                {"shape1.left", std::to_string(form.txtIn(1).left())}};
            // clang-format on
            for (const auto& [name, value] : expected)
                EXPECT_EQ(shot.at(name), value) << name;
            form.Check1.setValue(CheckBox::ticked);
        };
        platform.onPass = [&](long long pass) {
            if (pass == 700) {
                ASSERT_EQ(form.Text2.text(), "1");
                form.txtStein(0).setText("3");
                if (interrupted)
                    form.Command1_Click();
                form.cmdNeustart_Click();
            }
            if (pass == 701)
                expectStartedOver();
        };
        form.cmdSucher_Click();
        if (interrupted) {
            ASSERT_EQ(platform.passes, 700);
            expectStartedOver();
            form.cmdSucher_Click();
        }
        EXPECT_EQ(platform.passes, 700 + kFirstSolutionPass - 1);
        EXPECT_TRUE(sameSolutions(listed(), {kFirstSolution}));
    }
}

TEST_F(SearchTest, AllowedMatrixChangedMidRunAppliesToLaterTestsOnly) {
    platform.onPass = [&](long long pass) {
        if (pass == 2) {
            ASSERT_EQ(form.Placed(1), 1);
            forbid(1, 1); // already placed: stays until the search steps back over it
            forbid(2, 2); // not yet tried in field 2
        }
    };
    form.cmdSucher_Click();
    Allowed allowed = allAllowed();
    allowed[1][1] = false;
    EXPECT_TRUE(sameSolutions(listed(), enumerateStars(allowed)));
    EXPECT_EQ(listed().front()[0], 1);
}

TEST_F(SearchTest, BeendenMidRunRunsNoFurtherPass) {
    Snapshot ended;
    platform.onPass = [&](long long pass) {
        if (pass == 300) {
            form.cmdEnde_Click();
            ended = snapshot(form);
        }
    };
    form.cmdSucher_Click();
    EXPECT_EQ(platform.passes, 300);
    EXPECT_EQ(platform.endRequests, 1);
    EXPECT_EQ(changedKeys(ended, snapshot(form)), kNothing);
}

TEST_F(SearchTest, StartPressedMidRunDoesNothing) {
    platform.onPass = [&](long long pass) {
        ASSERT_TRUE(form.CurField >= 1 && form.CurField <= 12) << pass;
        if (pass <= 3 || pass == 546 || pass % 250'000 == 0 || pass == kFullRunPasses) {
            const Snapshot before = snapshot(form);
            form.cmdSucher_Click();
            ASSERT_EQ(platform.passes, pass);
            ASSERT_EQ(changedKeys(before, snapshot(form)), kNothing) << pass;
        }
    };
    form.cmdSucher_Click();
    expectCompleteRun();
}

TEST_F(SearchTest, MouseMovesMidRunChangeOnlyTheHelpLine) {
    form.Check1.setValue(CheckBox::ticked);
    platform.onPass = [&](long long pass) {
        const Snapshot before = snapshot(form);
        for (const auto& [control, move, text] : helpMoves())
            move(form);
        auto changed = changedKeys(before, snapshot(form));
        changed.erase("txtHilfe.text");
        ASSERT_EQ(changed, kNothing) << pass;
    };
    form.cmdSucher_Click();
    EXPECT_EQ(platform.passes, kFirstSolutionPass);
    EXPECT_EQ(placedNumbers(form), kFirstSolution);
    EXPECT_EQ(form.txtHilfe.text(), "Unterbrechen");
}

// The search against the plain enumerator on random restrictions. Some matrices keep one to three
// known stars allowed, so that most runs have solutions to compare.
TEST(SearchAgainstEnumeratorTest, RandomRestrictions) {
    const auto stars = enumerateStars(allAllowed());
    const char* seedText = std::getenv("HEXORIN_TEST_SEED");
    const unsigned baseSeed = seedText != nullptr
                                  ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                  : 20261208u; // fixed, so every run checks the same matrices
    for (unsigned run = 0; run < 300; ++run) {
        std::mt19937 generator(baseSeed + run);
        Allowed allowed{};
        for (auto kept = generator() % 4; kept > 0; --kept)
            for (std::size_t field = 0; const int number : stars[generator() % stars.size()])
                allowed[field++][static_cast<std::size_t>(number - 1)] = true;
        std::bernoulli_distribution allow(std::uniform_real_distribution(0.3, 0.6)(generator));
        ScriptedPlatform platform;
        Form1 form(platform);
        form.Form_Load();
        form.Check1.setValue(CheckBox::unticked);
        form.Check2.setValue(CheckBox::unticked);
        for (int label = 0; label <= 143; ++label) {
            bool& allowedHere =
                allowed[static_cast<std::size_t>(label / 12)][static_cast<std::size_t>(label % 12)];
            allowedHere = allowedHere || allow(generator);
            if (!allowedHere)
                form.lblErlaubt_Click(label);
        }
        form.cmdSucher_Click();
        const auto expected = enumerateStars(allowed);
        ASSERT_TRUE(sameSolutions(solutionsIn(form.txtErgebnisse.text()), expected))
            << "HEXORIN_TEST_SEED=" << baseSeed << ", run " << run;
        ASSERT_EQ(form.Text2.text(), expected.empty() ? "" : std::to_string(expected.size()));
    }
}

// What a listener hears: after a single step, what that step did; at every stop, why and how far;
// a solution stop with its numbers. Read at a pass, or (pass 0) once Start returns.
TEST_F(SearchTest, ListenerIsToldWhatTheSearchDid) {
    struct Case {
        int stopAtSolution;
        int singleStep;
        bool answerYes;
        long long interruptAt;
        long long readAt;
        std::string_view told;
        int forbiddenField = 0;
    };
    const std::string_view first = "Suche angehalten bei Lösung 1. 1, 2, 11, 12, 3, 5, 6, 10, 9, "
                                   "8, 4, 7.";
    for (const Case& c : {
             Case{0, 1, true, 2, 2, "1 in Feld 1 gesetzt."},
             Case{0, 1, true, 3, 3, "1 in Feld 2 passt nicht."},
             Case{0, 1, true, 15, 15, "Feld 2 geleert, zurück zu Feld 1.", 2},
             Case{0, 1, true, 547, 547, "7 in Feld 12 gesetzt, Lösung 1 gefunden."},
             Case{0, 1, false, 1, 1, "Einzelschritt aus."},
             Case{1, 0, true, 0, 0, first},
             Case{1, 0, true, kFirstSolutionPass, 0, first},
             Case{0, 0, true, 10, 0, "Suche unterbrochen, keine Lösung."},
             Case{0, 0, true, 600, 0, "Suche unterbrochen, 1 Lösung."},
             Case{0, 0, true, 0, 0, "Suche beendet, alle Möglichkeiten geprüft, 960 Lösungen."},
         }) {
        form.cmdNeustart_Click();
        if (c.forbiddenField != 0)
            form.cmdKeiner_Click(c.forbiddenField - 1);
        setChecks(c.stopAtSolution, c.singleStep);
        platform.answerYes = c.answerYes;
        platform.passes = 0;
        std::string heard;
        platform.onPass = [&](long long pass) {
            if (pass == c.readAt)
                heard = form.announcement.text();
            if (pass == c.interruptAt)
                form.Command1_Click();
        };
        form.cmdSucher_Click();
        EXPECT_EQ(c.readAt == 0 ? form.announcement.text() : heard, c.told) << c.readAt;
        form.cmdAlle_Click(c.forbiddenField == 0 ? 0 : c.forbiddenField - 1);
    }
    EXPECT_EQ(form.announcement.text(), "Alle Zahlen für Feld 1 erlaubt.");
    form.cmdKeiner_Click(11);
    EXPECT_EQ(form.announcement.text(), "Alle Zahlen für Feld 12 verboten.");
}

} // namespace
} // namespace hexorin::testing
