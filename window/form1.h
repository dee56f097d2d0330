#pragma once

// The program's one window: every control, every board variable, and every routine and event
// handler, under the names the program has always used for them.

#include <array>
#include <cstdint>
#include <string>

#include "window/control_id.h"
#include "window/controls.h"
#include "window/grid_index.h"
#include "window/indexed_array.h"
#include "window/platform.h"

namespace hexorin {

// One row of the line check: the fields whose sum must be 26 when a number is tried in a field.
// The fourth field is kept as a real number and rounded when it is used.
struct LineCheckRow {
    std::array<int, 3> fields{};
    double lastField = 0;
};

class Form1 {
public:
    explicit Form1(Platform& platform);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The controls, created with their initial values in window/form1.cpp.
    // Star, on Frame3.
    IndexedArray<TextBox, 0, 12> txtFeld{
        controlName(ControlId::txtFeld)}; // 0 is the hidden "6.5" sentinel
    IndexedArray<Label, 0, 11> lblNr{controlName(ControlId::lblNr)};
    IndexedArray<TextBox, 0, 7> txtS{controlName(ControlId::txtS)};
    // Pool, on Frame2; 0 is hidden.
    IndexedArray<TextBox, 0, 12> txtStein{controlName(ControlId::txtStein)};
    // Row of placed numbers and its marker, on Frame1.
    IndexedArray<TextBox, 1, 12> txtIn{controlName(ControlId::txtIn)};
    CommandButton shape1;
    // Allowed-number grid.
    IndexedArray<Label, 0, 143> lblErlaubt{controlName(ControlId::lblErlaubt)};
    IndexedArray<Label, 0, 11> Label2{controlName(ControlId::Label2)};
    IndexedArray<CommandButton, 0, 11> cmdAlle{controlName(ControlId::cmdAlle)};
    IndexedArray<CommandButton, 0, 11> cmdKeiner{controlName(ControlId::cmdKeiner)};
    // Right-hand side and help line.
    TextBox txtErgebnisse;
    TextBox Text2;
    CheckBox Check1; // stop at each solution
    CheckBox Check2; // single step
    CommandButton cmdSucher;
    CommandButton Command1;
    TextBox txtHilfe;
    // What a screen reader is told of the search and the commands: search/narration.cpp.
    Announcement announcement;

    // Board variables, given their first values by Form_Load.
    IndexedArray<int, 0, 12> Placed{"Placed"};
    int CurField = 0;
    int CurNumber = 0;
    int SolutionCount = 0;
    std::int32_t StopFlag = 0;
    IndexedArray<LineCheckRow, 0, 12> LineCheck{"LineCheck"};

    // Start-up and board model: search/board.cpp.
    void Form_Load();
    [[nodiscard]] std::int32_t LineSum(int field) const;
    void ResetSearch();

    // Search: search/search.cpp.
    void cmdSucher_Click();
    void Command1_Click();
    // Solution report: search/solution_report.cpp.
    void ShowSolution();

    // Allowed-number grid: window/grid.cpp.
    void lblErlaubt_Click(int Index);
    void cmdAlle_Click(int Index);
    void cmdKeiner_Click(int Index);

    // Help line: window/help.cpp. helpText is what the mouse-move handler of the control writes
    // there, empty for a control without one; the index counts only for control arrays.
    [[nodiscard]] std::string helpText(ControlId control, int Index) const;
    void Form_MouseMove();
    void Frame3_MouseMove();
    void txtFeld_MouseMove(int Index);
    void lblNr_MouseMove(int Index);
    void txtS_MouseMove(int Index);
    void txtStein_MouseMove(int Index);
    void txtIn_MouseMove(int Index);
    void lblErlaubt_MouseMove(int Index);
    void Label2_MouseMove(int Index);
    void cmdAlle_MouseMove(int Index);
    void cmdKeiner_MouseMove(int Index);
    void txtErgebnisse_MouseMove();
    void Text2_MouseMove();
    void Check1_MouseMove();
    void Check2_MouseMove();
    void cmdSucher_MouseMove();
    void Command1_MouseMove();

    // Menu commands and the end of the program: window/commands.cpp.
    void cmdNeustart_Click();
    void cmdEnde_Click();
    // A close request from the window frame ends the program like "Beenden".
    void closeRequested();

    // The search's progress in a sentence, for a listener during a run at full speed.
    [[nodiscard]] std::string progressAnnouncement() const;

    // True while cmdSucher_Click runs its loop.
    [[nodiscard]] bool searchRunning() const { return searchRunning_; }
    // True once the program is ending: no further pass and no further handler may run.
    [[nodiscard]] bool programEnding() const { return programEnding_; }

private:
    enum class PassResult : std::uint8_t { Continue, LeaveLoop };
    // What the last pass did, kept for the listener of a single step.
    enum class PassOutcome : std::uint8_t { None, Rejected, Accepted, Solved, SteppedBack };
    struct PassRecord {
        int field = 0;
        int number = 0;
        PassOutcome outcome = PassOutcome::None;
    };

    void createControls(); // window/form1.cpp
    // search/search.cpp
    void runSearchLoop();
    PassResult runPass();
    [[nodiscard]] bool shouldLeaveLoop() const;
    void askSingleStep();
    void returnNumberToPool(int field);
    [[nodiscard]] bool canAccept() const;
    void accept();
    PassResult advanceField();
    PassResult stepBack();
    // search/narration.cpp
    void announcePass();
    void announceStop();
    [[nodiscard]] std::string solutionCountText() const;
    // search/solution_report.cpp
    void appendSolutionLine();
    void showFigureSums();
    void setGridRow(int row, Color color, std::string_view tag); // window/grid.cpp
    void endProgram();                                           // window/commands.cpp

    Platform& platform_;
    PassRecord lastPass_;
    bool searchRunning_ = false;
    bool programEnding_ = false;
};

} // namespace hexorin
