// The solution list's lines and the figure sums of each solution reported.

#include "form_fixture.h"

namespace hexorin::testing {
namespace {

// The fields of each figure whose sum goes into txtS(0) to txtS(7).
const std::array<std::vector<int>, 8> kFigures{{{2, 3, 10},
                                                {3, 4, 5},
                                                {5, 6, 11},
                                                {1, 2, 9},
                                                {6, 7, 8},
                                                {8, 9, 12},
                                                {2, 3, 5, 6, 8, 9},
                                                {1, 4, 7, 10, 11, 12}}};

void expectFigureSums(const Form1& form, const Solution& star) {
    for (std::size_t box = 0; box < kFigures.size(); ++box) {
        int sum = 0;
        for (const int field : kFigures[box])
            sum += star[static_cast<std::size_t>(field - 1)];
        EXPECT_EQ(form.txtS(static_cast<int>(box)).text(), std::to_string(sum))
            << "txtS(" << box << ")";
    }
}

class SolutionReportTest : public FormTest {
protected:
    void show(const Solution& star) {
        for (int field = 1; field <= 12; ++field)
            form.Placed(field) = star[static_cast<std::size_t>(field - 1)];
        form.ShowSolution();
    }
};

TEST_F(SolutionReportTest, FirstSolutionLineAndSums) {
    form.CurField = 12;
    form.CurNumber = 7;
    form.SolutionCount = 1;
    show(kFirstSolution);
    EXPECT_EQ(form.txtErgebnisse.text(), "  1,  2, 11, 12,  3,  5,  6, 10,  9,  8,  4,  7\r\n");
    EXPECT_EQ(form.txtErgebnisse.text().size(), 49U);
    const std::array<const char*, 8> sums{"21", "26", "12", "12", "21", "26", "40", "38"};
    for (int box = 0; box <= 7; ++box)
        EXPECT_EQ(form.txtS(box).text(), sums[static_cast<std::size_t>(box)]) << box;
    // The report changes no variable of the search.
    EXPECT_EQ(form.CurField, 12);
    EXPECT_EQ(form.CurNumber, 7);
    EXPECT_EQ(form.SolutionCount, 1);
    EXPECT_EQ(placedNumbers(form), kFirstSolution);
}

TEST_F(SolutionReportTest, ThreeSolutionsOfTheSearchAfterAReset) {
    setChecks(CheckBox::ticked, CheckBox::unticked);
    form.txtErgebnisse.setText("alt\r\n");
    form.cmdNeustart_Click();
    for (int press = 1; press <= 3; ++press) {
        form.cmdSucher_Click();
        expectFigureSums(form, placedNumbers(form));
    }
    const std::string& list = form.txtErgebnisse.text();
    EXPECT_EQ(list.size(), 147U);
    EXPECT_TRUE(list.ends_with("\r\n"));
    const auto solutions = listed();
    ASSERT_EQ(solutions.size(), 3U);
    EXPECT_EQ(solutions[0], kFirstSolution);
    EXPECT_EQ(solutions[1], kSecondSolution);
    EXPECT_EQ(solutions[2], placedNumbers(form));
}

TEST_F(SolutionReportTest, TypedTextStaysInFrontWithoutALineBreak) {
    for (const std::string typed : {"Notiz", "Notiz\r\n", "  1,"}) {
        form.txtErgebnisse.setText(typed);
        show(kFirstSolution);
        EXPECT_EQ(form.txtErgebnisse.text(),
                  typed + "  1,  2, 11, 12,  3,  5,  6, 10,  9,  8,  4,  7\r\n");
    }
    // The same through the search: the typed text survives until a reset.
    form.cmdNeustart_Click();
    setChecks(CheckBox::ticked, CheckBox::unticked);
    form.txtErgebnisse.setText("Notiz");
    form.cmdSucher_Click();
    EXPECT_EQ(form.txtErgebnisse.text(),
              "Notiz  1,  2, 11, 12,  3,  5,  6, 10,  9,  8,  4,  7\r\n");
}

} // namespace
} // namespace hexorin::testing
