// What a listener who cannot see the window is told of the search: what a single step did, why
// the search stopped, and how far it has come. Screen readers speak a colon as a word: there is
// none.

#include <utility>

#include "window/form1.h"

namespace hexorin {
namespace {

std::string fieldText(int field) {
    return "Feld " + plainNumberText(field);
}

} // namespace

std::string Form1::solutionCountText() const {
    if (SolutionCount == 0)
        return "keine Lösung";
    return plainNumberText(SolutionCount) + (SolutionCount == 1 ? " Lösung" : " Lösungen");
}

std::string Form1::progressAnnouncement() const {
    return "Suche läuft, " + solutionCountText() + ".";
}

// Told before the question of the next step, so that the listener hears what "Ja" did.
void Form1::announcePass() {
    const PassRecord pass = std::exchange(lastPass_, PassRecord{});
    const std::string number = plainNumberText(pass.number);
    switch (pass.outcome) {
    case PassOutcome::None:
        return;
    case PassOutcome::Rejected:
        return announcement.say(number + " in " + fieldText(pass.field) + " passt nicht.");
    case PassOutcome::Accepted:
        return announcement.say(number + " in " + fieldText(pass.field) + " gesetzt.");
    case PassOutcome::Solved:
        return announcement.say(number + " in " + fieldText(pass.field) + " gesetzt, Lösung " +
                                plainNumberText(SolutionCount) + " gefunden.");
    case PassOutcome::SteppedBack:
        return announcement.say(fieldText(pass.field) + " geleert, zurück zu " +
                                fieldText(pass.field - 1) + ".");
    }
}

// A solution found in the loop's last pass stopped it, also where the interrupt came with it.
void Form1::announceStop() {
    const bool atSolution = std::exchange(lastPass_, PassRecord{}).outcome == PassOutcome::Solved &&
                            Check1.value() == CheckBox::ticked;
    if (programEnding_)
        return;
    if (CurField == 0)
        return announcement.say("Suche beendet, alle Möglichkeiten geprüft, " +
                                solutionCountText() + ".");
    if (!atSolution)
        return announcement.say("Suche unterbrochen, " + solutionCountText() + ".");
    std::string numbers;
    for (int field = 1; field <= kFieldCount; ++field)
        numbers += (field == 1 ? "" : ", ") + plainNumberText(Placed(field));
    announcement.say("Suche angehalten bei Lösung " + plainNumberText(SolutionCount) + ". " +
                     numbers + ".");
}

} // namespace hexorin
