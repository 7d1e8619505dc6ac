#include "popupwindow.h"

#include "popupstest.h"
#include "qtansi.h"
#include "windowshape.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace carmanual {
namespace {

using test::Ansi;
using test::PopupDescription;

class PopupWindow : public ::testing::Test {
protected:
    std::unique_ptr<TPopupWindow> NewList(const RPopupData& d) {
        auto list = std::make_unique<TPopupWindow>(d);
        list->SetTickSource([this] { return m_ticks; });
        list->OnItemClicked = [this](const std::string& command, int index) {
            m_clicks.emplace_back(command, index);
        };
        return list;
    }
    static QRect Desktop() { return QGuiApplication::primaryScreen()->geometry(); }

    test::PopupManual m_manual;
    std::uint32_t m_ticks = 100000;
    std::vector<std::pair<std::string, int>> m_clicks;
};

TEST_F(PopupWindow, ThreeEntriesOfTwentyWithDefaultMargin_WindowIsSeventyHigh) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    ASSERT_EQ(list->FullSize(), QSize(120, 100)); // the background's size before any entry
    for (const char* command : {"a", "b", "c"})
        list->AppendItem(Ansi("Пункт"), command);
    EXPECT_EQ(list->FullSize(), QSize(120, 70));
    EXPECT_EQ(list->BackPicture().size(), QSize(120, 70));
    // Centred entries one below the other, from the margin down.
    EXPECT_EQ(list->Item(0).Rect(), QRect(10, 5, 100, 20));
    EXPECT_EQ(list->Item(1).Rect(), QRect(10, 25, 100, 20));
    EXPECT_EQ(list->Item(2).Rect(), QRect(10, 45, 100, 20));
}

TEST_F(PopupWindow, DescribedEntryLeftAndMargin_AreUsed) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.XBtn = 3;
    d.YBtn = 8;
    auto list = NewList(d);
    list->AppendItem("a", "a");
    list->AppendItem("b", "b");
    EXPECT_EQ(list->Item(0).Rect(), QRect(3, 8, 100, 20));
    EXPECT_EQ(list->Item(1).Rect(), QRect(3, 28, 100, 20));
    EXPECT_EQ(list->FullSize().height(), 40 + 16);
}

TEST_F(PopupWindow, HidingSecondOfThree_MovesThirdUpAndShowingItAgainRestoresOrder) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    for (const char* command : {"a", "b", "c"})
        list->AppendItem(command, command);
    list->SetUsed(1, false);
    EXPECT_EQ(list->VisibleItemCount(), 2);
    EXPECT_FALSE(list->Item(1).Placed());
    EXPECT_EQ(list->Item(2).Rect().top(), 25);
    EXPECT_EQ(list->FullSize().height(), 50);

    list->SetUsed(1, true);
    EXPECT_EQ(list->Item(1).Rect().top(), 25);
    EXPECT_EQ(list->Item(2).Rect().top(), 45);
    EXPECT_EQ(list->FullSize().height(), 70);
}

TEST_F(PopupWindow, GrowingList_RepeatsBackgroundMiddleAndKeepsItsBottomStrip) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    for (int i = 0; i < 6; ++i)
        list->AppendItem("x", "x");
    const QImage& back = list->BackPicture();
    ASSERT_EQ(back.height(), 6 * 20 + 10);
    EXPECT_EQ(back.pixelColor(3, 0), test::kBackTop);
    EXPECT_EQ(back.pixelColor(3, 4), test::kBackTop);
    EXPECT_EQ(back.pixelColor(3, 60), test::kBackMiddle);
    EXPECT_EQ(back.pixelColor(3, 110), test::kBackMiddle); // rows added below the old middle
    EXPECT_EQ(back.pixelColor(3, 124), test::kBackMiddle);
    for (int y = back.height() - 5; y < back.height(); ++y)
        EXPECT_EQ(back.pixelColor(3, y), test::kBackBottom) << y;
}

