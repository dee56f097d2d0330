// Start-up, the line sums and the reset of the board.

#include <clocale>
#include <cstring>
#include <limits>
#include <locale>

#include "form_fixture.h"

namespace hexorin::testing {
namespace {

constexpr auto kHighest = std::numeric_limits<std::int32_t>::max();
constexpr auto kLowest = std::numeric_limits<std::int32_t>::min();

using BoardTest = FormTest;

TEST_F(BoardTest, StartUpState) {
    // clang-format off
    Snapshot expected{
        {"CurField", "1"}, {"CurNumber", "0"}, {"SolutionCount", "0"}, {"StopFlag", "0"},
        {"Text2.text", ""}, {"txtErgebnisse.text", ""}, {"txtHilfe.text", ""},
        {"Check1.value", "1"}, {"Check2.value", "1"}, {"shape1.left", "240"},
        {"txtFeld(0).text", "6.5"}, {"txtFeld(0).visible", "0"}, {"txtStein(0).text", "3"},
        {"txtStein(0).visible", "0"}, {"Placed(0).value", "0"}, {"lblErlaubt(0).caption", "1"},
        {"lblErlaubt(11).caption", "12"}, {"lblErlaubt(12).caption", "1"},
        {"lblErlaubt(143).caption", "12"}};
    // clang-format on
    for (int i = 1; i <= 12; ++i) {
        expected[key("txtFeld", i, "text")] = "";
        expected[key("txtFeld", i, "back")] = "rgb(0,0,255)";
        expected[key("txtFeld", i, "fore")] = "rgb(255,255,255)";
        expected[key("txtIn", i, "text")] = "";
        expected[key("txtStein", i, "text")] = std::to_string(i);
        expected[key("Placed", i, "value")] = "0";
        expected[key("Label2", i - 1, "caption")] = std::to_string(i);
        expected[key("txtS", (i - 1) % 8, "text")] = "";
    }
    for (int i = 0; i <= 143; ++i) {
        expected[key("lblErlaubt", i, "caption")] = std::to_string(i % 12 + 1);
        expected[key("lblErlaubt", i, "tag")] = "1";
        expected[key("lblErlaubt", i, "back")] = "rgb(255,255,255)";
    }
    const Snapshot actual = snapshot(form);
    for (const auto& [name, value] : expected)
        EXPECT_EQ(actual.at(name), value) << name;
}

TEST_F(BoardTest, LineSumTable) {
    using FieldTexts = std::vector<std::pair<int, std::string>>;
    const std::string kHuge = "1" + std::string(300, '0');  // a double
    const std::string kHuger = "1" + std::string(400, '0'); // infinite
    const FieldTexts everyField{{1, "99"},   {2, "abc"},  {3, kHuger},        {4, "-4"},
                                {5, "-1e9"}, {6, "0.5"},  {7, "12"},          {8, "7"},
                                {9, ""},     {10, kHuge}, {11, "-" + kHuger}, {12, "3"}};
    const FieldTexts line5{{6, "5"}, {8, "10"}, {11, "4"}, {12, "7"}};
    FieldTexts line5AndOthers = line5;
    line5AndOthers.insert(line5AndOthers.end(), {{2, kHuger}, {9, "x"}, {10, "-9"}});
    struct Case {
        FieldTexts texts;
        int field;
        std::int32_t expected;
    };
    // clang-format off
    const std::vector<Case> cases{
        // Fields that complete no line read the sentinel four times, whatever the star shows.
        {{}, 1, 26}, {everyField, 1, 26}, {everyField, 2, 26}, {everyField, 3, 26},
        {everyField, 5, 26}, {everyField, 6, 26}, {everyField, 8, 26}, {everyField, 10, 26},
        {{{1, "1"}, {2, "2"}, {3, "11"}, {4, "12"}}, 4, 26},
        {{{1, "1"}, {2, "2"}, {3, "11"}, {4, ""}}, 4, 14},
        {line5, 12, 26}, {line5AndOthers, 12, 26},
        // Halves of the sum go to the even neighbour.
        {{{1, "12.5"}, {4, "13"}}, 4, 26}, {{{1, "13.5"}, {4, "13"}}, 4, 26},
        {{{1, "14.5"}, {4, "13"}}, 4, 28}, {{{5, "0.5"}, {7, "25"}}, 7, 26},
        // Hostile texts saturate, and NaN from inf - inf gives the smallest value.
        {{{1, "99999999999"}}, 4, kHighest}, {{{7, kHuge}}, 9, kHighest},
        {{{3, "-" + kHuge}}, 11, kLowest}, {{{11, kHuger}}, 12, kHighest},
        {{{5, "-" + kHuger}}, 7, kLowest}, {{{1, kHuger}, {2, "-" + kHuger}, {4, "12"}}, 4, kLowest},
        {{{6, "-" + kHuger}, {12, kHuger}}, 12, kLowest}};
    // clang-format on
    for (const Case& c : cases) {
        ScriptedPlatform quiet;
        Form1 board(quiet);
        board.Form_Load();
        std::string texts;
        for (const auto& [field, text] : c.texts) {
            board.txtFeld(field).setText(text);
            texts += " " + std::to_string(field) + "='" + text + "'";
        }
        EXPECT_EQ(board.LineSum(c.field), c.expected) << "LineSum(" << c.field << ")" << texts;
    }
}

// Restores the C and C++ global locales on leaving a scope.
class LocaleGuard {
public:
    LocaleGuard()
        : cLocale_(std::setlocale(LC_ALL, nullptr)) {}
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
    ~LocaleGuard() {
        std::setlocale(LC_ALL, cLocale_.c_str());
        std::locale::global(cppLocale_);
    }

private:
    std::string cLocale_;
    std::locale cppLocale_;
};

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

// The sentinel reads 6.5 under any locale. Where no comma locale is installed, a comma facet in
// the global C++ locale stands in for one.
TEST_F(BoardTest, SentinelReadsTheSameUnderACommaLocale) {
    const LocaleGuard guard;
    const auto expectSixAndAHalf = [&](const char* name) {
        EXPECT_EQ(lenientParse("6.5"), 6.5) << name;
        for (const int field : {1, 2, 3, 5, 6, 8, 10})
            EXPECT_EQ(form.LineSum(field), 26) << name << ", LineSum(" << field << ")";
    };
    bool commaSeen = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            continue;
        commaSeen = commaSeen || std::strcmp(std::localeconv()->decimal_point, ",") == 0;
        expectSixAndAHalf(name);
    }
    if (commaSeen)
        return;
    // The locale owns the facet and deletes it with its last copy.
    std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    std::setlocale(LC_ALL, "C.UTF-8");
    expectSixAndAHalf("comma numpunct");
}

// A board after two solutions, with numbers forbidden, the help line written and an interrupt
// pending.
TEST_F(BoardTest, ResetKeepsWhatItLeavesAloneAndRestoresTheRest) {
    setChecks(CheckBox::ticked, CheckBox::unticked);
    forbid(12, 1);
    forbid(5, 12);
    form.cmdSucher_Click();
    form.cmdSucher_Click();
    form.txtS_MouseMove(6);
    form.Command1_Click();
    ASSERT_EQ(form.Text2.text(), "2");
    const Snapshot before = snapshot(form);
    form.ResetSearch();
    const Snapshot after = snapshot(form);
    EXPECT_EQ(changedKeys(before, after,
                          {"lblErlaubt", "Label2", "txtS(", "StopFlag", "shape1", "Check",
                           "txtHilfe", "txtFeld(0)", "txtStein(0)"}),
              kNothing);
    // clang-format off
    Snapshot expected{
        {"Text2.text", ""}, {"txtErgebnisse.text", ""}, {"CurField", "1"}, {"CurNumber", "0"},
        {"SolutionCount", "0"}, {"StopFlag", "1"}, {"lblErlaubt(132).tag", "0"},
        {"txtS(7).text", "40"}, {"shape1.left", std::to_string(form.txtIn(12).left())}};
    // clang-format on
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(after.at(key("txtFeld", i, "back")), before.at(key("txtFeld", i, "back")));
        EXPECT_EQ(after.at(key("txtFeld", i, "fore")), before.at(key("txtFeld", i, "fore")));
        expected[key("txtFeld", i, "text")] = "";
        expected[key("txtIn", i, "text")] = "";
        expected[key("txtStein", i, "text")] = std::to_string(i);
        expected[key("Placed", i, "value")] = "0";
    }
    for (const auto& [name, value] : expected)
        EXPECT_EQ(after.at(name), value) << name;

