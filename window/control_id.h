#pragma once

// Every control of the window, listed once. The view takes from here each widget's object name,
// what a screen reader calls it and whether the help line explains it; the help text itself is
// Form1::helpText. Each of these is a switch over ControlId without a default, so a control added
// to the list without its cases is a compiler warning (an error in the test build).

#include <cstdint>
#include <string>
#include <string_view>

namespace hexorin {

enum class ControlId : std::uint8_t {
    menu, // the menu bar, which holds cmdNeustart and cmdEnde
    Form1,
    Frame3,
    txtFeld,
    lblNr,
    txtS,
    txtStein,
    Frame2,
    Frame1,
    txtIn,
    shape1,
    Label2,
    lblErlaubt,
    cmdAlle,
    cmdKeiner,
    txtErgebnisse,
    Text2,
    Check1,
    Check2,
    cmdSucher,
    Command1,
    txtHilfe,
    cmdNeustart,
    cmdEnde,
};

// An index for a control that is no array.
inline constexpr int kNoIndex = -1;

// The control's name in the code, and its widget's object name without the index.
constexpr std::string_view controlName(ControlId id) {
    using enum ControlId;
    switch (id) {
    case menu:
        return "menu";
    case Form1:
        return "Form1";
    case Frame3:
        return "Frame3";
    case txtFeld:
        return "txtFeld";
    case lblNr:
        return "lblNr";
    case txtS:
        return "txtS";
    case txtStein:
        return "txtStein";
    case Frame2:
        return "Frame2";
    case Frame1:
        return "Frame1";
    case txtIn:
        return "txtIn";
    case shape1:
        return "shape1";
    case Label2:
        return "Label2";
    case lblErlaubt:
        return "lblErlaubt";
    case cmdAlle:
        return "cmdAlle";
    case cmdKeiner:
        return "cmdKeiner";
    case txtErgebnisse:
        return "txtErgebnisse";
    case Text2:
        return "Text2";
    case Check1:
        return "Check1";
    case Check2:
        return "Check2";
    case cmdSucher:
        return "cmdSucher";
    case Command1:
        return "Command1";
    case txtHilfe:
        return "txtHilfe";
    case cmdNeustart:
        return "cmdNeustart";
    case cmdEnde:
        return "cmdEnde";
    }
    return {};
}

// What a screen reader calls the control, or the element of a control array at the index. The
// menu entries read their captions and get no name of their own.
[[nodiscard]] std::string accessibleName(ControlId id, int index = kNoIndex);

// Whether the control's mouse-move handler writes the help line, so that a screen reader reads
// that text as its description. The hidden elements 0 of txtFeld and txtStein get no moves.
[[nodiscard]] bool explainedByHelpLine(ControlId id, int index = kNoIndex);

} // namespace hexorin
