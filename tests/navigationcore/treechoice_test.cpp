// Which contents trees exist, which one an operation acts on, and the
// visibility flags of a tree.

#include "treechoice.h"

#include <gtest/gtest.h>

namespace carmanual {
namespace {

TEST(PlanTrees, ByTheNumberOfTreeElements) {
    struct Row {
        std::size_t elements;
        std::int32_t main;
        std::int32_t alternate;
    };
    const Row rows[] = {{0, -1, -1}, {1, 0, -1}, {2, -1, 1}, {3, -1, -1}, {7, -1, -1}};
    for (const Row& r : rows) {
        const TTreePlan plan = PlanTrees(r.elements);
        EXPECT_EQ(plan.MainElement, r.main) << r.elements;
        EXPECT_EQ(plan.AlternateElement, r.alternate) << r.elements;
    }
}

struct ChoiceRow {
    TTreePresence main;
    TTreePresence alternate;
    TTreeKind operations;
    TTreeKind search;
};

TEST(ChooseTree, EveryCombination) {
    using K = TTreeKind;
    const TTreePresence absent{false, false};
    const TTreePresence hidden{true, false};
    const TTreePresence shown{true, true};
    const ChoiceRow rows[] = {
        {absent, absent, K::None, K::None},
        {hidden, absent, K::Main, K::Main},
        {shown, absent, K::Main, K::Main},
        {absent, hidden, K::Alternate, K::Alternate},
        {absent, shown, K::Alternate, K::Alternate},
        {hidden, hidden, K::Main, K::Main},
        {shown, hidden, K::Main, K::Main},
        {hidden, shown, K::Alternate, K::Alternate},
        // both shown: operations prefer the main tree, the search the alternate
        {shown, shown, K::Main, K::Alternate},
        // a "visible" tree that does not exist is no tree
        {TTreePresence{false, true}, hidden, K::Alternate, K::Alternate},
    };
    int row = 0;
    for (const ChoiceRow& r : rows) {
        SCOPED_TRACE(row++);
        EXPECT_EQ(ChooseTree(r.main, r.alternate), r.operations);
        EXPECT_EQ(ChooseTreeForSearch(r.main, r.alternate), r.search);
    }
}

TEST(TreeFlags, ScreensShowAndHideTheTree) {
    TTreeFlags tree{true, false, false, false};
    ApplyScreen(tree, 1);
    EXPECT_TRUE(tree.Visible);
    EXPECT_FALSE(tree.ScreenHidden);
    ApplyScreen(tree, 2); // other screens change nothing
    EXPECT_TRUE(tree.Visible);
    ApplyScreen(tree, 0);
    EXPECT_FALSE(tree.Visible);
    EXPECT_TRUE(tree.ScreenHidden);
}

TEST(TreeFlags, OffTree_SurvivesOtherScreensAndIsForgottenOnTheFirst) {
    TTreeFlags tree{true, true, false, false};
    EXPECT_FALSE(SetTreeHidden(tree, true));
    ApplyScreen(tree, 2);
    ApplyScreen(tree, 1);
    EXPECT_FALSE(tree.Visible);
    EXPECT_TRUE(tree.TreeHidden);
    ApplyScreen(tree, 0);
    EXPECT_FALSE(tree.TreeHidden);
    ApplyScreen(tree, 1);
    EXPECT_TRUE(tree.Visible);
}

TEST(TreeFlags, OnTree_ShowsOnlyTheTreeInUse) {
    TTreeFlags tree{true, false, true, true};
    EXPECT_FALSE(SetTreeHidden(tree, false));
    EXPECT_FALSE(tree.Visible);
    EXPECT_FALSE(tree.TreeHidden);
    tree.ScreenHidden = false;
    tree.TreeHidden = true;
    EXPECT_TRUE(SetTreeHidden(tree, false));
    EXPECT_TRUE(tree.Visible);
}

TEST(TreeFlags, MakeCurrent_ShowsOneAndHidesTheOther) {
    TTreeFlags alternate{true, false, false, true};
    TTreeFlags main{true, true, false, false};
    EXPECT_TRUE(MakeCurrent(alternate, main)); // "tree1"
    EXPECT_TRUE(alternate.Visible);
    EXPECT_FALSE(alternate.ScreenHidden);
    EXPECT_FALSE(main.Visible);
    EXPECT_TRUE(main.ScreenHidden);

    // a current tree hidden by "offtree" stays hidden
    main.TreeHidden = true;
    EXPECT_FALSE(MakeCurrent(main, alternate)); // "tree2"
    EXPECT_FALSE(main.Visible);
    EXPECT_FALSE(main.ScreenHidden);
    EXPECT_FALSE(alternate.Visible);
    EXPECT_TRUE(alternate.ScreenHidden);
}

TEST(TreeFlags, MissingTrees_AreLeftAlone) {
    TTreeFlags absent;
    TTreeFlags main{true, false, false, true};
    EXPECT_FALSE(MakeCurrent(absent, main));
    EXPECT_FALSE(absent.Visible);
    EXPECT_TRUE(main.ScreenHidden);
    ApplyScreen(absent, 1);
    EXPECT_FALSE(absent.Visible);
    EXPECT_FALSE(SetTreeHidden(absent, false));
    EXPECT_FALSE(absent.Visible);
}

} // namespace
} // namespace carmanual
