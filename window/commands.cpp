// The menu commands "Startwerte" and "Beenden", and the end of the program.

#include "window/form1.h"

namespace hexorin {

void Form1::cmdNeustart_Click() {
    ResetSearch();
    announcement.say("Startwerte gesetzt.");
}

void Form1::cmdEnde_Click() {
    endProgram();
}

void Form1::closeRequested() {
    endProgram();
}

// A running search sees the flag when its event turn returns and leaves its loop at once.
void Form1::endProgram() {
    if (programEnding_)
        return;
    programEnding_ = true;
    platform_.endProgram();
}

} // namespace hexorin
