// Page panels on their screens: rectangles, shared viewers, pages loaded for
// hidden screens, history reuse and the standard layout.

#include "panelfixture.h"

#include <QSplitter>

namespace carmanual::test {
namespace {

class Panels : public PanelTest {};

TEST_F(Panels, NoElements_BuildNothing) {
    EXPECT_EQ(Build({}), nullptr);
}

TEST_F(Panels, ElementRectangle_EdgesGiveViewerGeometry) {
    const std::string page = WritePage("docs/a.htm", "A");
    auto frame = Build({Element(10, 20, 410, 320, page, 1, 0)});
    ASSERT_NE(frame, nullptr);
    TFrameViewer* viewer = frame->CurrentViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->geometry(), QRect(10, 20, 400, 300));
    EXPECT_FALSE(viewer->isHidden());
    EXPECT_EQ(viewer->parentWidget(), &m_window);
    EXPECT_TRUE(AnsiSameText(viewer->CurrentDocument(), page));
}

TEST_F(Panels, ViewersAreMadeAsThePanelNeedsThem) {
    const std::string page = WritePage("docs/a.htm", "A");
    auto frame = Build({Element(0, 0, 100, 100, page, 1, 3), Element(0, 0, 100, 100, page, 2, 0),
                        Element(0, 0, 50, 50, page, 3, 3)});
    // One viewer per screen, in the order the screens first occur.
    ASSERT_EQ(frame->ViewerCount(), 2);
    EXPECT_EQ(frame->ViewerScreen(0), 3);
    EXPECT_EQ(frame->ViewerScreen(1), 0);
    for (int i = 0; i < frame->ViewerCount(); ++i) {
        const TFrameViewer* v = frame->Viewer(i);
        EXPECT_EQ(v->HistoryMaxCount(), 10);
        EXPECT_EQ(v->VisitedMaxCount(), 20);
        EXPECT_EQ(v->DefOverLinkColor(), 255u);
        EXPECT_EQ(v->ImageCacheCount(), 0);
        EXPECT_EQ(v->FvOptions(), unsigned(fvNoBorder | fvOverLinksActive));
    }
}

TEST_F(Panels, TwoElementsOnOneScreen_ShareTheViewerAndMoveIt) {
    const std::string first = WritePage("docs/a.htm", "A");
    const std::string second = WritePage("docs/b.htm", "B");
    auto frame =
        Build({Element(10, 10, 210, 110, first, 1, 0), Element(300, 200, 700, 500, first, 2, 0)});
    ASSERT_EQ(frame->ViewerCount(), 1);
    TFrameViewer* viewer = frame->CurrentViewer();
    EXPECT_EQ(frame->CurrentElement(), 0);

    ASSERT_TRUE(frame->ShowInPanel(2, second));
    EXPECT_EQ(frame->CurrentViewer(), viewer);
    EXPECT_EQ(viewer->geometry(), QRect(300, 200, 400, 300));
    EXPECT_EQ(frame->CurrentElement(), 1);
    EXPECT_TRUE(AnsiSameText(viewer->CurrentDocument(), second));
}

TEST_F(Panels, ShowInPanel_EmptyFileShowsTheElementsOwnPage) {
    const std::string first = WritePage("docs/a.htm", "A");
    const std::string own = WritePage("docs/own.htm", "B");
    auto frame = Build({Element(0, 0, 100, 100, first, 1, 0), Element(0, 0, 90, 90, own, 2, 0)});
    ASSERT_TRUE(frame->ShowInPanel(2, ""));
    EXPECT_TRUE(AnsiSameText(frame->CurrentViewer()->CurrentDocument(), own));
}

TEST_F(Panels, ShowInPanel_UnknownNumberDoesNothing) {
    const std::string page = WritePage("docs/a.htm", "A");
    auto frame = Build({Element(0, 0, 100, 100, page, 1, 0)});
    EXPECT_FALSE(frame->ShowInPanel(7, page));
    EXPECT_EQ(frame->CurrentViewer()->HistoryFiles().size(), 1u);
}

TEST_F(Panels, ShowInPanel_PageInHistoryIsShownFromThere) {
    const std::string a = WritePage("docs/a.htm", "A");
    const std::string b = WritePage("docs/b.htm", "B");
    auto frame = Build({Element(0, 0, 100, 100, a, 1, 0)});
    ASSERT_TRUE(frame->ShowInPanel(1, b));
    TFrameViewer* viewer = frame->CurrentViewer();
    ASSERT_EQ(viewer->HistoryFiles().size(), 2u);

    // Asked for in other letter case: still the same history entry.
    std::string upper = a;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_TRUE(frame->ShowInPanel(1, upper));
    EXPECT_EQ(viewer->HistoryFiles().size(), 2u);
    EXPECT_EQ(viewer->HistoryPosition(), 1);
    EXPECT_TRUE(AnsiSameText(viewer->CurrentDocument(), a));
}

TEST_F(Panels, HiddenScreen_PageLoadsWithoutShowingAndIsNotReloadedLater) {
    std::string tall;
    for (int i = 0; i < 300; ++i)
        tall += "<p>line " + std::to_string(i) + "</p>";
    const std::string start = WritePage("docs/start.htm", "S");
    const std::string other = WritePage("docs/other.htm", "O");
    const std::string ready = WritePage("docs/ready.htm", tall);
    auto frame =
        Build({Element(0, 0, 400, 300, start, 1, 0), Element(0, 0, 400, 300, other, 2, 2)});
    TFrameViewer* hidden = frame->Viewer(1);
    ASSERT_NE(hidden, nullptr);
    EXPECT_TRUE(hidden->HistoryFiles().empty()); // its screen was never shown

    ASSERT_TRUE(frame->ShowInPanel(2, ready));
    EXPECT_TRUE(hidden->isHidden());
    ASSERT_EQ(hidden->HistoryFiles().size(), 1u);
    EXPECT_TRUE(AnsiSameText(hidden->CurrentDocument(), ready));
    EXPECT_FALSE(frame->CurrentViewer()->isHidden()); // screen 0 keeps its page

    m_screen = 2;
    frame->ShowScreenPage();
    EXPECT_FALSE(hidden->isHidden());
    hidden->ActiveDocument()->ScrollToY(200);
    m_screen = 0;
    frame->ShowScreenPage();
    EXPECT_TRUE(hidden->isHidden());
    m_screen = 2;
    frame->ShowScreenPage();
    // Shown again: scrolled to the top, not reloaded and not the element's file.
    EXPECT_EQ(hidden->HistoryFiles().size(), 1u);
    EXPECT_TRUE(AnsiSameText(hidden->CurrentDocument(), ready));
    EXPECT_EQ(hidden->ActiveDocument()->ScrollPos(), 0);
    EXPECT_EQ(hidden->geometry(), QRect(0, 0, 400, 300));
}

TEST_F(Panels, ScreenChange_ShowsNewViewerAndHidesTheOld) {
    const std::string a = WritePage("docs/a.htm", "A");
    const std::string b = WritePage("docs/b.htm", "B");
    auto frame = Build({Element(0, 0, 100, 100, a, 1, 0), Element(5, 5, 50, 50, b, 2, 2)});
    TFrameViewer* first = frame->Viewer(0);
    TFrameViewer* second = frame->Viewer(1);
    m_screen = 2;
    frame->ShowScreenPage();
    EXPECT_TRUE(first->isHidden());
    EXPECT_FALSE(second->isHidden());
    EXPECT_EQ(frame->CurrentViewer(), second);
    EXPECT_EQ(frame->ShownScreen(), 2);

    // A screen without page panels: no current viewer, the old one hidden.
    m_screen = 4;
    frame->ShowScreenPage();
    EXPECT_EQ(frame->CurrentViewer(), nullptr);
    EXPECT_TRUE(second->isHidden());
    EXPECT_EQ(frame->CurrentViewerIndex(), -1);
}

TEST_F(Panels, ShowingTheSameScreenAgain_KeepsItsPage) {
    const std::string a = WritePage("docs/a.htm", "A");
    auto frame = Build({Element(0, 0, 100, 100, a, 1, 0)});
    frame->ShowScreenPage();
    EXPECT_FALSE(frame->CurrentViewer()->isHidden());
}

TEST_F(Panels, MissingPage_HidesTheViewerQuietly) {
    auto frame = Build({Element(0, 0, 100, 100, "c:\\docs\\missing.htm", 1, 0)});
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->CurrentViewer()->isHidden());
    EXPECT_FALSE(frame->ShowInPanel(1, "c:\\docs\\gone.htm"));
    EXPECT_TRUE(frame->CurrentViewer()->isHidden());
    // A page that exists shows it again.
    const std::string a = WritePage("docs/a.htm", "A");
    EXPECT_TRUE(frame->ShowInPanel(1, a));
    EXPECT_FALSE(frame->CurrentViewer()->isHidden());
}