TEST_F(PopupWindow, ShrinkingList_CutsTheMiddleAndKeepsBothEdges) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("x", "x");
    const QImage& back = list->BackPicture();
    ASSERT_EQ(back.height(), 30);
    EXPECT_EQ(back.pixelColor(3, 0), test::kBackTop);
    EXPECT_EQ(back.pixelColor(3, 15), test::kBackMiddle);
    EXPECT_EQ(back.pixelColor(3, 24), test::kBackMiddle);
    EXPECT_EQ(back.pixelColor(3, 25), test::kBackBottom);
    EXPECT_EQ(back.pixelColor(3, 29), test::kBackBottom);
}

TEST_F(PopupWindow, ShapedList_KeepsThePictureSize) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.Vertex = {"0,0", "120,0", "120,100", "0,100"};
    auto list = NewList(d);
    EXPECT_TRUE(list->Shaped());
    list->AppendItem("x", "x");
    EXPECT_EQ(list->FullSize(), QSize(120, 100));
    EXPECT_EQ(list->Item(0).Rect(), QRect(10, 5, 100, 20));
}

TEST_F(PopupWindow, EntryPictures_ComeFromTheirIndexOrTheFirst) {
    m_manual.Picture("skin/second.bmp", QColor(1, 2, 3), 90, 24);
    RPopupData d = PopupDescription(TPopupType{1});
    d.FnBtnUp = {ResolveValuePath("skin\\up.bmp"), ResolveValuePath("skin\\second.bmp")};
    auto list = NewList(d);
    for (const char* command : {"a", "b", "c"})
        list->AppendItem("", command);
    EXPECT_EQ(list->Item(0).UpFile(), d.FnBtnUp[0]);
    EXPECT_EQ(list->Item(1).UpFile(), d.FnBtnUp[1]);
    EXPECT_EQ(list->Item(2).UpFile(), d.FnBtnUp[0]);
    EXPECT_EQ(list->Item(1).MoveFile(), d.FnBtnMove[0]);
    // The normal picture gives the entry its size.
    EXPECT_EQ(list->Item(1).Rect().size(), QSize(90, 24));
    EXPECT_EQ(list->Item(1).Rect().left(), 15);
}

TEST_F(PopupWindow, ShortCaption_IsDrawnInEachPictureWithoutToolTip) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem(Ansi("Да"), "yes");
    const TItemsBtn& item = list->Item(0);
    EXPECT_EQ(item.DrawnCaption(), QString::fromUtf8("Да"));
    EXPECT_TRUE(item.ToolTip().isEmpty());
    const QRect text(7, 0, 40, 20);
    EXPECT_TRUE(test::AnyPixel(item.UpPicture(), text, test::Reddish));
    EXPECT_TRUE(test::AnyPixel(item.HoverPicture(), text, test::Bluish));
    EXPECT_TRUE(test::AnyPixel(item.DownPicture(), text, test::Bluish));
    // Nothing is drawn in the left margin.
    EXPECT_FALSE(test::AnyPixel(item.UpPicture(), QRect(0, 0, 6, 20), test::Reddish));
}

TEST_F(PopupWindow, TooWideCaption_IsShortenedWithDotsAndBecomesToolTip) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    const char* longCaption = "Снятие и установка тормозных колодок задних колёс";
    list->AppendItem(Ansi(longCaption), "x");
    const TItemsBtn& item = list->Item(0);
    const QString full = QString::fromUtf8(longCaption);
    EXPECT_EQ(item.ToolTip(), full);
    ASSERT_TRUE(item.DrawnCaption().endsWith(QStringLiteral("...")));
    const QString kept = item.DrawnCaption().chopped(3);
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_TRUE(full.startsWith(kept));
    // The longest start that fits the box between the margins.
    const QFontMetrics metrics(TItemsBtn::CaptionFont("dejavu sans", 9, "regular"));
    EXPECT_LE(metrics.horizontalAdvance(item.DrawnCaption()), 100 - 14);
    EXPECT_GT(metrics.horizontalAdvance(full.left(kept.size() + 1) + QStringLiteral("...")),
              100 - 14);
}

