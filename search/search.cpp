// The backtracking search behind Start, one pass per turn of the event loop, and the interrupt.

#include "window/form1.h"

namespace hexorin {
namespace {

constexpr int kLineTarget = 26;

} // namespace

void Form1::cmdSucher_Click() {
    // Start pressed while the loop runs arrives inside a pass; a second loop nested in the
    // first would leave the first on a board it no longer knows, so the press does nothing.
    if (searchRunning_ || programEnding_)
        return;
    if (CurField == 0) {
        platform_.showMessage("Neue Suche, Angangswerte gesetzt");
        // The box may have been open when the program was told to end.
        if (programEnding_)
            return;
        ResetSearch();
    }
    StopFlag = 0;
    searchRunning_ = true;
    runSearchLoop();
    searchRunning_ = false;
    announceStop();
}

void Form1::Command1_Click() {
    StopFlag = 1;
}

void Form1::runSearchLoop() {
    while (runPass() == PassResult::Continue) {
    }
}

Form1::PassResult Form1::runPass() {
    if (shouldLeaveLoop())
        return PassResult::LeaveLoop;
    askSingleStep();
    platform_.processEvents();
    if (programEnding_)
        return PassResult::LeaveLoop;
    returnNumberToPool(CurField);
    shape1.setLeft(txtIn(CurField).left());
    ++CurNumber;
    if (CurNumber > kHighestNumber)
        return stepBack();
    TextBox& field = txtFeld(CurField);
    field.setText(NumberText(CurNumber));
    field.setForeColor(paletteColor(PaletteIndex::Red));
    if (!canAccept()) {
        lastPass_ = {CurField, CurNumber, PassOutcome::Rejected};
        return PassResult::Continue;
    }
    accept();
    lastPass_ = {CurField, CurNumber, PassOutcome::Accepted};
    return advanceField();
}

bool Form1::shouldLeaveLoop() const {
    return CurField == 0 || StopFlag == 1 || programEnding_;
}

void Form1::askSingleStep() {
    if (Check2.value() == CheckBox::unticked)
        return;
    announcePass();
    // An answer cut off by the end of the program changes nothing.
    if (!platform_.askYesNo("Jede Schleife zeigen ?", "Backtracking") && !programEnding_) {
        Check2.setValue(CheckBox::unticked);
        announcement.say("Einzelschritt aus.");
    }
}

// Placed(0) is 0, so a field without a number writes "0" into the hidden pool box.
void Form1::returnNumberToPool(int field) {
    const int number = Placed(field);
    txtStein(number).setText(NumberText(number));
}

bool Form1::canAccept() const {
    // A number is free while its pool box holds it; blanks typed into an empty box free nothing.
    if (holdsOnlyBlanks(txtStein(CurNumber).text()))
        return false;
    if (!tagAllows(lblErlaubt(gridLabelIndex(CurField, CurNumber)).tag()))
        return false;
    return LineSum(CurField) == kLineTarget;
}

void Form1::accept() {
    TextBox& field = txtFeld(CurField);
    const NumberText number(CurNumber);
    field.setText(number);
    txtStein(CurNumber).setText("");
    txtIn(CurField).setText(number);
    Placed(CurField) = CurNumber;
    const bool even = CurNumber % 2 == 0;
    field.setBackColor(paletteColor(even ? PaletteIndex::Blue : PaletteIndex::White));
    field.setForeColor(paletteColor(even ? PaletteIndex::White : PaletteIndex::Blue));
}

Form1::PassResult Form1::advanceField() {
    ++CurField;
    if (CurField <= kFieldCount) {
        CurNumber = Placed(CurField);
        return PassResult::Continue;
    }
    ++SolutionCount;
    Text2.setText(plainNumberText(SolutionCount));
    CurField = kFieldCount;
    ShowSolution();
    lastPass_.outcome = PassOutcome::Solved;
    return Check1.value() == CheckBox::ticked ? PassResult::LeaveLoop : PassResult::Continue;
}

Form1::PassResult Form1::stepBack() {
    lastPass_ = {CurField, 0, PassOutcome::SteppedBack};
    txtFeld(CurField).setText("");
    returnNumberToPool(CurField);
    Placed(CurField) = 0;
    txtIn(CurField).setText("");
    --CurField;
    if (CurField <= 0)
        return PassResult::LeaveLoop;
    CurNumber = Placed(CurField);
    return PassResult::Continue;
}

} // namespace hexorin
