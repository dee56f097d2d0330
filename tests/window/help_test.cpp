// The help line: every control's text, and every index rule naming the same field.

#include <functional>

#include "form_fixture.h"

namespace hexorin::testing {
namespace {

using HelpTest = FormTest;

TEST_F(HelpTest, EachControlWritesItsText) {
    EXPECT_EQ(form.txtHilfe.text(), "");
    for (const auto& [control, move, text] : helpMoves()) {
        const Snapshot before = snapshot(form);
        move(form);
        EXPECT_EQ(form.txtHilfe.text(), text) << control;
        auto changed = changedKeys(before, snapshot(form));
        changed.erase("txtHilfe.text");
        EXPECT_EQ(changed, kNothing) << control;
    }
}

// txtFeld(i) is field i; lblNr(i) and Label2(i) are field i + 1; label i belongs to field i / 12
// + 1.
TEST_F(HelpTest, EveryIndexRuleNamesTheSameField) {
    for (int field = 1; field <= 12; ++field) {
        const std::string expected = "Feld Nr. " + std::to_string(field);
        for (const auto& move : std::vector<std::function<void()>>{
                 [&] { form.txtFeld_MouseMove(field); }, [&] { form.lblNr_MouseMove(field - 1); },
                 [&] { form.Label2_MouseMove(field - 1); }}) {
            form.Form_MouseMove();
            move();
            EXPECT_EQ(form.txtHilfe.text(), expected);
        }
        for (int number = 1; number <= 12; ++number) {
            form.lblErlaubt_MouseMove(gridLabelIndex(field, number));
            EXPECT_TRUE(
                form.txtHilfe.text().starts_with("Für Feld " + std::to_string(field) + " erlaubte"))
                << form.txtHilfe.text();
        }
    }
}

} // namespace
} // namespace hexorin::testing