TEST_F(PopupWindow, NewCaption_ReplacesTheOldOneInThePictures) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem(Ansi("Длинная надпись"), "x");
    list->SetCaption(0, "");
    EXPECT_FALSE(test::AnyPixel(list->Item(0).UpPicture(), QRect(0, 0, 100, 20), test::Reddish));
}

TEST(ItemsBtnCaptionBox, SizeAndOverflow_FollowTheEntry) {
    struct Case {
        int cx, cy, width, height;
        QRect box;
        bool overflows;
    };
    const Case cases[] = {
        {30, 15, 100, 20, QRect(QPoint(7, 2), QPoint(36, 16)), false},
        {85, 15, 100, 20, QRect(QPoint(7, 2), QPoint(91, 16)), false},
        {86, 15, 100, 20, QRect(QPoint(7, 2), QPoint(92, 16)), true}, // 86 + 14 is not below 100
        {30, 20, 100, 20, QRect(QPoint(7, -3), QPoint(36, 19)), false},
        {30, 25, 100, 20, QRect(QPoint(7, -3), QPoint(36, 19)), false},
        {30, 14, 100, 21, QRect(QPoint(7, 3), QPoint(36, 16)), false},
    };
    for (const Case& c : cases) {
        bool overflows = false;
        EXPECT_EQ(TItemsBtn::CaptionBox(c.cx, c.cy, c.width, c.height, overflows), c.box)
            << c.cx << " " << c.cy;
        EXPECT_EQ(overflows, c.overflows) << c.cx;
    }
}

TEST(ItemsBtnFont, SizeInPointsAndStyleWords) {
    const QFont font = TItemsBtn::CaptionFont("dejavu sans", 9, "bold italic");
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(font.underline());
    const QFont plain = TItemsBtn::CaptionFont("", 0, "underline strikeout");
    EXPECT_EQ(plain.pixelSize(), 11); // 8 points when no size is given
    EXPECT_FALSE(plain.bold());
    EXPECT_TRUE(plain.underline());
    EXPECT_TRUE(plain.strikeOut());
}

TEST_F(PopupWindow, MouseOverEntry_LightsOnlyThatEntry) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    for (const char* command : {"a", "b", "c"})
        list->AppendItem(command, command);
    test::SendMouse(list.get(), QEvent::MouseMove, QPoint(50, 35));
    EXPECT_FALSE(list->Item(0).Hover());
    EXPECT_TRUE(list->Item(1).Hover());
    EXPECT_FALSE(list->Item(2).Hover());
    test::SendMouse(list.get(), QEvent::MouseMove, QPoint(50, 55));
    EXPECT_FALSE(list->Item(1).Hover());
    EXPECT_TRUE(list->Item(2).Hover());
    EXPECT_TRUE(m_clicks.empty());
}

TEST_F(PopupWindow, PressOnEntry_PressesItAndReportsItsCommand) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    for (const char* command : {"a", "b", "c"})
        list->AppendItem(command, command);
    test::SendMouse(list.get(), QEvent::MouseMove, QPoint(50, 35));
    test::SendMouse(list.get(), QEvent::MouseButtonPress, QPoint(50, 35));
    EXPECT_TRUE(list->Item(1).Pressed());
    ASSERT_EQ(m_clicks.size(), 1u);
    EXPECT_EQ(m_clicks[0], std::make_pair(std::string("b"), 1));
    // A pressed entry does not report a second press...
    test::SendMouse(list.get(), QEvent::MouseButtonPress, QPoint(50, 35));
    EXPECT_EQ(m_clicks.size(), 1u);
    // ...until the pointer has left it.
    test::SendMouse(list.get(), QEvent::MouseMove, QPoint(50, 15));
    EXPECT_FALSE(list->Item(1).Pressed());
    test::SendMouse(list.get(), QEvent::MouseButtonPress, QPoint(50, 15), Qt::RightButton);
    ASSERT_EQ(m_clicks.size(), 2u);
    EXPECT_EQ(m_clicks[1], std::make_pair(std::string("a"), 0));
}

