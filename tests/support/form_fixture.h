#pragma once

// Shared by the core tests: a loaded window on a scripted platform, a picture of the whole board
// to compare, the solution list read back into numbers, and a plain enumerator of magic stars.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "known_stars.h"
#include "scripted_platform.h"
#include "window/form1.h"

namespace hexorin::testing {

using Allowed = std::array<std::array<bool, 12>, 12>; // [field - 1][number - 1]

inline constexpr long long kFirstSolutionPass = 546;
inline constexpr std::size_t kLineLength = 49; // 47 characters and CR LF
inline constexpr std::string_view kNewSearch = "Neue Suche, Angangswerte gesetzt";
inline constexpr std::string_view kGeneralHelp = "Hilfe: Mauszeiger auf das Objekt bewegen";

inline std::string colorText(Color c) {
    return "rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
           std::to_string(c.blue) + ")";
}

// Everything the user or the search can see or change, keyed "control(index).property".
using Snapshot = std::map<std::string, std::string>;

inline std::string key(std::string_view array, int index, std::string_view property) {
    return std::string(array) + "(" + std::to_string(index) + ")." + std::string(property);
}

template <typename Array> void addBoxes(Snapshot& shot, const Array& boxes) {
    for (int i = Array::first; i <= Array::last; ++i) {
        shot[key(boxes.name(), i, "text")] = boxes(i).text();
        shot[key(boxes.name(), i, "back")] = colorText(boxes(i).backColor());
        shot[key(boxes.name(), i, "fore")] = colorText(boxes(i).foreColor());
        shot[key(boxes.name(), i, "visible")] = boxes(i).visible() ? "1" : "0";
    }
}

inline Snapshot snapshot(const Form1& form) {
    Snapshot shot{{"shape1.left", std::to_string(form.shape1.left())},
                  {"txtErgebnisse.text", form.txtErgebnisse.text()},
                  {"Text2.text", form.Text2.text()},
                  {"txtHilfe.text", form.txtHilfe.text()},
                  {"Check1.value", std::to_string(form.Check1.value())},
                  {"Check2.value", std::to_string(form.Check2.value())},
                  {"CurField", std::to_string(form.CurField)},
                  {"CurNumber", std::to_string(form.CurNumber)},
                  {"SolutionCount", std::to_string(form.SolutionCount)},
                  {"StopFlag", std::to_string(form.StopFlag)}};
    addBoxes(shot, form.txtFeld);
    addBoxes(shot, form.txtS);
    addBoxes(shot, form.txtStein);
    addBoxes(shot, form.txtIn);
    for (int i = 0; i <= 143; ++i) {
        shot[key("lblErlaubt", i, "caption")] = form.lblErlaubt(i).caption();
        shot[key("lblErlaubt", i, "tag")] = form.lblErlaubt(i).tag();
        shot[key("lblErlaubt", i, "back")] = colorText(form.lblErlaubt(i).backColor());
    }
    for (int i = 0; i <= 12; ++i) {
        shot[key("Placed", i, "value")] = std::to_string(form.Placed(i));
        if (i <= 11)
            shot[key("Label2", i, "caption")] = form.Label2(i).caption();
    }
    return shot;
}

// The keys whose values differ, restricted to those starting with one of the prefixes.
inline std::set<std::string> changedKeys(const Snapshot& before, const Snapshot& after,
                                         std::initializer_list<std::string_view> prefixes = {""}) {
    std::set<std::string> changed;
    for (const auto& [name, value] : before)
        if (after.at(name) != value &&
            std::any_of(
                prefixes.begin(), prefixes.end(),
                // By name: clang before 16 cannot capture a structured binding.
                [&changed = name](std::string_view prefix) { return changed.starts_with(prefix); }))
            changed.insert(name);
    return changed;
}
inline const std::set<std::string> kNothing;

// Reads the solution list back; every line must have the exact form of a solution line.
inline std::vector<Solution> solutionsIn(const std::string& list) {
    static const std::regex kLine("((  [1-9]| 1[0-2]),){11}(  [1-9]| 1[0-2])\r\n");
    std::vector<Solution> solutions;
    for (std::size_t at = 0; at < list.size(); at += kLineLength) {
        const std::string line = list.substr(at, kLineLength);
        EXPECT_TRUE(std::regex_match(line, kLine))
            << "line " << at / kLineLength + 1 << ": '" << line << "'";
        Solution& star = solutions.emplace_back();
        for (std::size_t field = 0; field < 12 && 4 * field < line.size(); ++field)
            star[field] = std::atoi(line.substr(4 * field, 3).c_str());
    }
    return solutions;
}

inline Solution placedNumbers(const Form1& form) {
    Solution placed{};
    for (int field = 1; field <= 12; ++field)
        placed[static_cast<std::size_t>(field - 1)] = form.Placed(field);
    return placed;
}

inline std::string solutionText(const Solution& star) {
    std::string text;
    for (const int number : star)
        text += " " + std::to_string(number);
    return text;
}

// Names the first solution where two lists part, rather than printing both whole.
inline ::testing::AssertionResult sameSolutions(const std::vector<Solution>& actual,
                                                const std::vector<Solution>& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual.size() << " solutions, expected " << expected.size() << "; solution "
           << a - actual.begin() + 1 << " is" << (a == actual.end() ? " missing" : solutionText(*a))
           << ", expected" << (e == expected.end() ? " none" : solutionText(*e));
}

inline int lineSum(const Solution& star, std::array<int, 4> line) {
    int sum = 0;
    for (const int field : line)
        sum += star[static_cast<std::size_t>(field - 1)];
    return sum;
}

// Every number once and all six lines at 26.
inline bool isMagicStar(Solution star) {
    const bool lines = std::all_of(kLines.begin(), kLines.end(),
                                   [&](const auto& line) { return lineSum(star, line) == 26; });
    std::sort(star.begin(), star.end());
    return lines && star == Solution{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

// A deliberately plain enumerator: fields 1 to 12 in turn, numbers in ascending order, and each
// line checked once its last field has a number.
inline std::vector<Solution> enumerateStars(const Allowed& allowed) {
    std::vector<Solution> found;
    Solution star{};
    std::array<bool, 13> used{};
    const auto fill = [&](const auto& self, std::size_t field) -> void {
        if (field == 12) {
            found.push_back(star);
            return;
        }
        for (int number = 1; number <= 12; ++number) {
            const auto n = static_cast<std::size_t>(number);
            if (used[n] || !allowed[field][n - 1])
                continue;
            star[field] = number;
            const bool linesHold = std::all_of(kLines.begin(), kLines.end(), [&](const auto& l) {
                return l[3] != static_cast<int>(field + 1) || lineSum(star, l) == 26;
            });
            used[n] = true;
            if (linesHold)
                self(self, field + 1);
            used[n] = false;
        }
        star[field] = 0;
    };
    fill(fill, 0);
    return found;
}

inline Allowed allAllowed() {
    Allowed allowed{};
    for (auto& row : allowed)
        row.fill(true);
    return allowed;
}

// Every mouse-move handler, with an index where it takes one, and the help text it writes.
struct HelpMove {
    std::string control;
    void (*move)(Form1&);
    std::string text;
};

inline std::vector<HelpMove> helpMoves() {
    const std::string general(kGeneralHelp);
    const std::string triangle = "Bei einer Lösung: Summe der Zahlen im Dreieck";
    const std::string pool = "Zahlenvorrat (dient der Illustration)";
    const std::string row = "Aktuelles Feld über das 'nachgedacht' wird";
    const std::string allowAll = "Alle Zahlen von 1 bis 12 erlauben";
    const std::string forbidAll = "Alle Zahlen von 1 bis 12 verbieten";
    const auto grid = [](const char* field) {
        return std::string("Für Feld ") + field +
               " erlaubte Zahlen (erlaubt = weißer Hintergrund) anklicken!)";
    };
    return {
        {"Form1", [](Form1& f) { f.Form_MouseMove(); }, general},
        {"Frame3", [](Form1& f) { f.Frame3_MouseMove(); }, general},
        {"txtFeld(1)", [](Form1& f) { f.txtFeld_MouseMove(1); }, "Feld Nr. 1"},
        {"txtFeld(12)", [](Form1& f) { f.txtFeld_MouseMove(12); }, "Feld Nr. 12"},
        {"lblNr(0)", [](Form1& f) { f.lblNr_MouseMove(0); }, "Feld Nr. 1"},
        {"lblNr(11)", [](Form1& f) { f.lblNr_MouseMove(11); }, "Feld Nr. 12"},
        {"Label2(0)", [](Form1& f) { f.Label2_MouseMove(0); }, "Feld Nr. 1"},
        {"Label2(11)", [](Form1& f) { f.Label2_MouseMove(11); }, "Feld Nr. 12"},
        {"txtS(0)", [](Form1& f) { f.txtS_MouseMove(0); }, triangle},
        {"txtS(5)", [](Form1& f) { f.txtS_MouseMove(5); }, triangle},
        {"txtS(6)", [](Form1& f) { f.txtS_MouseMove(6); },
         "Bei einer Lösung: Summe der Zahlen im inneren Sechseck"},
        {"txtS(7)", [](Form1& f) { f.txtS_MouseMove(7); },
         "Bei einer Lösung: Summe der Zahlen im äußeren Sechseck"},
        {"txtStein(1)", [](Form1& f) { f.txtStein_MouseMove(1); }, pool},
        {"txtStein(3)", [](Form1& f) { f.txtStein_MouseMove(3); }, pool},
        {"txtStein(12)", [](Form1& f) { f.txtStein_MouseMove(12); }, pool},
        {"txtIn(1)", [](Form1& f) { f.txtIn_MouseMove(1); }, row},
        {"txtIn(4)", [](Form1& f) { f.txtIn_MouseMove(4); }, row},
        {"txtIn(12)", [](Form1& f) { f.txtIn_MouseMove(12); }, row},
        {"lblErlaubt(0)", [](Form1& f) { f.lblErlaubt_MouseMove(0); },
         "Für Feld 1 erlaubte Zahlen (erlaubt = weißer Hintergrund) anklicken!)"},
        {"lblErlaubt(11)", [](Form1& f) { f.lblErlaubt_MouseMove(11); }, grid("1")},
        {"lblErlaubt(12)", [](Form1& f) { f.lblErlaubt_MouseMove(12); }, grid("2")},
        {"lblErlaubt(143)", [](Form1& f) { f.lblErlaubt_MouseMove(143); }, grid("12")},
        {"cmdAlle(0)", [](Form1& f) { f.cmdAlle_MouseMove(0); }, allowAll},
        {"cmdAlle(2)", [](Form1& f) { f.cmdAlle_MouseMove(2); }, allowAll},
        {"cmdKeiner(5)", [](Form1& f) { f.cmdKeiner_MouseMove(5); }, forbidAll},
        {"cmdKeiner(11)", [](Form1& f) { f.cmdKeiner_MouseMove(11); }, forbidAll},
        {"txtErgebnisse", [](Form1& f) { f.txtErgebnisse_MouseMove(); }, "Lösungen"},
        {"Text2", [](Form1& f) { f.Text2_MouseMove(); }, "Anzahl der bisher gefundenen Lösungen"},
        {"Check1", [](Form1& f) { f.Check1_MouseMove(); }, "Anhalten, wenn Lösung gefunden"},
        {"Check2", [](Form1& f) { f.Check2_MouseMove(); }, "Bei jedem Schleifenaufruf anhalten"},
        {"cmdSucher", [](Form1& f) { f.cmdSucher_MouseMove(); }, "Suche starten bzw. fortsetzen"},
        {"Command1", [](Form1& f) { f.Command1_MouseMove(); }, "Unterbrechen"},
    };
}

// A window after start-up on a platform without a display.
class FormTest : public ::testing::Test {
protected:
    FormTest() { form.Form_Load(); }

    void setChecks(int stopAtSolution, int singleStep) {
        form.Check1.setValue(stopAtSolution);
        form.Check2.setValue(singleStep);
    }
    void forbid(int field, int number) { form.lblErlaubt_Click(gridLabelIndex(field, number)); }
    [[nodiscard]] std::vector<Solution> listed() const {
        return solutionsIn(form.txtErgebnisse.text());
    }

    ScriptedPlatform platform;
    Form1 form{platform};
};

} // namespace hexorin::testing
