// Which trees the window builds from its _tree elements, which one the tree
// operations act on, and the commands tree1, tree2, ontree, offtree with the
// screen changes.

#include "treefixture.h"

#include "archive.h"
#include "paths.h"
#include "tempdir.h"

#include <optional>

namespace carmanual::test {
namespace {

// The trees the window builds, as its start-up does.
struct BuiltTrees {
    std::unique_ptr<TTreeViews> main;
    std::unique_ptr<TTreeViews> alternate;
};

BuiltTrees Build(QWidget* parent, const TDynamicTreeArray& elements) {
    const TTreePlan plan = PlanTrees(elements.size());
    BuiltTrees trees;
    if (plan.MainElement >= 0)
        trees.main = std::make_unique<TTreeViews>(
            parent, elements[static_cast<std::size_t>(plan.MainElement)], ProgramDir(), 1);
    if (plan.AlternateElement >= 0)
        trees.alternate = std::make_unique<TTreeViews>(
            parent, elements[static_cast<std::size_t>(plan.AlternateElement)], ProgramDir(), 1);
    return trees;
}

struct PlanCase {
    const char* name;
    int elements;
    const char* mainCaption;      // nullptr: no main tree
    const char* alternateCaption; // nullptr: no alternate tree
};

class TreesFromElements : public ::testing::TestWithParam<PlanCase> {
protected:
    void SetUp() override {
        InitProgramPaths(m_tmp.Path());
        TheArchive().Close();
        for (int i = 1; i <= 3; ++i)
            m_tmp.Write("tree" + std::to_string(i) + ".txt",
                        "p" + std::to_string(i) + ".htm;Tree " + std::to_string(i) + "\r\n");
    }
    TempDir m_tmp;
};

TEST_P(TreesFromElements, BuildTheTreesTheRuleNames) {
    const PlanCase& c = GetParam();
    TDynamicTreeArray elements;
    for (int i = 1; i <= c.elements; ++i)
        elements.push_back(Element("tree" + std::to_string(i) + ".txt"));
    QWidget host;
    const BuiltTrees trees = Build(&host, elements);
    const auto captionOf = [](const std::unique_ptr<TTreeViews>& tree) -> std::optional<QString> {
        if (!tree)
            return std::nullopt;
        return tree->Model()->IndexOf(0).data().toString();
    };
    const auto expected = [](const char* caption) -> std::optional<QString> {
        return caption ? std::optional<QString>(caption) : std::nullopt;
    };
    EXPECT_EQ(captionOf(trees.main), expected(c.mainCaption));
    EXPECT_EQ(captionOf(trees.alternate), expected(c.alternateCaption));
    // The operations act on the one tree there is.
    TTreeViews* chosen = TTreeViews::Choose(trees.main.get(), trees.alternate.get());
    EXPECT_EQ(chosen, trees.main ? trees.main.get() : trees.alternate.get());
}

INSTANTIATE_TEST_SUITE_P(Counts, TreesFromElements,
                         ::testing::Values(PlanCase{"None", 0, nullptr, nullptr},
                                           PlanCase{"One_IsTheMainTree", 1, "Tree 1", nullptr},
                                           PlanCase{"Two_OnlyTheSecondAsAlternate", 2, nullptr,
                                                    "Tree 2"},
                                           PlanCase{"Three_NoTree", 3, nullptr, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

// Two trees on the document screen (the window builds at most one, but each
// operation is written for both).
class TwoTrees : public ::testing::Test {
protected:
    TwoTrees()
        : main(new TTreeViews(&host, Element(), TContentsTree::Parse("m.htm;M\r\n", kDir), 1)),
          alternate(
              new TTreeViews(&host, Element(), TContentsTree::Parse("a.htm;A\r\n", kDir), 1)) {}
    QWidget host;
    TTreeViews* main;
    TTreeViews* alternate;
};

TEST_F(TwoTrees, Choose_FollowsTheTreeChoiceRule) {
    EXPECT_EQ(TTreeViews::Choose(main, alternate), main);
    main->SetTreeHidden(true);
    EXPECT_EQ(TTreeViews::Choose(main, alternate), alternate);
    alternate->SetTreeHidden(true);
    EXPECT_EQ(TTreeViews::Choose(main, alternate), main); // neither shown
    EXPECT_EQ(TTreeViews::Choose(nullptr, alternate), alternate);
    EXPECT_EQ(TTreeViews::Choose(main, nullptr), main);
    EXPECT_EQ(TTreeViews::Choose(nullptr, nullptr), nullptr);
}

TEST_F(TwoTrees, Tree1_ShowsTheAlternateAndHidesTheMain) {
    EXPECT_TRUE(TTreeViews::MakeCurrent(alternate, main));
    EXPECT_FALSE(alternate->isHidden());
    EXPECT_TRUE(main->isHidden());
    EXPECT_FALSE(alternate->ScreenHidden());
    EXPECT_TRUE(main->ScreenHidden());
    EXPECT_EQ(TTreeViews::Choose(main, alternate), alternate);

    // tree2: back to the main tree.
    EXPECT_TRUE(TTreeViews::MakeCurrent(main, alternate));
    EXPECT_FALSE(main->isHidden());
    EXPECT_TRUE(alternate->isHidden());
    EXPECT_FALSE(main->ScreenHidden());
    EXPECT_TRUE(alternate->ScreenHidden());
}

TEST_F(TwoTrees, MakeCurrent_OfATreeHiddenByOfftree_LeavesItHidden) {
    alternate->SetTreeHidden(true);
    EXPECT_FALSE(TTreeViews::MakeCurrent(alternate, main));
    EXPECT_TRUE(alternate->isHidden());
    EXPECT_FALSE(alternate->ScreenHidden());
    EXPECT_TRUE(alternate->TreeHidden());
    EXPECT_TRUE(main->isHidden());
    // "ontree" then shows it: it is the current tree.
    EXPECT_TRUE(alternate->SetTreeHidden(false));
    EXPECT_FALSE(alternate->isHidden());
}

TEST_F(TwoTrees, MakeCurrent_WithOnlyOneTree_ActsOnThatOne) {
    // "tree1" where only the main tree exists hides it; "tree2" shows it.
    EXPECT_FALSE(TTreeViews::MakeCurrent(nullptr, main));
    EXPECT_TRUE(main->isHidden());
    EXPECT_TRUE(main->ScreenHidden());
    EXPECT_TRUE(TTreeViews::MakeCurrent(main, nullptr));
    EXPECT_FALSE(main->isHidden());
    EXPECT_FALSE(main->ScreenHidden());
}

TEST_F(TwoTrees, OntreeOnTheTreeNotInUse_KeepsItHidden) {
    TTreeViews::MakeCurrent(alternate, main); // main: ScreenHidden
    main->SetTreeHidden(true);
    EXPECT_FALSE(main->SetTreeHidden(false));
    EXPECT_TRUE(main->isHidden());
    EXPECT_FALSE(main->TreeHidden());
}

// ---- one tree through a sequence of commands and screen changes ----

enum class Step { Screen0, Screen1, Screen2, Offtree, Ontree };

struct FlagCase {
    const char* name;
    int startScreen;
    std::vector<Step> steps;
    bool shown;
    bool treeHidden;
    bool screenHidden;
};

class TreeFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(TreeFlags, FollowTheCommandsAndScreens) {
    const FlagCase& c = GetParam();
    QWidget host;
    TTreeViews tree(&host, Element(), TContentsTree::Parse("a.htm;A\r\n", kDir), c.startScreen);
    for (const Step step : c.steps) {
        switch (step) {
        case Step::Screen0:
            tree.ShowForScreen(0);
            break;
        case Step::Screen1:
            tree.ShowForScreen(1);
            break;
        case Step::Screen2:
            tree.ShowForScreen(2);
            break;
        case Step::Offtree:
            tree.SetTreeHidden(true);
            break;
        case Step::Ontree:
            tree.SetTreeHidden(false);
            break;
        }
    }
    EXPECT_EQ(tree.IsShown(), c.shown);
    EXPECT_EQ(tree.isHidden(), !c.shown);
    EXPECT_EQ(tree.TreeHidden(), c.treeHidden);
    EXPECT_EQ(tree.ScreenHidden(), c.screenHidden);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TreeFlags,
    ::testing::Values(
        // Construction leaves both flags clear whatever the screen.
        FlagCase{"BuiltOnScreen0_Hidden", 0, {}, false, false, false},
        FlagCase{"BuiltOnScreen1_Shown", 1, {}, true, false, false},
        FlagCase{"Offtree_Hides", 1, {Step::Offtree}, false, true, false},
        FlagCase{"OfftreeThenOntree_Shows", 1, {Step::Offtree, Step::Ontree}, true, false, false},
        FlagCase{"Screen0_HidesAndForgetsOfftree",
                 1,
                 {Step::Offtree, Step::Screen0},
                 false,
                 false,
                 true},
        FlagCase{"Screen0ThenScreen1_ShowsAgain",
                 1,
                 {Step::Offtree, Step::Screen0, Step::Screen1},
                 true,
                 false,
                 false},
        FlagCase{"OfftreeKeptOverTheDocumentScreen",
                 1,
                 {Step::Offtree, Step::Screen1},
                 false,
                 true,
                 false},
        FlagCase{
            "OtherScreens_ChangeNothing", 1, {Step::Offtree, Step::Screen2}, false, true, false},
        FlagCase{
            "OntreeOnScreen0_StaysHidden", 1, {Step::Screen0, Step::Ontree}, false, false, true},
        FlagCase{"OfftreeOnScreen0_IsRemembered",
                 1,
                 {Step::Screen0, Step::Offtree, Step::Screen2},
                 false,
                 true,
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace carmanual::test