TEST_F(PopupWindow, PressOnEntryBorderOrBackground_ReportsNothing) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    for (QPoint p : {QPoint(10, 15), QPoint(110, 15), QPoint(50, 5), QPoint(50, 25), QPoint(5, 2)})
        test::SendMouse(list.get(), QEvent::MouseButtonPress, p);
    EXPECT_TRUE(m_clicks.empty());
    EXPECT_FALSE(list->Item(0).Pressed());
}

TEST_F(PopupWindow, RemovingEntry_MovesTheFollowingUpAndTheLastHidesTheList) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->SetDeleteMode(true);
    for (const char* caption : {"a", "b", "c"})
        list->AppendItem(caption, std::string("go ") + caption);
    list->ShowAt(QPoint(10, 10), 2);
    list->RemoveItem(0);
    ASSERT_EQ(list->ItemCount(), 2);
    EXPECT_EQ(list->Item(0).Command(), "go b");
    EXPECT_EQ(list->Item(0).Caption(), "b");
    EXPECT_EQ(list->Item(0).Rect().top(), 5);
    EXPECT_EQ(list->Item(1).Command(), "go c");
    EXPECT_EQ(list->Item(1).Rect().top(), 25);
    EXPECT_TRUE(list->isVisible());
    list->RemoveItem(7); // no such entry
    EXPECT_EQ(list->ItemCount(), 2);
    list->RemoveItem(1);
    list->RemoveItem(0);
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_FALSE(list->isVisible());
}

TEST_F(PopupWindow, ResetToCount_HidesEveryEntryAndForgetsItsCommand) {
    auto list = NewList(PopupDescription(TPopupType{-1}));
    list->SetItemCount(8);
    EXPECT_EQ(list->ItemCount(), 8);
    EXPECT_EQ(list->VisibleItemCount(), 0);
    list->SetCaption(2, Ansi("Глава"));
    list->SetCommand(2, "history=2");
    list->SetUsed(2, true);
    EXPECT_EQ(list->Item(2).Rect().top(), 5);
    list->SetItemCount(3);
    EXPECT_EQ(list->ItemCount(), 3);
    EXPECT_EQ(list->VisibleItemCount(), 0);
    EXPECT_TRUE(list->Item(2).Command().empty());
    // The same caption again is drawn into the fresh pictures.
    list->SetCaption(2, Ansi("Глава"));
    EXPECT_TRUE(test::AnyPixel(list->Item(2).UpPicture(), QRect(0, 0, 100, 20), test::Reddish));
}

TEST_F(PopupWindow, ListPastTheScreenEdge_IsMovedBackOntoIt) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    const QRect desktop = Desktop();
    list->ShowAt(QPoint(desktop.right() - 20, desktop.bottom() - 5), 2);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->geometry(),
              QRect(desktop.right() + 1 - 120, desktop.bottom() + 1 - 30, 120, 30));
    list->HidePopup();
    list->ShowAt(QPoint(desktop.left() - 50, desktop.top() - 70), 2);
    EXPECT_EQ(list->geometry().topLeft(), desktop.topLeft());
}

TEST_F(PopupWindow, FixedPosition_IsInMainWindowClientCoordinates) {
    QWidget mainWindow;
    mainWindow.setGeometry(30, 40, 400, 300);
    RPopupData d = PopupDescription(TPopupType{1});
    d.XFon = 100;
    d.YFon = 50;
    auto list = std::make_unique<TPopupWindow>(d, &mainWindow);
    list->AppendItem("a", "a");
    list->ShowAt(QPoint(5, 5), 2);
    EXPECT_EQ(list->geometry().topLeft(), mainWindow.mapToGlobal(QPoint(100, 50)));

    // Only the coordinate that is given is fixed.
    d.YFon = -1;
    list = std::make_unique<TPopupWindow>(d, &mainWindow);
    list->AppendItem("a", "a");
    list->ShowAt(QPoint(5, 7), 2);
    EXPECT_EQ(list->geometry().topLeft(), QPoint(mainWindow.mapToGlobal(QPoint(100, 0)).x(), 7));
}

