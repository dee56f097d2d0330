// What a screen reader calls each control, and which controls the help line explains.

#include "window/control_id.h"

#include <array>

#include "window/grid_index.h"

namespace hexorin {
namespace {

// The sum boxes, by index: six triangles named by the field at their tip, then the hexagons.
constexpr std::array<std::string_view, 8> kSumNames{
    "Summe Dreieck an Feld 10", "Summe Dreieck an Feld 4", "Summe Dreieck an Feld 11",
    "Summe Dreieck an Feld 1",  "Summe Dreieck an Feld 7", "Summe Dreieck an Feld 12",
    "Summe inneres Sechseck",   "Summe äußeres Sechseck",
};

std::string numbered(std::string_view before, int number, std::string_view after = {}) {
    return std::string(before) + std::to_string(number) + std::string(after);
}

} // namespace

std::string accessibleName(ControlId id, int index) {
    using enum ControlId;
    switch (id) {
    case menu:
        return "Menü";
    case Form1:
        return "Fensterfläche";
    case Frame3:
        return "Stern";
    case txtFeld:
        return index == 0 ? "Verborgenes Feld" : numbered("Feld ", index);
    case lblNr:
        return numbered("Feldnummer ", index + 1);
    case txtS:
        return std::string(kSumNames.at(static_cast<std::size_t>(index)));
    case txtStein:
        return index == 0 ? "Verborgener Vorrat" : numbered("Zahlenvorrat ", index);
    case Frame2:
        return "Zahlenvorrat";
    case Frame1:
        return "Zeile der gesetzten Zahlen";
    case txtIn:
        return numbered("Feld ", index, " (Zeile)");
    case shape1:
        return "Markierung über dem aktuellen Feld";
    case Label2:
        return numbered("Feld ", index + 1, " (erlaubte Zahlen)");
    case lblErlaubt:
        return numbered("Zahl ", numberOfGridLabel(index), " in Feld ") +
               std::to_string(fieldOfGridLabel(index));
    case cmdAlle:
        return numbered("Alle Zahlen für Feld ", index + 1, " erlauben");
    case cmdKeiner:
        return numbered("Alle Zahlen für Feld ", index + 1, " verbieten");
    case txtErgebnisse:
        return "Lösungen";
    case Text2:
        return "Anzahl der Lösungen";
    case Check1:
        return "Einzellösung";
    case Check2:
        return "Einzelschritt";
    case cmdSucher:
        return "Start";
    case Command1:
        return "Unterbrechen";
    case txtHilfe:
        return "Hilfezeile";
    case cmdNeustart:
    case cmdEnde:
        return {};
    }
    return {};
}

bool explainedByHelpLine(ControlId id, int index) {
    using enum ControlId;
    switch (id) {
    case txtFeld:
    case txtStein:
        return index != 0;
    case Form1:
    case Frame3:
    case lblNr:
    case txtS:
    case txtIn:
    case Label2:
    case lblErlaubt:
    case cmdAlle:
    case cmdKeiner:
    case txtErgebnisse:
    case Text2:
    case Check1:
    case Check2:
    case cmdSucher:
    case Command1:
        return true;
    case menu:
    case Frame2:
    case Frame1:
    case shape1:
    case txtHilfe:
    case cmdNeustart:
    case cmdEnde:
        return false;
    }
    return false;
}

} // namespace hexorin
