// The help line: the text each control's mouse-move handler writes there.

#include "window/form1.h"

namespace hexorin {
namespace {

constexpr std::string_view kGeneralHelp = "Hilfe: Mauszeiger auf das Objekt bewegen";
constexpr std::string_view kTriangleHelp = "Bei einer Lösung: Summe der Zahlen im Dreieck";
constexpr std::array<std::string_view, 8> kSumHelp{
    kTriangleHelp,
    kTriangleHelp,
    kTriangleHelp,
    kTriangleHelp,
    kTriangleHelp,
    kTriangleHelp,
    "Bei einer Lösung: Summe der Zahlen im inneren Sechseck",
    "Bei einer Lösung: Summe der Zahlen im äußeren Sechseck",
};

std::string fieldHelp(int field) {
    return "Feld Nr." + signedNumberText(field);
}

std::string gridLabelHelp(int index) {
    return "Für Feld" + signedNumberText(fieldOfGridLabel(index)) +
           " erlaubte Zahlen (erlaubt = weißer Hintergrund) anklicken!)";
}

// The same text for every control of an array; the index must still be one of the array's.
template <typename Array>
std::string sameForEach(const Array& array, int index, std::string_view text) {
    array.checkedIndex(index);
    return std::string(text);
}

} // namespace

// A star field is numbered like its field; number labels and row captions count from 0.
std::string Form1::helpText(ControlId control, int Index) const {
    switch (control) {
    case ControlId::Form1:
    case ControlId::Frame3:
        return std::string(kGeneralHelp);
    case ControlId::txtFeld:
        return fieldHelp(txtFeld.checkedIndex(Index));
    case ControlId::lblNr:
        return fieldHelp(lblNr.checkedIndex(Index) + 1);
    case ControlId::Label2:
        return fieldHelp(Label2.checkedIndex(Index) + 1);
    case ControlId::txtS:
        return std::string(kSumHelp[static_cast<std::size_t>(txtS.checkedIndex(Index))]);
    case ControlId::txtStein:
        return sameForEach(txtStein, Index, "Zahlenvorrat (dient der Illustration)");
    case ControlId::txtIn:
        return sameForEach(txtIn, Index, "Aktuelles Feld über das 'nachgedacht' wird");
    case ControlId::lblErlaubt:
        return gridLabelHelp(lblErlaubt.checkedIndex(Index));
    case ControlId::cmdAlle:
        return sameForEach(cmdAlle, Index, "Alle Zahlen von 1 bis 12 erlauben");
    case ControlId::cmdKeiner:
        return sameForEach(cmdKeiner, Index, "Alle Zahlen von 1 bis 12 verbieten");
    case ControlId::txtErgebnisse:
        return "Lösungen";
    case ControlId::Text2:
        return "Anzahl der bisher gefundenen Lösungen";
    case ControlId::Check1:
        return "Anhalten, wenn Lösung gefunden";
    case ControlId::Check2:
        return "Bei jedem Schleifenaufruf anhalten";
    case ControlId::cmdSucher:
        return "Suche starten bzw. fortsetzen";
    case ControlId::Command1:
        return "Unterbrechen";
    case ControlId::menu:
    case ControlId::Frame2:
    case ControlId::Frame1:
    case ControlId::shape1:
    case ControlId::txtHilfe:
    case ControlId::cmdNeustart:
    case ControlId::cmdEnde:
        return {};
    }
    return {};
}

void Form1::Form_MouseMove() {
    txtHilfe.setText(helpText(ControlId::Form1, 0));
}
void Form1::Frame3_MouseMove() {
    txtHilfe.setText(helpText(ControlId::Frame3, 0));
}
void Form1::txtFeld_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::txtFeld, Index));
}
void Form1::lblNr_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::lblNr, Index));
}
void Form1::txtS_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::txtS, Index));
}
void Form1::txtStein_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::txtStein, Index));
}
void Form1::txtIn_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::txtIn, Index));
}
void Form1::lblErlaubt_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::lblErlaubt, Index));
}
void Form1::Label2_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::Label2, Index));
}
void Form1::cmdAlle_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::cmdAlle, Index));
}
void Form1::cmdKeiner_MouseMove(int Index) {
    txtHilfe.setText(helpText(ControlId::cmdKeiner, Index));
}
void Form1::txtErgebnisse_MouseMove() {
    txtHilfe.setText(helpText(ControlId::txtErgebnisse, 0));
}
void Form1::Text2_MouseMove() {
    txtHilfe.setText(helpText(ControlId::Text2, 0));
}
void Form1::Check1_MouseMove() {
    txtHilfe.setText(helpText(ControlId::Check1, 0));
}
void Form1::Check2_MouseMove() {
    txtHilfe.setText(helpText(ControlId::Check2, 0));
}
void Form1::cmdSucher_MouseMove() {
    txtHilfe.setText(helpText(ControlId::cmdSucher, 0));
}
void Form1::Command1_MouseMove() {
    txtHilfe.setText(helpText(ControlId::Command1, 0));
}

} // namespace hexorin
