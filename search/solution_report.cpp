// The report of a solution: its line in the solution list and the sums of its figures.

#include <array>
#include <initializer_list>

#include "window/form1.h"

namespace hexorin {
namespace {

// The figures whose sums are shown, in the order the boxes are written.
struct Figure {
    int sumBox;
    std::initializer_list<int> fields;
};
const std::array<Figure, 8> kFigures{{
    {3, {1, 2, 9}},
    {0, {2, 3, 10}},
    {1, {3, 4, 5}},
    {2, {5, 6, 11}},
    {4, {6, 7, 8}},
    {5, {8, 9, 12}},
    {6, {2, 3, 5, 6, 8, 9}},
    {7, {1, 4, 7, 10, 11, 12}},
}};

// The number right-aligned in three characters.
std::string cell(int number) {
    const std::string padded = "   " + signedNumberText(number);
    return padded.substr(padded.size() - 3);
}

} // namespace

void Form1::ShowSolution() {
    appendSolutionLine();
    showFigureSums();
    txtErgebnisse.appendText("\r\n");
}

// Each piece is appended to the list as it stands, text the user typed into it included.
void Form1::appendSolutionLine() {
    for (int field = 1; field <= 12; ++field) {
        txtErgebnisse.appendText(cell(Placed(field)));
        if (field < 12)
            txtErgebnisse.appendText(",");
    }
}

void Form1::showFigureSums() {
    for (const Figure& figure : kFigures) {
        int sum = 0;
        for (const int field : figure.fields)
            sum += Placed(field);
        txtS(figure.sumBox).setText(plainNumberText(sum));
    }
}

} // namespace hexorin
