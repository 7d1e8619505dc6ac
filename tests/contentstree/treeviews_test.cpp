// The contents tree widget: selection opens pages, the tree follows the page
// panel, the pending page, caption search, chapter steps and their hints,
// size, colours and drawing.

#include "treefixture.h"

#include "archive.h"
#include "paths.h"
#include "qtansi.h"
#include "tempdir.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>

namespace carmanual::test {
namespace {

// 0 intro, 1 engine, 2 oil, 3 oil#level, 4 belt, 5 brakes, 6 pads,
// 7 pads (same page), 8 discs, 9 appendix (no page), 10 appendix A.
std::string ManualTree() {
    return A("intro.htm;Введение\r\n"
             "engine\\index.htm;Двигатель\r\n"
             "\tengine\\oil.htm;Масло\r\n"
             "\tengine\\oil.htm#level;Уровень масла\r\n"
             "\tengine\\belt.htm;Ремень\r\n"
             "brakes\\index.htm;Тормоза\r\n"
             "\tbrakes\\pads.htm;Колодки\r\n"
             "\tbrakes\\pads.htm;Замена колодок\r\n"
             "\tbrakes\\discs.htm;Диски\r\n"
             ";Приложения\r\n"
             "\tapp\\a.htm;Приложение А\r\n");
}

std::string Page(std::string_view relative) {
    return kDir + std::string(relative);
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// ---- selection opens pages ----

TEST(TreeSelection, ClickOnAnItem_HandsItsFullPageToThePagePanel) {
    TreeOnScreen t(ManualTree());
    t.Click(4);
    ASSERT_EQ(t.opened, std::vector<std::string>{Page("engine\\belt.htm")});
    EXPECT_EQ(t.tree->SelectedItem(), 4);
    EXPECT_EQ(t.tree->FocusedItem(), 4);
    EXPECT_EQ(t.tree->SelectedFile(), Page("engine\\belt.htm"));
}

TEST(TreeSelection, ItemFileWithoutFolder_OpensFromTheProgramFolder) {
    TreeOnScreen t(ManualTree());
    t.Click(0);
    EXPECT_EQ(t.opened, std::vector<std::string>{"c:\\run\\intro.htm"});
}

TEST(TreeSelection, AbsoluteItemFile_IsOpenedAsWritten) {
    TreeOnScreen t("d:\\other\\x.htm;X\r\n");
    t.Click(0);
    EXPECT_EQ(t.opened, std::vector<std::string>{"d:\\other\\x.htm"});
}

TEST(TreeSelection, ItemOfThePageShown_OpensNothing) {
    TreeOnScreen t(ManualTree());
    t.shown = "C:\\RUN\\Brakes\\Pads.htm";
    t.Click(6);
    EXPECT_TRUE(t.opened.empty());
    EXPECT_EQ(t.tree->SelectedItem(), 6);
}

TEST(TreeSelection, ItemWithoutPage_OpensNothing) {
    TreeOnScreen t(ManualTree());
    t.Click(9);
    EXPECT_TRUE(t.opened.empty());
    EXPECT_EQ(t.tree->SelectedItem(), 9);
}

TEST(TreeSelection, AnchoredItem_JumpsEvenOnThePageShown) {
    TreeOnScreen t(ManualTree());
    t.shown = Page("engine\\oil.htm");
    t.tree->SyncWithPage(t.shown);
    t.Click(3);
    EXPECT_EQ(t.opened, std::vector<std::string>{Page("engine\\oil.htm#level")});
    // Clicked again: back to the anchor.
    t.Click(3);
    EXPECT_EQ(t.opened.size(), 2u);
}

TEST(TreeSelection, KeyDown_SelectsAndOpensTheNextRow) {
    TreeOnScreen t(ManualTree());
    t.Click(0);
    t.Key(Qt::Key_Down);
    EXPECT_EQ(t.tree->SelectedItem(), 1);
    EXPECT_EQ(t.opened.back(), Page("engine\\index.htm"));
}

TEST(TreeSelection, ClickOnTheSelectedItem_OpensItsPageAgainWhenAnotherIsShown) {
    TreeOnScreen t(ManualTree());
    t.Click(4);
    t.shown = Page("elsewhere.htm"); // a link was followed to a page the tree lacks
    t.tree->SyncWithPage(t.shown);
    ASSERT_EQ(t.tree->SelectedItem(), 4);
    t.Click(4);
    EXPECT_EQ(t.opened,
              (std::vector<std::string>{Page("engine\\belt.htm"), Page("engine\\belt.htm")}));
}

TEST(TreeSelection, EnterOnTheSelectedItem_OpensItsPageAgainWhenAnotherIsShown) {
    TreeOnScreen t(ManualTree());
    t.Click(4);
    t.Key(Qt::Key_Return);
    EXPECT_EQ(t.opened.size(), 1u);
    t.shown = Page("elsewhere.htm");
    t.Key(Qt::Key_Return);
    EXPECT_EQ(t.opened,
              (std::vector<std::string>{Page("engine\\belt.htm"), Page("engine\\belt.htm")}));
}

TEST(TreeSelection, CtrlClickOnTheSelectedItem_KeepsItSelected) {
    TreeOnScreen t(ManualTree());
    t.Click(4);
    const QRect r = t.List()->visualRect(t.Index(4));
    QTest::mouseClick(t.List()->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    EXPECT_EQ(t.tree->SelectedItem(), 4);
}

TEST(TreeSelection, ClickInTheIndentation_SelectsTheRow) {
    // B is a chapter inside a chapter: left of it the view would see an
    // expand button.
    TreeOnScreen t("a.htm;A\r\n\tb.htm;B\r\n\t\tc.htm;C\r\n\td.htm;D\r\n");
    t.List()->expandAll();
    QApplication::processEvents();
    const QRect r = t.List()->visualRect(t.Index(1));
    QTest::mouseClick(t.List()->viewport(), Qt::LeftButton, {}, QPoint(2, r.center().y()));
    EXPECT_EQ(t.tree->SelectedItem(), 1);
    EXPECT_TRUE(t.List()->isExpanded(t.Index(1)));
    EXPECT_EQ(t.opened, std::vector<std::string>{Page("b.htm")});
}

TEST(TreeSelection, SelectingAChapter_OpensItAndClickingItAgainClosesIt) {
    TreeOnScreen t(ManualTree());
    t.Click(5);
    EXPECT_TRUE(t.List()->isExpanded(t.Index(5)));
    t.Click(5);
    EXPECT_FALSE(t.List()->isExpanded(t.Index(5)));
    t.Click(5);
    EXPECT_TRUE(t.List()->isExpanded(t.Index(5)));
    EXPECT_EQ(t.opened.size(), 1u);
}

TEST(TreeSelection, MovingToAnotherChapter_ClosesTheOneLeft) {
    TreeOnScreen t(ManualTree());
    t.Click(4);
    EXPECT_TRUE(t.List()->isExpanded(t.Index(1)));
    t.Click(2); // within the same chapter: it stays open
    EXPECT_TRUE(t.List()->isExpanded(t.Index(1)));
    t.tree->SyncWithPage(Page("brakes\\discs.htm"));
    EXPECT_FALSE(t.List()->isExpanded(t.Index(1)));
    EXPECT_TRUE(t.List()->isExpanded(t.Index(5)));
    t.Click(5); // up to the chapter itself: still open
    EXPECT_TRUE(t.List()->isExpanded(t.Index(5)));
}

TEST(TreeSelection, MousePressAndMove_AreReported) {
    TreeOnScreen t(ManualTree());
    QSignalSpy pressed(t.tree, &TTreeViews::Pressed);
    QSignalSpy moved(t.tree, &TTreeViews::MouseMoved);
    const QRect r = t.List()->visualRect(t.Index(1));
    QTest::mouseMove(t.List()->viewport(), r.center());
    QTest::mousePress(t.List()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseRelease(t.List()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_GE(moved.count(), 1);
}

// Key events the tree does not take reach its parent.
class KeyRecorder final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Shift)
            keys.push_back(key);
        return false;
    }
    std::vector<int> keys;
};

TEST(TreeSelection, ShiftUpAndDown_AreLeftToTheWindow) {
    TreeOnScreen t(ManualTree());
    t.Click(2);
    KeyRecorder recorder;
    t.tree->installEventFilter(&recorder);
    t.Key(Qt::Key_Down, Qt::ShiftModifier);
    t.Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(recorder.keys, (std::vector<int>{Qt::Key_Down, Qt::Key_Up}));
    EXPECT_EQ(t.tree->SelectedItem(), 2);
}

// ---- following the page panel ----

struct FollowCase {
    const char* name;
    std::string document;
    std::int32_t item;
};

class TreeFollowsPage : public ::testing::TestWithParam<FollowCase> {};

TEST_P(TreeFollowsPage, SelectsTheItemWithoutOpeningIt) {
    const FollowCase& c = GetParam();
    TreeOnScreen t(ManualTree());
    t.shown = c.document;
    QSignalSpy hints(t.tree, &TTreeViews::ChapterHintsChanged);
    t.tree->SyncWithPage(c.document);
    EXPECT_EQ(t.tree->SelectedItem(), c.item);
    EXPECT_EQ(t.tree->FocusedItem(), c.item);
    EXPECT_TRUE(t.opened.empty());
    EXPECT_GE(hints.count(), 1);
    // Shown: the chapter around it is open and the row is in view.
    const QModelIndex index = t.Index(c.item);
    if (index.parent().isValid()) {
        EXPECT_TRUE(t.List()->isExpanded(index.parent()));
    }
    EXPECT_TRUE(t.List()->viewport()->rect().intersects(t.List()->visualRect(index)));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TreeFollowsPage,
    ::testing::Values(FollowCase{"Exact", Page("brakes\\discs.htm"), 8},
                      FollowCase{"LetterCase", "C:\\RUN\\BRAKES\\Discs.HTM", 8},
                      FollowCase{"Anchor", Page("brakes\\discs.htm#step2"), 8},
                      FollowCase{"SlashesAndDrive", "d:/run/brakes/discs.htm", 8},
                      FollowCase{"FirstItemOfThePage", Page("brakes\\pads.htm"), 6},
                      FollowCase{"FileWithoutFolderInTheTree", Page("intro.htm"), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeFollowing, WithoutAPagePanelDocument_StillOpensNothing) {
    TreeOnScreen t(ManualTree());
    t.tree->SetCurrentDocument({}); // the tree then goes by what it followed
    t.tree->SyncWithPage(Page("engine\\belt.htm"));
    EXPECT_TRUE(t.opened.empty());
    EXPECT_EQ(t.tree->SelectedItem(), 4);
    // ...and knows that page is shown: selecting its item opens nothing.
    t.Click(0);
    t.tree->SyncWithPage(Page("engine\\belt.htm"));
    t.tree->OpenSelected();
    EXPECT_EQ(t.opened, std::vector<std::string>{Page("intro.htm")});
}

TEST(TreeFollowing, PageNotInTheTree_LeavesTheSelection) {
    TreeOnScreen t(ManualTree());
    t.tree->SyncWithPage(Page("brakes\\discs.htm"));
    t.tree->SyncWithPage(Page("brakes\\drums.htm"));
    EXPECT_EQ(t.tree->SelectedItem(), 8);
}

TEST(TreeFollowing, SecondItemOfTheSamePage_StaysSelected) {
    TreeOnScreen t(ManualTree());
    t.Click(7);
    ASSERT_EQ(t.opened, std::vector<std::string>{Page("brakes\\pads.htm")});
    t.tree->SyncWithPage(Page("brakes\\pads.htm"));
    EXPECT_EQ(t.tree->SelectedItem(), 7);
}

TEST(TreeFollowing, EmptyDocument_ChangesNothing) {
    TreeOnScreen t(ManualTree());
    t.tree->SyncWithPage(Page("brakes\\discs.htm"));
    QSignalSpy hints(t.tree, &TTreeViews::ChapterHintsChanged);
    t.tree->SyncWithPage("  ");
    EXPECT_EQ(t.tree->SelectedItem(), 8);
    EXPECT_EQ(hints.count(), 0);
}

// ---- the pending page ----

TEST(PendingPage, ShownOnTheDocumentScreen_SelectsAndOpensIt) {
    TreeOnScreen t(ManualTree(), 0);
    t.tree->SetPendingPage(Page("brakes\\discs.htm"));
    t.tree->ShowForScreen(1);
    EXPECT_TRUE(t.tree->IsShown());
    EXPECT_EQ(t.tree->SelectedItem(), 8);
    EXPECT_EQ(t.opened, std::vector<std::string>{Page("brakes\\discs.htm")});
}

TEST(PendingPage, OtherScreen_OpensNothing) {
    TreeOnScreen t(ManualTree(), 1);
    t.tree->SetPendingPage(Page("brakes\\discs.htm"));
    t.tree->ShowForScreen(0);
    EXPECT_FALSE(t.tree->IsShown());
    EXPECT_TRUE(t.tree->isHidden());
    EXPECT_TRUE(t.opened.empty());
}

TEST(PendingPage, StaysSet_EveryReturnToTheDocumentScreenOpensItAgain) {
    TreeOnScreen t(ManualTree(), 0);
    t.tree->SetPendingPage(Page("brakes\\discs.htm"));
    t.tree->ShowForScreen(1);
    t.Click(0); // the reader goes elsewhere
    t.tree->ShowForScreen(0);
    t.tree->ShowForScreen(1);
    EXPECT_EQ(t.tree->PendingPage(), Page("brakes\\discs.htm"));
    EXPECT_EQ(t.tree->SelectedItem(), 8);
    EXPECT_EQ(t.opened, (std::vector<std::string>{Page("brakes\\discs.htm"), Page("intro.htm"),
                                                  Page("brakes\\discs.htm")}));
}

TEST(PendingPage, AlreadyShown_IsNotOpenedAgain) {
    TreeOnScreen t(ManualTree(), 0);
    t.shown = Page("brakes\\discs.htm");
    t.tree->SetPendingPage(Page("BRAKES\\DISCS.HTM"));
    t.tree->ShowForScreen(1);
    EXPECT_EQ(t.tree->SelectedItem(), 8);
    EXPECT_TRUE(t.opened.empty());
}

TEST(PendingPage, WithAnAnchor_OpensThePlaceAndSelectsThePage) {
    TreeOnScreen t(ManualTree(), 0);
    t.shown = Page("brakes\\discs.htm");
    t.tree->SetPendingPage(Page("brakes\\discs.htm#step2"));
    t.tree->ShowForScreen(1);
    EXPECT_EQ(t.tree->SelectedItem(), 8);
    EXPECT_EQ(t.opened, std::vector<std::string>{Page("brakes\\discs.htm#step2")});
}

TEST(PendingPage, NotInTheTree_OpensNothing) {
    TreeOnScreen t(ManualTree(), 0);
    t.tree->SetPendingPage(Page("brakes\\drums.htm"));
    t.tree->ShowForScreen(1);
    EXPECT_EQ(t.tree->SelectedItem(), -1);
    EXPECT_TRUE(t.opened.empty());
}

TEST(PendingPage, TreeHiddenByOfftree_OpensNothing) {
    TreeOnScreen t(ManualTree(), 1);
    t.tree->SetTreeHidden(true);
    t.tree->SetPendingPage(Page("brakes\\discs.htm"));
    t.tree->ShowForScreen(1);
    EXPECT_FALSE(t.tree->IsShown());
    EXPECT_TRUE(t.opened.empty());
}

// ---- caption search ----

TEST(FindCaption, FindsTheNextMatchAfterTheFocusedItemAndWrapsAround) {
    TreeOnScreen t(ManualTree());
    EXPECT_TRUE(t.tree->FindCaption(U("колод")));
    EXPECT_EQ(t.tree->SelectedItem(), 6);
    EXPECT_TRUE(t.tree->FindCaption(U("КОЛОД")));
    EXPECT_EQ(t.tree->SelectedItem(), 7);
    EXPECT_TRUE(t.tree->FindCaption(U("Колод")));
    EXPECT_EQ(t.tree->SelectedItem(), 6);
    EXPECT_EQ(t.opened, std::vector<std::string>{Page("brakes\\pads.htm")});
}

TEST(FindCaption, OnlyMatchFocused_IsFoundAgainAndOpenedWhenAnotherPageIsShown) {
    TreeOnScreen t(ManualTree());
    ASSERT_TRUE(t.tree->FindCaption(U("ремень")));
    t.shown = Page("elsewhere.htm");
    EXPECT_TRUE(t.tree->FindCaption(U("ремень")));
    EXPECT_EQ(t.tree->SelectedItem(), 4);
    EXPECT_EQ(t.opened,
              (std::vector<std::string>{Page("engine\\belt.htm"), Page("engine\\belt.htm")}));
}

TEST(FindCaption, NoMatch_KeepsTheSelection) {
    TreeOnScreen t(ManualTree());
    t.Click(2);
    EXPECT_FALSE(t.tree->FindCaption(U("карбюратор")));
    EXPECT_FALSE(t.tree->FindCaption(QString()));
    EXPECT_EQ(t.tree->SelectedItem(), 2);
}

// ---- chapters ----

struct ChapterCase {
    const char* name;
    std::int32_t from; // -1: nothing selected
    bool next;
    std::int32_t to;
    bool moved;
};

class ChapterStep : public ::testing::TestWithParam<ChapterCase> {};

TEST_P(ChapterStep, SelectsAndOpensTheChapter) {
    const ChapterCase& c = GetParam();
    TreeOnScreen t(ManualTree());
    if (c.from >= 0) {
        t.tree->SyncWithPage(t.tree->Tree().ResolvedFile(c.from));
        ASSERT_EQ(t.tree->SelectedItem(), c.from);
    }
    t.shown = Page("elsewhere.htm");
    const bool moved = c.next ? t.tree->NextChapter() : t.tree->PrevChapter();
    EXPECT_EQ(moved, c.moved);
    EXPECT_EQ(t.tree->SelectedItem(), c.to);
    ASSERT_EQ(t.opened.size(), 1u);
    EXPECT_EQ(t.opened[0], t.tree->Tree().ResolvedFile(c.to));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ChapterStep,
    ::testing::Values(ChapterCase{"NextWithNothingSelected_First", -1, true, 0, true},
                      ChapterCase{"PrevWithNothingSelected_First", -1, false, 0, true},
                      ChapterCase{"NextIntoAChapter", 0, true, 1, true},
                      ChapterCase{"NextSkipsItemsOfTheSamePage", 6, true, 8, true},
                      ChapterCase{"NextSkipsItemsWithoutPage", 8, true, 10, true},
                      ChapterCase{"NextOnTheLastChapter_Stays", 10, true, 10, false},
                      ChapterCase{"PrevOnTheFirstChapter_Stays", 0, false, 0, false},
                      ChapterCase{"PrevSkipsItemsWithoutPage", 10, false, 8, true},
                      ChapterCase{"PrevLandsOnTheLastItemOfAPage", 8, false, 7, true},
                      ChapterCase{"AnchorCountsAsAnotherChapter", 2, true, 3, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChapterStep, OnTheLastChapterWithItsPageShown_OpensNothing) {
    TreeOnScreen t(ManualTree());
    t.shown = Page("app\\a.htm");
    t.tree->SyncWithPage(t.shown);
    EXPECT_FALSE(t.tree->NextChapter());
    EXPECT_EQ(t.tree->SelectedItem(), 10);
    EXPECT_TRUE(t.opened.empty());
}

TEST(ChapterStep, EmptyTree_DoesNothing) {
    TreeOnScreen t("");
    EXPECT_FALSE(t.tree->NextChapter());
    EXPECT_FALSE(t.tree->PrevChapter());
    EXPECT_EQ(t.tree->SelectedItem(), -1);
    EXPECT_EQ(t.tree->NextChapterHint(), U("Последний раздел"));
    EXPECT_EQ(t.tree->PrevChapterHint(), U("Первый раздел"));
}

struct HintCase {
    const char* name;
    std::int32_t selected;
    const char* next;
    const char* prev;
};

class ChapterHints : public ::testing::TestWithParam<HintCase> {};

TEST_P(ChapterHints, NameTheNeighbouringChapters) {
    const HintCase& c = GetParam();
    TreeOnScreen t(ManualTree());
    if (c.selected >= 0)
        t.tree->SyncWithPage(t.tree->Tree().ResolvedFile(c.selected));
    EXPECT_EQ(t.tree->NextChapterHint(), U(c.next));
    EXPECT_EQ(t.tree->PrevChapterHint(), U(c.prev));
}

INSTANTIATE_TEST_SUITE_P(
    Selections, ChapterHints,
    ::testing::Values(HintCase{"NothingSelected_AsTheFirstItem", -1, "Двигатель", "Первый раздел"},
                      HintCase{"First", 0, "Двигатель", "Первый раздел"},
                      HintCase{"ChildToTopLevel", 4, "Тормоза", "Двигатель : Уровень масла"},
                      HintCase{"SamePageRun", 6, "Тормоза : Диски", "Тормоза"},
                      HintCase{"Last", 10, "Последний раздел", "Тормоза : Диски"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- size, colours, drawing ----

TEST(TreeLook, SizeComesFromTheElementsEdges) {
    QWidget host;
    RTree element = Element();
    element.Right = 250;
    element.Bottom = 500;
    TTreeViews tree(&host, element, TContentsTree(), 1);
    EXPECT_EQ(tree.sizeHint(), QSize(217, 410));
    EXPECT_EQ(tree.size(), QSize(217, 410));
    element.Right = 40; // narrower than the tree may be
    element.Bottom = 50;
    TTreeViews narrow(&host, element, TContentsTree(), 1);
    EXPECT_EQ(narrow.sizeHint(), QSize(TTreeViews::kMinimumWidth, 0));
    EXPECT_EQ(narrow.minimumWidth(), TTreeViews::kMinimumWidth);
}

TEST(TreeLook, SelectionColoursComeFromTheElement) {
    TreeOnScreen t(ManualTree());
    EXPECT_EQ(t.tree->ColorSelect(), QColor(0x00, 0x66, 0xCC));
    EXPECT_EQ(t.tree->ColorSelectText(), QColor(Qt::white));
}

TEST(TreeLook, SelectedTextInTheSelectionColour_IsMadeReadable) {
    RTree element = Element();
    element.ColorSelect = element.ColorSelectText = 0x202020;
    TreeOnScreen t(ManualTree(), 1, element);
    EXPECT_EQ(t.tree->ColorSelectText(), QColor(Qt::white));
}

TEST(TreeLook, SelectedRow_IsFilledAcrossTheWholeWidth) {
    TreeOnScreen t(ManualTree());
    t.tree->SyncWithPage(Page("engine\\belt.htm"));
    QApplication::processEvents();
    const QImage image = t.List()->viewport()->grab().toImage();
    const QRect row = t.List()->visualRect(t.Index(4));
    const QColor select(0x00, 0x66, 0xCC);
    // In the indentation, and at the right end past the caption.
    EXPECT_EQ(image.pixelColor(1, row.center().y()), select);
    EXPECT_EQ(image.pixelColor(image.width() - 2, row.center().y()), select);
    // An unselected row stays white there.
    const QRect other = t.List()->visualRect(t.Index(0));
    EXPECT_EQ(image.pixelColor(image.width() - 2, other.center().y()), QColor(Qt::white));
}

TEST(TreeLook, RowUnderTheMouse_IsTinted) {
    TreeOnScreen t(ManualTree());
    const QRect row = t.List()->visualRect(t.Index(0));
    QTest::mouseMove(t.List()->viewport(), row.center());
    QApplication::processEvents();
    const QImage image = t.List()->viewport()->grab().toImage();
    const QColor hover = image.pixelColor(image.width() - 2, row.center().y());
    EXPECT_NE(hover, QColor(Qt::white));
    EXPECT_NE(hover, t.tree->ColorSelect());
}

TEST(TreeLook, ScrollBarStandsOnTheLeftAndFollowsTheList) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "p" + std::to_string(i) + ".htm;" + A("Страница ") + std::to_string(i) + "\r\n";
    TreeOnScreen t(text);
    QScrollBar* left = nullptr;
    for (QScrollBar* bar : t.tree->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        left = bar;
    ASSERT_NE(left, nullptr);
    EXPECT_TRUE(left->isVisible());
    EXPECT_EQ(left->x(), 0);
    EXPECT_GE(t.List()->x(), left->width());
    EXPECT_FALSE(t.List()->verticalScrollBar()->isVisible());

    t.tree->SyncWithPage(Page("p199.htm"));
    QApplication::processEvents();
    EXPECT_GT(left->value(), 0);
    EXPECT_EQ(left->value(), t.List()->verticalScrollBar()->value());
    left->setValue(0); // dragging the bar scrolls the list
    EXPECT_EQ(t.List()->verticalScrollBar()->value(), 0);
}

TEST(TreeLook, LongCaption_ShowsWholeAsToolTipOnlyWhenCut) {
    const QString cut = U("Снятие и установка ") + QString(200, QChar('x'));
    TreeOnScreen t(A("a.htm;Кузов\r\nb.htm;") + ToAnsi(cut) + "\r\n");
    const auto toolTipAt = [&](std::int32_t item) {
        const QPoint pos = t.List()->visualRect(t.Index(item)).center();
        QHelpEvent event(QEvent::ToolTip, pos, t.List()->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(t.List()->viewport(), &event);
    };
    toolTipAt(0);
    EXPECT_FALSE(QToolTip::isVisible());
    toolTipAt(1);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), cut);
    QToolTip::hideText();
}

// ---- the tree file ----

class TreeFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        InitProgramPaths(m_tmp.Path());
        TheArchive().Close();
    }
    TempDir m_tmp;
};

TEST_F(TreeFileOnDisk, IsReadFromTheProgramFolder) {
    m_tmp.Write("Data/Contents.txt", ManualTree());
    QWidget host;
    TTreeViews tree(&host, Element("data\\contents.txt"), ProgramDir(), 1);
    ASSERT_EQ(tree.Tree().Count(), 11);
    EXPECT_EQ(tree.Model()->rowCount(), 4);
    EXPECT_EQ(tree.Model()->IndexOf(8).data().toString(), U("Диски"));
    std::vector<std::string> opened;
    tree.SetOpenPage([&](const std::string& page) { opened.push_back(page); });
    EXPECT_TRUE(tree.NextChapter());
    EXPECT_EQ(opened, std::vector<std::string>{ProgramDir() + "intro.htm"});
}

TEST_F(TreeFileOnDisk, MissingFile_GivesAnEmptyTreeThatStillWorks) {
    QWidget host;
    TTreeViews tree(&host, Element("nothing.txt"), ProgramDir(), 1);
    EXPECT_EQ(tree.Model()->rowCount(), 0);
    EXPECT_FALSE(tree.FindCaption("a"));
    tree.SyncWithPage(ProgramDir() + "a.htm");
    tree.SetPendingPage(ProgramDir() + "a.htm");
    tree.ShowForScreen(1);
    EXPECT_EQ(tree.SelectedItem(), -1);
}

} // namespace
} // namespace carmanual::test
