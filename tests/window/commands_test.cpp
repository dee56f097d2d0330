// The commands on a board paused at a solution: "Startwerte", interrupt, "Beenden", closing.

#include "form_fixture.h"

namespace hexorin::testing {
namespace {

// The board paused after two solutions, with a forbidden number.
class CommandsTest : public FormTest {
protected:
    CommandsTest() {
        setChecks(CheckBox::ticked, CheckBox::unticked);
        forbid(7, 1);
        form.cmdSucher_Click();
        form.cmdSucher_Click();
    }
};

TEST_F(CommandsTest, StartwerteTwiceEqualsOnce) {
    ASSERT_EQ(form.Text2.text(), "2");
    form.cmdNeustart_Click();
    const Snapshot once = snapshot(form);
    EXPECT_EQ(once.at("Text2.text"), "");
    EXPECT_EQ(once.at("txtErgebnisse.text"), "");
    EXPECT_EQ(once.at("lblErlaubt(72).tag"), "0");
    EXPECT_EQ(once.at("txtS(7).text"), "40"); // the tips of the second solution
    form.cmdNeustart_Click();
    EXPECT_EQ(snapshot(form), once);

    // The next Start begins a fresh search without a message.
    form.cmdSucher_Click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(listed(), std::vector<Solution>{kFirstSolution});
}

TEST_F(CommandsTest, InterruptChangesOnlyTheFlag) {
    const Snapshot before = snapshot(form);
    form.Command1_Click();
    EXPECT_EQ(changedKeys(before, snapshot(form)), std::set<std::string>{"StopFlag"});
    EXPECT_EQ(form.StopFlag, 1);
}

TEST_F(CommandsTest, BeendenEndsOnceAndStartDoesNothingAfterwards) {
    const long long passes = platform.passes;
    form.cmdEnde_Click();
    EXPECT_EQ(platform.endRequests, 1);
    EXPECT_TRUE(form.programEnding());
    const Snapshot ended = snapshot(form);
    form.cmdSucher_Click();
    form.closeRequested();
    EXPECT_EQ(platform.passes, passes);
    EXPECT_EQ(platform.endRequests, 1);
    EXPECT_EQ(snapshot(form), ended);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CommandsTest, ClosingTheWindowEndsLikeBeenden) {
    form.closeRequested();
    EXPECT_EQ(platform.endRequests, 1);
    EXPECT_TRUE(form.programEnding());
}

} // namespace
} // namespace hexorin::testing