TEST_F(PopupWindow, FixedPositionPastTheRightEdge_KeepsTheListOnTheScreen) {
    // With the main window at the desktop's origin, a list placed 100 pixels
    // before the right edge ends at the edge.
    QWidget mainWindow;
    const QRect desktop = Desktop();
    mainWindow.setGeometry(desktop.left(), desktop.top(), 300, 200);
    RPopupData d = PopupDescription(TPopupType{1});
    d.XFon = desktop.width() - 100;
    TPopupWindow list(d, &mainWindow);
    list.AppendItem("a", "a");
    list.ShowAt(QPoint(0, 10), 2);
    EXPECT_EQ(list.geometry().left(), desktop.right() + 1 - 120);
}

TEST_F(PopupWindow, OnTheDocumentScreen_SlidesInAndEndsAtItsPlace) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    list->AppendItem("b", "b");
    QCursor::setPos(0, 0);
    list->ShowAt(QPoint(200, 150), 1);
    const QRect target(200, 150, 120, 50);
    EXPECT_EQ(list->TargetGeometry(), target);
    ASSERT_TRUE(list->Sliding());
    EXPECT_LT(list->height(), target.height());
    EXPECT_EQ(list->geometry().top(), target.top());
    ASSERT_TRUE(test::PumpUntil([&] { return !list->Sliding(); }));
    EXPECT_EQ(list->geometry(), target);
    EXPECT_TRUE(list->isVisible());
}

TEST_F(PopupWindow, PointerBelowTheListTop_ListRisesFromItsBottom) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    list->AppendItem("b", "b");
    QCursor::setPos(210, 400);
    if (QCursor::pos() != QPoint(210, 400))
        GTEST_SKIP() << "the platform does not move the pointer";
    list->ShowAt(QPoint(200, 150), 1);
    ASSERT_TRUE(list->Sliding());
    EXPECT_EQ(list->geometry().bottom(), list->TargetGeometry().bottom());
    EXPECT_GT(list->geometry().top(), 150);
    ASSERT_TRUE(test::PumpUntil([&] { return !list->Sliding(); }));
    EXPECT_EQ(list->geometry(), QRect(200, 150, 120, 50));
}

TEST_F(PopupWindow, ShownAgainWithin250ms_AppearsWithoutSlide) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    list->ShowAt(QPoint(200, 150), 1);
    EXPECT_TRUE(list->Sliding());
    list->HidePopup();
    m_ticks += 250;
    list->ShowAt(QPoint(200, 150), 1);
    EXPECT_FALSE(list->Sliding());
    EXPECT_EQ(list->geometry(), QRect(200, 150, 120, 30));
    list->HidePopup();
    m_ticks += 251;
    list->ShowAt(QPoint(200, 150), 1);
    EXPECT_TRUE(list->Sliding());
    EXPECT_EQ(list->LastShown(), m_ticks);
}

TEST_F(PopupWindow, OtherScreensOrSlideSwitchedOff_AppearAtOnce) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    for (int screen : {0, 2}) {
        m_ticks += 1000;
        list->ShowAt(QPoint(200, 150), screen);
        EXPECT_FALSE(list->Sliding()) << screen;
        list->HidePopup();
    }
    list->SetSlideEnabled(false);
    m_ticks += 1000;
    list->ShowAt(QPoint(200, 150), 1);
    EXPECT_FALSE(list->Sliding());
    EXPECT_EQ(list->geometry(), QRect(200, 150, 120, 30));
}

TEST_F(PopupWindow, HidingDuringSlide_StopsIt) {
    auto list = NewList(PopupDescription(TPopupType{1}));
    list->AppendItem("a", "a");
    list->ShowAt(QPoint(200, 150), 1);
    ASSERT_TRUE(list->Sliding());
    list->HidePopup();
    EXPECT_FALSE(list->Sliding());
    EXPECT_FALSE(list->isVisible());
}