TEST_F(Panels, DocumentScreen_ViewerGoesIntoTheBackgroundPanelsPane) {
    const std::string a = WritePage("docs/a.htm", "A");
    QSplitter pane(&m_window);
    pane.setGeometry(33, 90, 673, 421);
    int calls = 0;
    THtmlFrameServices s = Services();
    s.SetDocumentPane = [&](QWidget* w) {
        ++calls;
        pane.addWidget(w);
    };
    auto frame = BuildHtmlFrame(
        {Element(40, 100, 300, 300, a, 1, 1), Element(0, 0, 10, 10, a, 2, 0)}, std::move(s));
    ASSERT_EQ(calls, 1);
    TFrameViewer* doc = frame->Viewer(0);
    EXPECT_EQ(doc->parentWidget(), &pane);
    EXPECT_TRUE(doc->isHidden()); // screen 0 is shown

    m_screen = 1;
    frame->ShowScreenPage();
    EXPECT_FALSE(doc->isHidden());
    EXPECT_EQ(doc->parentWidget(), &pane);
    ASSERT_TRUE(frame->ShowInPanel(1, a));
    EXPECT_EQ(doc->parentWidget(), &pane);
    EXPECT_EQ(calls, 1);
}

TEST_F(Panels, OpenPage_OnlyWhenTheViewerIsShown) {
    const std::string a = WritePage("docs/a.htm", "A");
    const std::string b = WritePage("docs/b.htm", "B");
    auto frame = Build({Element(0, 0, 100, 100, "c:\\docs\\missing.htm", 1, 0)});
    EXPECT_FALSE(frame->OpenPage(b)); // hidden viewer
    ASSERT_TRUE(frame->ShowInPanel(1, a));
    ASSERT_TRUE(frame->OpenPage(b));
    TFrameViewer* viewer = frame->CurrentViewer();
    EXPECT_TRUE(AnsiSameText(viewer->CurrentDocument(), b));
    ASSERT_FALSE(viewer->Visited().empty());
    EXPECT_TRUE(AnsiSameText(viewer->Visited().front(), b));
    // A page in the history is shown from there.
    ASSERT_TRUE(frame->OpenPage(a));
    EXPECT_EQ(viewer->HistoryFiles().size(), 2u);
    EXPECT_EQ(viewer->HistoryPosition(), 1);
}

