// The allowed-number grid's handlers: a click on one label and the two row commands.

#include "window/form1.h"

namespace hexorin {

// The tag is the allowed matrix; the colour only shows it to the user.
void Form1::lblErlaubt_Click(int Index) {
    Label& label = lblErlaubt(Index);
    const double tag = strictParse(label.tag()).value_or(0);
    label.setTag(plainNumberText(static_cast<long long>(1 - tag)));
    const auto newTag = strictParse(label.tag());
    if (newTag == 1.0)
        label.setBackColor(paletteColor(PaletteIndex::White));
    if (newTag == 0.0)
        label.setBackColor(paletteColor(PaletteIndex::DarkBlue));
}

// Each button checks its own index, so a bad one is reported under the button's name.
void Form1::cmdAlle_Click(int Index) {
    const int row = cmdAlle.checkedIndex(Index);
    setGridRow(row, paletteColor(PaletteIndex::White), "1");
    announcement.say("Alle Zahlen für Feld " + plainNumberText(row + 1) + " erlaubt.");
}

void Form1::cmdKeiner_Click(int Index) {
    const int row = cmdKeiner.checkedIndex(Index);
    setGridRow(row, paletteColor(PaletteIndex::DarkBlue), "0");
    announcement.say("Alle Zahlen für Feld " + plainNumberText(row + 1) + " verboten.");
}

void Form1::setGridRow(int row, Color color, std::string_view tag) {
    for (int number = 1; number <= kHighestNumber; ++number) {
        Label& label = lblErlaubt(gridLabelIndex(row + 1, number));
        label.setBackColor(color);
        label.setTag(tag);
    }
}

} // namespace hexorin