TEST_F(PopupWindow, OnTheFirstScreen_TakesTheShapeOfItsVertexList) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.Vertex = {"0,0", "120,0", "60,100"};
    auto list = NewList(d);
    list->AppendItem("a", "a");
    list->ShowAt(QPoint(10, 10), 0);
    ASSERT_TRUE(list->isVisible());
    EXPECT_TRUE(list->Shaped());
    const QRegion expected = PolygonRegion({{{0, 0}, {120, 0}, {60, 100}}});
    EXPECT_EQ(list->Region(), expected);
    EXPECT_TRUE(list->Region().contains(QPoint(60, 10)));
    EXPECT_FALSE(list->Region().contains(QPoint(5, 90)));
}

TEST_F(PopupWindow, OnOtherScreens_TakesNoShape) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.Vertex = {"0,0", "120,0", "60,100"};
    auto list = NewList(d);
    list->AppendItem("a", "a");
    list->ShowAt(QPoint(10, 10), 2);
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(list->Region().isEmpty());
}

TEST_F(PopupWindow, DamagedVertexList_LeavesTheListHidden) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.Vertex = {"0,0", "12x,5", "60,100"};
    auto list = NewList(d);
    list->AppendItem("a", "a");
    m_ticks = 5000;
    list->ShowAt(QPoint(10, 10), 0);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->LastShown(), 5000u);
}

TEST(PopupVertex, Items_AreTwoIntegersSplitAtTheFirstComma) {
    struct Case {
        TDynamicStringArray vertex;
        bool valid;
        std::vector<TPoint> points;
    };
    const std::vector<Case> cases = {
        {{}, true, {}},
        {{"1,2"}, true, {{1, 2}}},
        {{" 3 , 4 ", "-5,6"}, true, {{3, 4}, {-5, 6}}},
        {{"5"}, false, {}},
        {{"a,b"}, false, {}},
        {{"1,2,3"}, false, {}},
        {{"1,"}, false, {}},
        {{",1"}, false, {}},
        {{"1,2", ""}, false, {}},
        {{"99999999999,1"}, false, {}},
    };
    for (const Case& c : cases) {
        const std::optional<TWindowRegion> polygon = TPopupWindow::VertexPolygon(c.vertex);
        ASSERT_EQ(polygon.has_value(), c.valid) << ::testing::PrintToString(c.vertex);
        if (polygon) {
            EXPECT_EQ(polygon->points, c.points);
        }
    }
}

TEST_F(PopupWindow, MissingPictures_ListWithoutAnythingToShowStaysHidden) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.FnFon = "skin\\none.bmp";
    d.FnBtnUp = {ResolveValuePath("skin\\none1.bmp")};
    d.FnBtnMove = {};
    d.FnBtnDown = {ResolveValuePath("skin\\none3.bmp")};
    auto list = NewList(d);
    list->AppendItem(Ansi("Пункт"), "a");
    list->AppendItem("", "b");
    EXPECT_EQ(list->Item(0).Rect().size(), QSize(0, 0));
    test::SendMouse(list.get(), QEvent::MouseButtonPress, QPoint(0, 5));
    EXPECT_TRUE(m_clicks.empty());
    list->ShowAt(QPoint(10, 10), 1);
    EXPECT_FALSE(list->isVisible());
}

TEST_F(PopupWindow, MissingBackground_ListIsSizedByItsEntries) {
    RPopupData d = PopupDescription(TPopupType{1});
    d.FnFon = "skin\\none.bmp";
    auto list = NewList(d);
    list->AppendItem("a", "a");
    list->AppendItem("b", "b");
    EXPECT_EQ(list->FullSize(), QSize(110, 50));
    list->SetSlideEnabled(false);
    list->ShowAt(QPoint(10, 10), 1);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->geometry(), QRect(10, 10, 110, 50));
    EXPECT_EQ(list->Item(0).Rect(), QRect(5, 5, 100, 20));
    EXPECT_FALSE(list->grab().isNull());
}

} // namespace
} // namespace carmanual
