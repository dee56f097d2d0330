// The board: start-up (Form_Load) with the line check table, the line sum and the reset.

#include "window/form1.h"

namespace hexorin {
namespace {

// The line each field completes, as the fields of that line with the completing field last.
struct CompletedLine {
    int field;
    LineCheckRow row;
};
constexpr std::array<CompletedLine, 5> kCompletedLines{{
    {4, {{1, 2, 3}, 4}},
    {7, {{4, 5, 6}, 7}},
    {9, {{1, 7, 8}, 9}},
    {11, {{3, 5, 10}, 11}},
    {12, {{6, 8, 11}, 12}},
}};

} // namespace

void Form1::Form_Load() {
    for (int i = 0; i <= 12; ++i) {
        LineCheck(i) = LineCheckRow{};
        Placed(i) = 0;
    }
    for (const auto& [field, row] : kCompletedLines)
        LineCheck(field) = row;
    ResetSearch();
    for (int i = 0; i <= 143; ++i) {
        lblErlaubt(i).setCaption(plainNumberText(numberOfGridLabel(i)));
        lblErlaubt(i).setTag("1");
    }
    for (int i = 0; i <= 11; ++i)
        Label2(i).setCaption(plainNumberText(i + 1));
}

// Rows of fields that complete no line name the sentinel four times: 4 × 6.5 = 26.
std::int32_t Form1::LineSum(int field) const {
    const LineCheckRow& row = LineCheck(field);
    double sum = 0;
    for (const int index : row.fields)
        sum += txtFeld(index).numericValue();
    sum += txtFeld(roundToInt32(row.lastField)).numericValue();
    return roundToInt32(sum);
}

void Form1::ResetSearch() {
    for (int i = 1; i <= 12; ++i) {
        txtStein(i).setText(plainNumberText(i));
        txtFeld(i).setText("");
        txtIn(i).setText("");
        txtErgebnisse.setText("");
        Placed(i) = 0;
        SolutionCount = 0;
    }
    Text2.setText("");
    CurField = 1;
    CurNumber = Placed(1);
}

} // namespace hexorin
