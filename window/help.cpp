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
    return "Für Feld" + signedNumberText(index / 12 + 1) +
           " erlaubte Zahlen (erlaubt = weißer Hintergrund) anklicken!)";
}

} // namespace

void Form1::Form_MouseMove() {
    txtHilfe.setText(kGeneralHelp);
}
void Form1::Frame3_MouseMove() {
    txtHilfe.setText(kGeneralHelp);
}

// A star field is numbered like its field; number labels and row captions count from 0.
void Form1::txtFeld_MouseMove(int Index) {
    txtHilfe.setText(fieldHelp(txtFeld.checkedIndex(Index)));
}
void Form1::lblNr_MouseMove(int Index) {
    txtHilfe.setText(fieldHelp(lblNr.checkedIndex(Index) + 1));
}
void Form1::Label2_MouseMove(int Index) {
    txtHilfe.setText(fieldHelp(Label2.checkedIndex(Index) + 1));
}

void Form1::txtS_MouseMove(int Index) {
    txtHilfe.setText(kSumHelp[static_cast<std::size_t>(txtS.checkedIndex(Index))]);
}
void Form1::txtStein_MouseMove(int Index) {
    txtStein.checkedIndex(Index);
    txtHilfe.setText("Zahlenvorrat (dient der Illustration)");
}
void Form1::txtIn_MouseMove(int Index) {
    txtIn.checkedIndex(Index);
    txtHilfe.setText("Aktuelles Feld über das 'nachgedacht' wird");
}
void Form1::lblErlaubt_MouseMove(int Index) {
    txtHilfe.setText(gridLabelHelp(lblErlaubt.checkedIndex(Index)));
}
void Form1::cmdAlle_MouseMove(int Index) {
    cmdAlle.checkedIndex(Index);
    txtHilfe.setText("Alle Zahlen von 1 bis 12 erlauben");
}
void Form1::cmdKeiner_MouseMove(int Index) {
    cmdKeiner.checkedIndex(Index);
    txtHilfe.setText("Alle Zahlen von 1 bis 12 verbieten");
}

void Form1::txtErgebnisse_MouseMove() {
    txtHilfe.setText("Lösungen");
}
void Form1::Text2_MouseMove() {
    txtHilfe.setText("Anzahl der bisher gefundenen Lösungen");
}
void Form1::Check1_MouseMove() {
    txtHilfe.setText("Anhalten, wenn Lösung gefunden");
}
void Form1::Check2_MouseMove() {
    txtHilfe.setText("Bei jedem Schleifenaufruf anhalten");
}
void Form1::cmdSucher_MouseMove() {
    txtHilfe.setText("Suche starten bzw. fortsetzen");
}
void Form1::Command1_MouseMove() {
    txtHilfe.setText("Unterbrechen");
}

} // namespace hexorin