    form.ResetSearch();
    EXPECT_EQ(snapshot(form), after);
}

// Typed texts are board state: a typed pool number is free again, a typed field counts in sums.
TEST_F(BoardTest, TypedNumbersTakePartInTheSearchUntilTheNextReset) {
    setChecks(CheckBox::unticked, CheckBox::unticked);
    platform.onPass = [&](long long pass) {
        if (pass == 2) {
            ASSERT_EQ(form.txtStein(1).text(), ""); // 1 is in field 1
            form.txtStein(1).setText("1");
            form.Command1_Click();
        }
    };
    form.cmdSucher_Click();
    EXPECT_EQ(placedNumbers(form), (Solution{1, 1}));

    form.ResetSearch();
    bool typed = false;
    platform.onPass = [&](long long) {
        if (!typed && form.CurField == 4 && placedNumbers(form) == Solution{1, 2, 3}) {
            form.txtFeld(1).setText("10"); // field 4 now needs 26 - 10 - 2 - 3 = 11
            typed = true;
        }
        if (form.CurField == 5)
            form.Command1_Click();
    };
    form.cmdSucher_Click();
    EXPECT_EQ(placedNumbers(form), (Solution{1, 2, 3, 11}));
    EXPECT_EQ(form.txtFeld(1).text(), "10");

    form.txtStein(3).setText("7");
    form.ResetSearch();
    EXPECT_EQ(form.txtFeld(1).text(), "");
    EXPECT_EQ(form.txtStein(3).text(), "3");
}

} // namespace
} // namespace hexorin::testing
