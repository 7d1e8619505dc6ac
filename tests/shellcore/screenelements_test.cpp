// The mouse rules of a screen's elements, without a window: sequences of
// moves, presses and releases against the pictures shown and the commands
// run.

#include "screenelements.h"

#include "settingsstore.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace carmanual {
namespace {

using P = TElementPicture;
using K = TElementKind;
using TType = TElementAction::TType;

// One screen: a button, two single switches (the second shows the main tree)
// and a group of two members, the first described on; every element 30 x 20.
TInterfaceDescription OneScreen() {
    TInterfaceDescription d;
    d.ScreenBackgrounds = {"bg.bmp"};
    RBtn button;
    button.Left = 10;
    button.Top = 10;
    button.Command = "run=a.sh";
    button.Sound = "click.wav";
    RBtn exit = button;
    exit.Top = 100;
    exit.Command = "exit";
    d.Buttons = {{button, exit}};
    RSwthOne sw;
    sw.Left = 10;
    sw.Top = 50;
    sw.CommandUp = "run=off.sh";
    sw.CommandDown = "run=on.sh";
    sw.Sound = "sw.wav";
    sw.Store = true;
    RSwthOne tree = sw;
    tree.Left = 150;
    tree.CommandUp = "tree2";
    tree.CommandDown = "tree1";
    d.Switches = {{sw, tree}};
    RSwthGrp a;
    a.Left = 60;
    a.Top = 50;
    a.Group = 1;
    a.Command = "run=a1.sh";
    a.State = true;
    a.Store = true;
    RSwthGrp b = a;
    b.Left = 100;
    b.Command = "run=b1.sh";
    b.State = false;
    d.Groups = {{a, b}};
    return d;
}

TElementRect At(std::int32_t left, std::int32_t top) {
    return {left, top, left + 30, top + 20};
}

class ScreenElementsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_states = TSwitchStates(m_description);
        m_elements.Show(0, m_description, m_states, {At(10, 10), At(10, 100)},
                        {At(10, 50), At(150, 50)}, {At(60, 50), At(100, 50)});
    }

    struct TStep {
        char event; // 'm' move, 'p' press, 'P' press with Shift, 'r' release
        std::int32_t x, y;
    };
    // The commands the steps run, in order.
    std::vector<std::string> Run(const std::vector<TStep>& steps) {
        std::vector<std::string> commands;
        for (const TStep& s : steps) {
            TMouseOutcome out;
            if (s.event == 'm')
                out = m_elements.Move(s.x, s.y);
            else if (s.event == 'p' || s.event == 'P')
                out = m_elements.Press(s.x, s.y, s.event == 'P');
            else
                out = m_elements.Release(s.x, s.y);
            m_last = out;
            for (const TElementAction& a : out)
                if (a.Type == TType::Command)
                    commands.push_back(a.Command);
        }
        return commands;
    }
    static TElementAction Fade(K kind, int index, P from, P to) {
        TElementAction a;
        a.Type = TType::Fade;
        a.Kind = kind;
        a.Index = index;
        a.From = from;
        a.To = to;
        return a;
    }

    TInterfaceDescription m_description = OneScreen();
    TSwitchStates m_states;
    TScreenElements m_elements;
    TMouseOutcome m_last;
};

