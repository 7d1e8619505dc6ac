// The contents tree file and the lookups of the tree window.

#include "contentstree.h"

#include "ansi.h"
#include "archive.h"
#include "paths.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace carmanual {
namespace {

const std::string kDir = "c:\\run\\";

std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

TContentsTree Tree(std::string_view text) {
    return TContentsTree::Parse(text, kDir);
}

// One expected item: level, parent, file, caption.
struct Expected {
    std::int32_t level;
    std::int32_t parent;
    std::string file;
    std::string caption;
};

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<Expected> items;
    std::size_t skipped = 0;
};

class TreeFileParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TreeFileParsing, GivesTheItems) {
    const ParseCase& c = GetParam();
    const TContentsTree tree = Tree(c.text);
    ASSERT_EQ(tree.Count(), static_cast<std::int32_t>(c.items.size()));
    for (std::int32_t i = 0; i < tree.Count(); ++i) {
        SCOPED_TRACE(i);
        const RTreeItem& item = tree.Item(i);
        const Expected& e = c.items[static_cast<std::size_t>(i)];
        EXPECT_EQ(item.Level, e.level);
        EXPECT_EQ(item.Parent, e.parent);
        EXPECT_EQ(item.File, e.file);
        EXPECT_EQ(item.Caption, e.caption);
    }
    EXPECT_EQ(tree.SkippedLines(), c.skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TreeFileParsing,
    ::testing::Values(
        ParseCase{"SiblingsAndGrandchild",
                  "a.htm;A\r\n\tb.htm;B\r\n\t\tc.htm;C\r\n\td.htm;D\r\n",
                  {{0, -1, "a.htm", "A"},
                   {1, 0, "b.htm", "B"},
                   {2, 1, "c.htm", "C"},
                   {1, 0, "d.htm", "D"}}},
        ParseCase{"ThreeTabsAfterTopLevel_IsAChild",
                  "a.htm;A\r\n\t\t\tb.htm;B\r\n",
                  {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", "B"}}},
        ParseCase{"DeepFirstLine_IsTopLevel",
                  "\t\ta.htm;A\r\n\tb.htm;B\r\n",
                  {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", "B"}}},
        ParseCase{"DepthZero_AfterDeepItem_IsTopLevel",
                  "a.htm;A\r\n\tb.htm;B\r\n\t\tc.htm;C\r\nd.htm;D\r\n",
                  {{0, -1, "a.htm", "A"},
                   {1, 0, "b.htm", "B"},
                   {2, 1, "c.htm", "C"},
                   {0, -1, "d.htm", "D"}}},
        ParseCase{"ShallowerLine_FindsTheAncestorAtItsDepth",
                  "a;A\r\n\tb;B\r\n\t\tc;C\r\n\t\t\td;D\r\n\t\te;E\r\n\tf;F\r\n",
                  {{0, -1, "a", "A"},
                   {1, 0, "b", "B"},
                   {2, 1, "c", "C"},
                   {3, 2, "d", "D"},
                   {2, 1, "e", "E"},
                   {1, 0, "f", "F"}}},
        ParseCase{"OverDeepChildThenShallower_UsesRealLevels",
                  "a;A\r\n\t\t\tb;B\r\n\t\tc;C\r\n\td;D\r\n",
                  {{0, -1, "a", "A"}, {1, 0, "b", "B"}, {2, 1, "c", "C"}, {1, 0, "d", "D"}}},
        ParseCase{"FileAndCaptionAreTrimmed_RestAfterSecondSemicolonIgnored",
                  "\t  ch02\\brakes.htm \t;  Brakes  ; extra\r\n",
                  {{0, -1, "ch02\\brakes.htm", "Brakes"}}},
        ParseCase{"HeadingWithoutPage",
                  ";Chapter\r\n\ta.htm;A\r\n",
                  {{0, -1, "", "Chapter"}, {1, 0, "a.htm", "A"}}},
        ParseCase{
            "LfOnlyLines", "a.htm;A\n\tb.htm;B\n", {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", "B"}}},
        ParseCase{"CrOnlyLines_NoFinalBreak",
                  "a.htm;A\r\tb.htm;B",
                  {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", "B"}}},
        ParseCase{"EmptyLinesAreNotItems",
                  "\r\n\r\na.htm;A\r\n\r\n\tb.htm;B\r\n\r\n",
                  {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", "B"}}},
        // The whole line is the file, as a field read up to ';' gives it.
        ParseCase{"LineWithoutSemicolon_IsAnItemWithoutCaption",
                  "a.htm;A\r\n\tb.htm\r\n\t\tc.htm;C\r\n",
                  {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", ""}, {2, 1, "c.htm", "C"}}},
        ParseCase{"BlankLinesAreSkipped_WithoutDisturbingLevels",
                  "a.htm;A\r\n\t\t\r\n\t;\r\n\t \t ; \r\n\tb.htm;B\r\n",
                  {{0, -1, "a.htm", "A"}, {1, 0, "b.htm", "B"}},
                  3},
        ParseCase{"EmptyFile", "", {}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(TreeFile, CyrillicCaption_KeepsItsWindows1251Bytes) {
    const std::string caption = A("Тормозная система");
    const TContentsTree tree = Tree("brakes.htm;" + caption + "\r\n");
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.Item(0).Caption, caption);
}

TEST(TreeFile, ChildrenAndTopLevel_FollowTheParents) {
    const TContentsTree tree = Tree("a;A\r\n\tb;B\r\n\t\tc;C\r\n\td;D\r\ne;E\r\n");
    EXPECT_EQ(tree.TopLevel(), (std::vector<std::int32_t>{0, 4}));
    EXPECT_EQ(tree.Item(0).Children, (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(tree.Item(1).Children, (std::vector<std::int32_t>{2}));
    EXPECT_TRUE(tree.Item(4).Children.empty());
    // each item knows its place among its siblings, as a tree view asks
    for (std::int32_t i = 0; i < tree.Count(); ++i) {
        const RTreeItem& item = tree.Item(i);
        const std::vector<std::int32_t>& siblings =
            item.Parent < 0 ? tree.TopLevel() : tree.Item(item.Parent).Children;
        EXPECT_EQ(siblings.at(static_cast<std::size_t>(item.Row)), i);
    }
}

TEST(TreeFile, NulByteInsideALine_EndsThePageButNotTheTree) {
    const std::string text = std::string("a.htm\0zz;A\r\n\tb.htm;B\r\n", 22);
    const TContentsTree tree = Tree(text);
    ASSERT_EQ(tree.Count(), 2);
    EXPECT_EQ(tree.Item(0).File, "a.htm");
    EXPECT_EQ(tree.Item(1).Parent, 0);
}

class TreeFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        InitProgramPaths(m_tmp.Path());
        TheArchive().Close();
    }
    test::TempDir m_tmp;
};

TEST_F(TreeFileOnDisk, IsReadRelativeToTheProgramFolder_IgnoringLetterCase) {
    m_tmp.Write("Data/Tree.txt", "a.htm;A\r\n\tb.htm;B\r\n");
    const TContentsTree tree = TContentsTree::Load("data\\tree.TXT", ProgramDir());
    ASSERT_EQ(tree.Count(), 2);
    EXPECT_EQ(tree.Item(1).Caption, "B");
    EXPECT_EQ(tree.ResolvedFile(1), ProgramDir() + "b.htm");
}

TEST_F(TreeFileOnDisk, MissingFile_GivesAnEmptyTree) {
    const TContentsTree tree = TContentsTree::Load("tree.txt", ProgramDir());
    EXPECT_TRUE(tree.Empty());
    EXPECT_EQ(tree.FindPage("c:\\a.htm"), -1);
    EXPECT_EQ(tree.NextChapter(-1), -1);
    EXPECT_EQ(tree.FindCaption("a", -1), -1);
    EXPECT_EQ(tree.ChapterHints(-1).Next, TContentsTree::LastChapterHint());
    EXPECT_EQ(tree.ChapterHints(-1).Prev, TContentsTree::FirstChapterHint());
}

// ---- the item of a page ----

struct FindCase {
    const char* document;
    std::int32_t item;
};

class FindPage : public ::testing::TestWithParam<FindCase> {
protected:
    // 0 bare name, 1 relative with folder, 2 absolute, 3 a second item of the
    // bare page, 4 a heading, 5 anchored item.
    const TContentsTree m_tree = Tree("brakes.htm;Brakes\r\n"
                                      "ch02\\pads.htm;Pads\r\n"
                                      "d:\\other\\engine.htm;Engine\r\n"
                                      "\tBRAKES.HTM;Brakes again\r\n"
                                      ";Heading\r\n"
                                      "body.htm#doors;Doors\r\n");
};

TEST_P(FindPage, FindsTheFirstItemOfThePage) {
    EXPECT_EQ(m_tree.FindPage(GetParam().document), GetParam().item) << GetParam().document;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, FindPage,
    ::testing::Values(FindCase{"c:\\run\\brakes.htm", 0}, FindCase{"C:\\RUN\\Brakes.HTM", 0},
                      FindCase{"c:\\run\\brakes.htm#top", 0},
                      // a bare name in the tree stands for that name in any folder
                      FindCase{"c:\\run\\elsewhere\\brakes.htm", 0}, FindCase{"brakes.htm", 0},
                      FindCase{"c:\\run\\ch02\\pads.htm", 1}, FindCase{"c:/run/ch02/PADS.htm", 1},
                      // an item with a folder names that folder only
                      FindCase{"c:\\run\\pads.htm", -1}, FindCase{"c:\\run\\ch03\\pads.htm", -1},
                      // any drive but Z: is the manual's root
                      FindCase{"c:\\other\\engine.htm", 2}, FindCase{"e:\\other\\engine.htm", 2},
                      FindCase{"z:\\other\\engine.htm", -1}, FindCase{"c:\\run\\body.htm", 5},
                      FindCase{"c:\\run\\missing.htm", -1}, FindCase{"", -1}, FindCase{"  ", -1}));

TEST(FindPage, EveryItemIsFoundByItsOwnFullName) {
    // Item names of every form: each must be found again by the name it
    // opens, and the names of several forms that mean one page by each other.
    const TContentsTree tree = Tree("ch01\\a.htm;A\r\n"
                                    "ch01/b.htm;B\r\n"
                                    "..\\up.htm;Up\r\n"
                                    "\\rooted.htm;Rooted\r\n"
                                    "ch02\\..\\c.htm;C\r\n"
                                    "e.htm  #anchor;E\r\n"
                                    "z:\\tmp\\f.htm;F\r\n"
                                    "\\\\server\\g.htm;G\r\n"
                                    "Ch03\\Ю.htm;Cyr\r\n");
    ASSERT_EQ(tree.Count(), 9);
    for (std::int32_t i = 0; i < tree.Count(); ++i)
        EXPECT_EQ(tree.FindPage(tree.ResolvedFile(i)), i) << tree.ResolvedFile(i);
    EXPECT_EQ(tree.FindPage("c:\\run\\CH01\\B.HTM"), 1);
    EXPECT_EQ(tree.FindPage("c:\\run\\c.htm"), 4);
    EXPECT_EQ(tree.FindPage("c:\\run\\e.htm"), 5);
}

TEST(FindPageLarge, TwentyThousandItems_EachPageFindsItsItem) {
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += std::string(static_cast<std::size_t>(i % 4), '\t');
        text += "ch" + std::to_string(i / 100) + "\\page" + std::to_string(i) + ".htm;Item " +
                std::to_string(i) + "\r\n";
    }
    const TContentsTree tree = Tree(text);
    ASSERT_EQ(tree.Count(), 20000);
    for (int i = 0; i < 20000; i += 997) {
        const std::string page =
            kDir + "CH" + std::to_string(i / 100) + "\\Page" + std::to_string(i) + ".htm";
        EXPECT_EQ(tree.FindPage(page), i);
    }
}

TEST(PageToOpen, FollowsTheItemsPage) {
    const TContentsTree tree = Tree("brakes.htm;B\r\nch02\\pads.htm;P\r\n;Heading\r\n"
                                    "brakes.htm#pads;Anchor\r\nd:\\x\\y.htm;Abs\r\n");
    // a bare name and a relative folder open from the program folder
    EXPECT_EQ(tree.PageToOpen(0, ""), kDir + "brakes.htm");
    EXPECT_EQ(tree.PageToOpen(1, "c:\\run\\brakes.htm"), kDir + "ch02\\pads.htm");
    EXPECT_EQ(tree.PageToOpen(4, ""), "d:\\x\\y.htm");
    // the page already shown, in any letter case, is not opened again
    EXPECT_EQ(tree.PageToOpen(0, "C:\\RUN\\BRAKES.HTM"), "");
    // an anchor is jumped to even on the page shown
    EXPECT_EQ(tree.PageToOpen(3, "c:\\run\\brakes.htm"), kDir + "brakes.htm#pads");
    // a heading opens nothing
    EXPECT_EQ(tree.PageToOpen(2, ""), "");
    EXPECT_EQ(tree.PageToOpen(99, ""), "");
}

// ---- captions ----

TEST(FindCaption, SearchesAfterTheFocusedItemAndWrapsAround) {
    const TContentsTree tree =
        Tree(A("a;Двигатель\r\nb;Тормоза передние\r\nc;Кузов\r\nd;тормоза задние\r\n"));
    EXPECT_EQ(tree.FindCaption(A("ТОРМОЗА"), -1), 1);
    EXPECT_EQ(tree.FindCaption(A("тормоза"), 1), 3);
    EXPECT_EQ(tree.FindCaption(A("тормоза"), 3), 1);
    EXPECT_EQ(tree.FindCaption(A("задние"), 3), 3); // the only match, found again
    EXPECT_EQ(tree.FindCaption(A("колёса"), 0), -1);
    EXPECT_EQ(tree.FindCaption("", 0), -1);
}

TEST(FindCaption, IgnoresTheCaseOfYo) {
    const TContentsTree tree = Tree(A("a;Ёмкость\r\n"));
    EXPECT_EQ(tree.FindCaption(A("ёмк"), -1), 0);
}

// ---- chapters ----

// The chapter steps as the tree's selection rule states them: walk from the
// selected item to the first item with a page that differs from its page.
std::int32_t WalkToChapter(const TContentsTree& tree, std::int32_t from, int step) {
    const std::string& file = tree.Item(from).File;
    for (std::int32_t i = from + step; i >= 0 && i < tree.Count(); i += step) {
        if (!tree.Item(i).File.empty() && tree.Item(i).File != file)
            return i;
    }
    return -1;
}

TEST(Chapters, RunsOfOnePageCountAsOneChapter_HeadingsArePassedOver) {
    // 0 a, 1 a, 2 heading, 3 b, 4 b, 5 heading, 6 a, 7 c
    const TContentsTree tree = Tree("a.htm;A1\r\n\ta.htm;A2\r\n;H1\r\n\tb.htm;B1\r\n\tb.htm;B2\r\n;"
                                    "H2\r\n\ta.htm;A3\r\nc.htm;C\r\n");
    EXPECT_EQ(tree.NextChapter(0), 3);
    EXPECT_EQ(tree.NextChapter(1), 3);
    EXPECT_EQ(tree.NextChapter(2), 3);
    EXPECT_EQ(tree.NextChapter(3), 6);
    EXPECT_EQ(tree.NextChapter(6), 7);
    EXPECT_EQ(tree.PrevChapter(7), 6);
    EXPECT_EQ(tree.PrevChapter(6), 4);
    EXPECT_EQ(tree.PrevChapter(4), 1);
    EXPECT_EQ(tree.PrevChapter(5), 4);
}

TEST(Chapters, AtTheLastChapter_NextKeepsTheSelection) {
    const TContentsTree tree = Tree("a.htm;A\r\nb.htm;B\r\n\tb.htm;B2\r\n;Tail heading\r\n");
    EXPECT_EQ(tree.NextChapter(1), 1);
    EXPECT_EQ(tree.NextChapter(2), 2);
    EXPECT_EQ(tree.NextChapter(3), 3);
    EXPECT_EQ(tree.NextChapterOf(1), -1);
    EXPECT_EQ(tree.ChapterHints(1).Next, TContentsTree::LastChapterHint());
    EXPECT_EQ(tree.ChapterHints(1).Next, A("Последний раздел"));
}

TEST(Chapters, AtTheFirstChapter_PrevKeepsTheSelection) {
    const TContentsTree tree = Tree(";Heading\r\na.htm;A\r\n\ta.htm;A2\r\nb.htm;B\r\n");
    EXPECT_EQ(tree.PrevChapter(2), 2);
    EXPECT_EQ(tree.PrevChapter(1), 1);
    EXPECT_EQ(tree.PrevChapter(0), 0);
    EXPECT_EQ(tree.ChapterHints(2).Prev, A("Первый раздел"));
    EXPECT_EQ(tree.PrevChapter(3), 2);
}

TEST(Chapters, NothingSelected_StepsToTheFirstItem) {
    const TContentsTree tree = Tree(";Heading\r\na.htm;A\r\n");
    EXPECT_EQ(tree.NextChapter(-1), 0);
    EXPECT_EQ(tree.PrevChapter(-1), 0);
    EXPECT_EQ(TContentsTree().NextChapter(-1), -1);
}

TEST(Chapters, PageComparisonRespectsLetterCase) {
    const TContentsTree tree = Tree("a.htm;A\r\nA.HTM;A upper\r\n");
    EXPECT_EQ(tree.NextChapter(0), 1);
}

TEST(Chapters, RandomTrees_AgreeWithTheWalk) {
    std::mt19937 rng(12345);
    const char* pages[] = {"", "a.htm", "b.htm", "c.htm"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int n = 1 + static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i)
            text +=
                std::string(rng() % 3, '\t') + pages[rng() % 4] + ";c" + std::to_string(i) + "\r\n";
        const TContentsTree tree = Tree(text);
        for (std::int32_t i = 0; i < tree.Count(); ++i) {
            ASSERT_EQ(tree.NextChapterOf(i), WalkToChapter(tree, i, 1)) << text << " item " << i;
            ASSERT_EQ(tree.PrevChapterOf(i), WalkToChapter(tree, i, -1)) << text << " item " << i;
        }
    }
}

TEST(ChapterHints, NameTheNeighboursWithTheirParents) {
    const TContentsTree tree = Tree(A("eng.htm;Двигатель\r\n\tpist.htm;Поршни\r\n"
                                      "brk.htm;Тормоза\r\n\tpads.htm;Колодки\r\n"));
    const TChapterHints hints = tree.ChapterHints(2);
    EXPECT_EQ(hints.Next, A("Тормоза : Колодки"));
    EXPECT_EQ(hints.Prev, A("Двигатель : Поршни"));
    // a top-level neighbour is named by its caption alone
    EXPECT_EQ(tree.ChapterHints(1).Next, A("Тормоза"));
    EXPECT_EQ(tree.ChapterHints(1).Prev, A("Двигатель"));
}

TEST(ChapterHints, NothingSelected_DescribesTheFirstItem) {
    const TContentsTree tree = Tree("a.htm;A\r\nb.htm;B\r\n");
    EXPECT_EQ(tree.ChapterHints(-1).Next, "B");
    EXPECT_EQ(tree.ChapterHints(-1).Prev, TContentsTree::FirstChapterHint());
}

// ---- the page a screen command asks for ----

TEST(PendingPage, NamedPage_SelectsItsItemAndOpensIt) {
    TContentsTree tree = Tree("a.htm;A\r\n\tbrakes.htm;Brakes\r\n");
    tree.SetPendingPage("c:\\run\\BRAKES.htm");
    const TPendingPageTarget target = tree.PendingPageTarget();
    EXPECT_EQ(target.Item, 1);
    EXPECT_EQ(target.Page, kDir + "brakes.htm");
    // it stays set, so the next showing opens it again
    EXPECT_EQ(tree.PendingPage(), "c:\\run\\BRAKES.htm");
    EXPECT_EQ(tree.PendingPageTarget().Item, 1);
}

TEST(PendingPage, PageWithAnchor_SelectsTheItemOfItsFileAndKeepsTheAnchor) {
    TContentsTree tree = Tree("a.htm;A\r\n\tbrakes.htm;Brakes\r\n");
    tree.SetPendingPage("c:\\run\\brakes.htm#pads");
    const TPendingPageTarget target = tree.PendingPageTarget();
    EXPECT_EQ(target.Item, 1);
    EXPECT_EQ(target.Page, "c:\\run\\brakes.htm#pads");
}

TEST(PendingPage, NoneOrNotInTheTree_DoesNothing) {
    TContentsTree tree = Tree("a.htm;A\r\n");
    EXPECT_EQ(tree.PendingPageTarget().Item, -1);
    tree.SetPendingPage("c:\\run\\other.htm");
    EXPECT_EQ(tree.PendingPageTarget().Item, -1);
    EXPECT_EQ(tree.PendingPageTarget().Page, "");
}

} // namespace
} // namespace carmanual
