// The window object as it is created: every control with its initial values from the layout.

#include "window/form1.h"

#include "window/layout.h"

namespace hexorin {
namespace {

void styleTextBox(TextBox& box, int left, Color back, Color fore, std::string_view text) {
    box.setLeft(left);
    box.setBackColor(back);
    box.setForeColor(fore);
    box.setText(text);
}

void styleButton(CommandButton& button, int left, Color back, std::string_view caption) {
    button.setLeft(left);
    button.setBackColor(back);
    button.setCaption(caption);
}

} // namespace

Form1::Form1(Platform& platform)
    : platform_(platform) {
    createControls();
}

// The values every control has when the window is created, before Form_Load runs.
void Form1::createControls() {
    using namespace layout;
    for (int field = 1; field <= 12; ++field)
        styleTextBox(txtFeld(field), starPlace(field).field.x, kBlue, kWhite, "");
    styleTextBox(txtFeld(0), kSentinelField.left, kBlue, kWhite, "6.5");
    txtFeld(0).setVisible(false);
    for (int index = 0; index <= 11; ++index) {
        lblNr(index).setCaption(plainNumberText(index + 1));
        lblNr(index).setForeColor(kLabelGrey);
    }
    for (int index = 0; index <= 7; ++index)
        styleTextBox(txtS(index), sumBox(index).x, kFrameGrey, kSumRed, "");

    styleTextBox(txtStein(0), kHiddenPoolBox.left, kBlue, kWhite, "3");
    txtStein(0).setVisible(false);
    for (int number = 1; number <= 12; ++number) {
        styleTextBox(txtStein(number), poolBox(number).left, kPaleYellow, kBlack,
                     plainNumberText(number));
        styleTextBox(txtIn(number), rowBox(number).left, kPaleYellow, kBlack,
                     plainNumberText(number));
    }
    styleButton(shape1, kMarker.left, kPaleYellow, "");

    for (int index = 0; index <= 143; ++index) {
        lblErlaubt(index).setCaption("1");
        lblErlaubt(index).setBackColor(kWhite);
    }
    for (int row = 0; row <= 11; ++row) {
        Label2(row).setCaption("Nr");
        Label2(row).setForeColor(kLabelGrey);
        styleButton(cmdAlle(row), allowAllButton(row).left, kWhite, "");
        styleButton(cmdKeiner(row), forbidAllButton(row).left, kForbidAllBlue, "");
    }

    styleTextBox(txtErgebnisse, kSolutionList.left, kWhite, kBlack, "");
    styleTextBox(Text2, kCounter.left, kPaleGrey, kBlack, "");
    styleTextBox(txtHilfe, kHelpLine.left, kPaleGrey, kBlack, "");
    Check1.setCaption("Einzellösung");
    Check1.setValue(CheckBox::ticked);
    Check2.setCaption("Einzelschritt");
    Check2.setValue(CheckBox::ticked);
    styleButton(cmdSucher, kStartButton.left, kWhite, "Start");
    styleButton(Command1, kInterruptButton.left, kWhite, "");
}

} // namespace hexorin