TEST_F(ScreenElementsTest, Sequences_ShowPicturesAndRunCommands) {
    const struct {
        const char* scenario;
        std::vector<TStep> steps;
        std::vector<std::string> commands;
        std::optional<P> button, sw, memberA, memberB;
    } cases[] = {
        {"hover a button", {{'m', 20, 15}}, {}, P::Move, {}, P::Down, {}},
        {"press shows the down picture",
         {{'m', 20, 15}, {'p', 20, 15}},
         {},
         P::Down,
         {},
         P::Down,
         {}},
        {"click runs the button on release",
         {{'m', 20, 15}, {'p', 20, 15}, {'r', 20, 15}},
         {"run=a.sh"},
         P::Move,
         {},
         P::Down,
         {}},
        {"press, leave, release elsewhere runs nothing",
         {{'m', 20, 15}, {'p', 20, 15}, {'m', 120, 140}, {'r', 120, 140}},
         {},
         {},
         {},
         P::Down,
         {}},
        {"a press on the border hits nothing",
         {{'p', 10, 15}, {'r', 10, 15}},
         {},
         {},
         {},
         P::Down,
         {}},
        {"release inside without a press runs nothing",
         {{'m', 20, 15}, {'r', 20, 15}},
         {},
         P::Move,
         {},
         P::Down,
         {}},
        {"a switch runs godown on its press and turns on",
         {{'m', 20, 55}, {'p', 20, 55}},
         {"run=on.sh"},
         {},
         P::MoveDown,
         P::Down,
         {}},
        {"a second click runs goup and turns it off",
         {{'m', 20, 55}, {'p', 20, 55}, {'r', 20, 55}, {'p', 20, 55}},
         {"run=on.sh", "run=off.sh"},
         {},
         P::MoveUp,
         P::Down,
         {}},
        {"Shift toggles a switch without its command",
         {{'P', 20, 55}},
         {},
         {},
         P::Down,
         P::Down,
         {}},
        {"a member that is on does nothing",
         {{'m', 70, 55}, {'p', 70, 55}},
         {},
         {},
         {},
         P::MoveDown,
         {}},
        {"another member takes over and runs its go",
         {{'m', 110, 55}, {'p', 110, 55}},
         {"run=b1.sh"},
         {},
         {},
         {},
         P::MoveDown},
        {"Shift on a member shows its plain on picture", {{'P', 110, 55}}, {}, {}, {}, {}, P::Down},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        SetUp();
        EXPECT_EQ(Run(c.steps), c.commands);
        EXPECT_EQ(m_elements.Shown(K::Button, 0), c.button);
        EXPECT_EQ(m_elements.Shown(K::SwitchOne, 0), c.sw);
        EXPECT_EQ(m_elements.Shown(K::SwitchGroup, 0), c.memberA);
        EXPECT_EQ(m_elements.Shown(K::SwitchGroup, 1), c.memberB);
    }
}

TEST_F(ScreenElementsTest, Fades_FollowThePicturesOfTheState) {
    Run({{'m', 20, 15}});
    EXPECT_EQ(m_last, (TMouseOutcome{Fade(K::Button, 0, P::Up, P::Move)}));
    Run({{'p', 20, 15}});
    EXPECT_EQ(m_last, (TMouseOutcome{Fade(K::Button, 0, P::Move, P::Down)}));
    Run({{'r', 20, 15}});
    ASSERT_EQ(m_last.size(), 2u);
    EXPECT_EQ(m_last[0], Fade(K::Button, 0, P::Down, P::Move));
    EXPECT_EQ(m_last[1].Type, TType::Command);
    EXPECT_EQ(m_last[1].Sound, "click.wav");
    EXPECT_EQ(m_last[1].Kind, K::Button);

    // Leaving the button and entering the switch in one move.
    Run({{'m', 20, 55}});
    EXPECT_EQ(m_last, (TMouseOutcome{Fade(K::Button, 0, P::Move, P::Up),
                                     Fade(K::SwitchOne, 0, P::Up, P::MoveUp)}));
    Run({{'p', 20, 55}});
    EXPECT_EQ(m_last.front(), Fade(K::SwitchOne, 0, P::MoveUp, P::MoveDown));
    Run({{'m', 200, 140}});
    EXPECT_EQ(m_last, (TMouseOutcome{Fade(K::SwitchOne, 0, P::MoveDown, P::Down)}));
}