TEST_F(Panels, GoToHistory_MovesTheCurrentViewer) {
    const std::string a = WritePage("docs/a.htm", "A");
    const std::string b = WritePage("docs/b.htm", "B");
    auto frame = Build({Element(0, 0, 100, 100, a, 1, 0)});
    frame->OpenPage(b);
    frame->GoToHistory(1);
    EXPECT_TRUE(AnsiSameText(frame->CurrentViewer()->CurrentDocument(), a));
    frame->GoToHistory(9); // out of range: nothing
    EXPECT_TRUE(AnsiSameText(frame->CurrentViewer()->CurrentDocument(), a));
}

TEST_F(Panels, RarListingFlag_BelongsToEachViewer) {
    const std::string a = WritePage("docs/a.htm", "A");
    auto frame = Build({Element(0, 0, 100, 100, a, 1, 0), Element(0, 0, 100, 100, a, 2, 2)});
    frame->SetRarListing(true);
    EXPECT_TRUE(frame->IsRarListing());
    m_screen = 2;
    frame->ShowScreenPage();
    EXPECT_FALSE(frame->IsRarListing());
    m_screen = 0;
    frame->ShowScreenPage();
    EXPECT_TRUE(frame->IsRarListing());
}

TEST_F(Panels, FillClientFollowsTheParent_RestoreRectGoesBack) {
    const std::string a = WritePage("docs/a.htm", "A");
    auto frame = Build({Element(10, 20, 410, 320, a, 1, 0)});
    TFrameViewer* viewer = frame->CurrentViewer();
    frame->FillClient();
    EXPECT_EQ(viewer->geometry(), m_window.rect());
    m_window.resize(640, 480);
    EXPECT_EQ(viewer->geometry(), QRect(0, 0, 640, 480));
    frame->RestoreRect();
    EXPECT_EQ(viewer->geometry(), QRect(10, 20, 400, 300));
    m_window.resize(700, 500);
    EXPECT_EQ(viewer->geometry(), QRect(10, 20, 400, 300));
}

TEST_F(Panels, HistoryEvent_IsHandedOverWithTheViewer) {
    const std::string a = WritePage("docs/a.htm", "A");
    const std::string b = WritePage("docs/b.htm", "B");
    std::vector<std::pair<TFrameViewer*, int>> seen;
    THtmlFrameServices s = Services();
    s.OnHistoryChange = [&](TFrameViewer* v, int index) { seen.emplace_back(v, index); };
    auto frame = BuildHtmlFrame({Element(0, 0, 100, 100, a, 1, 0)}, std::move(s));
    ASSERT_FALSE(seen.empty());
    seen.clear();
    frame->OpenPage(b);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().first, frame->CurrentViewer());
    EXPECT_EQ(seen.back().second, 0);
}

} // namespace
} // namespace carmanual::test