TEST_F(ScreenElementsTest, ExitButton_DoesNotFadeBackBeforeTheWindowCloses) {
    Run({{'m', 20, 105}, {'p', 20, 105}});
    EXPECT_EQ(Run({{'r', 20, 105}}), (std::vector<std::string>{"exit"}));
    ASSERT_EQ(m_last.size(), 1u);
    EXPECT_EQ(m_last[0].Type, TType::Command);
}

TEST_F(ScreenElementsTest, NothingHit_DragsTheWindow) {
    Run({{'p', 190, 140}});
    ASSERT_EQ(m_last.size(), 1u);
    EXPECT_EQ(m_last[0].Type, TType::Drag);
    Run({{'p', 20, 15}});
    EXPECT_NE(m_last.back().Type, TType::Drag);
}

TEST_F(ScreenElementsTest, GroupMemberReleased_IsHoveredAgainWithItsNewState) {
    Run({{'m', 110, 55}, {'p', 110, 55}, {'r', 110, 55}});
    EXPECT_TRUE(m_elements.GroupHover(1));
    EXPECT_EQ(m_elements.Shown(K::SwitchGroup, 1), P::MoveDown);
    EXPECT_FALSE(m_states.GroupOn(0, 0));
    EXPECT_TRUE(m_states.GroupOn(0, 1));
}

TEST_F(ScreenElementsTest, BlockedSwitch_IgnoresTheMouse) {
    m_elements.SetBlocked([](const RSwthOne& s) { return s.CommandUp == "tree2"; });
    EXPECT_TRUE(Run({{'m', 160, 55}, {'p', 160, 55}, {'r', 160, 55}}).empty());
    EXPECT_FALSE(m_elements.SwitchHover(1));
    EXPECT_FALSE(m_states.SwitchOn(0, 1));
    // A press on it goes through to what lies below: the window is dragged.
    EXPECT_EQ(m_last.size(), 0u);
    Run({{'p', 160, 55}});
    EXPECT_EQ(m_last.back().Type, TType::Drag);
}

TEST_F(ScreenElementsTest, ForgetOnAScreenChange_ClearsHoverAndPress) {
    Run({{'m', 20, 15}, {'p', 20, 15}});
    m_elements.Forget(K::Button, 0);
    EXPECT_FALSE(m_elements.ButtonHover(0));
    EXPECT_FALSE(m_elements.ButtonPressed(0));
    EXPECT_TRUE(Run({{'r', 20, 15}}).empty());
}

TEST(SwitchStates, StoredStates_AreRestoredAndSaved_UnstoredOnesNever) {
    TInterfaceDescription d = OneScreen();
    d.Switches[0][1].Store = false;
    TMemorySettingsStore store;
    store.WriteBool("SwOne00", true);
    store.WriteBool("SwOne01", true); // not stored: the described state stays
    store.WriteBool("SwGrp00", false);
    TSwitchStates states(d);
    states.Restore(d, store);
    EXPECT_TRUE(states.SwitchOn(0, 0));
    EXPECT_FALSE(states.SwitchOn(0, 1));
    EXPECT_FALSE(states.GroupOn(0, 0));
    EXPECT_FALSE(states.GroupOn(0, 1));
    // The records keep what was described; the copies carry the run's states.
    EXPECT_FALSE(d.Switches[0][0].State);
    EXPECT_TRUE(states.Switches(d, 0)[0].State);

    states.SetGroup(0, 1, true);
    TMemorySettingsStore saved;
    states.Save(d, saved);
    EXPECT_EQ(saved.ReadBool("SwOne00"), true);
    EXPECT_FALSE(saved.ValueExists("SwOne01"));
    EXPECT_EQ(saved.ReadBool("SwGrp01"), true);
    // Out of range: nothing, no failure.
    states.SetSwitch(7, 0, true);
    EXPECT_FALSE(states.SwitchOn(7, 0));
    EXPECT_FALSE(states.GroupOn(0, 9));
}

} // namespace
} // namespace carmanual
