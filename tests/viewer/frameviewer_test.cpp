#include "frameviewer.h"

#include "viewertest.h"

#include <QScrollBar>
#include <QSplitter>

namespace carmanual::test {
namespace {

class FrameViewerTest : public ViewerTest {
protected:
    void SetUp() override {
        OpenManual({
            {"index.htm",
             "<html><head><title>Manual</title></head>"
             "<frameset rows=\"100,*\"><frame name=top src=top.htm noresize scrolling=no>"
             "<frameset cols=\"25%,*\"><frame name=menu src=menu.htm>"
             "<frame name=main src=ch02\\brakes.htm></frameset>"
             "<noframes>no frames</noframes></frameset></html>"},
            {"top.htm", "<body>Top bar</body>"},
            {"menu.htm", "<body><a href=ch03\\engine.htm target=main>Engine</a> "
                         "<a href=plain.htm target=_top>Whole</a> "
                         "<a href=pic.htm target=_blank>Picture</a> "
                         "<a href=plain.htm target=nowhere>Unknown</a> "
                         "<a href=plain.htm>Self</a> <a href=gone.htm target=main>Gone</a></body>"},
            {"ch02\\brakes.htm", "<title>Brakes</title><body>Brakes page</body>"},
            {"ch03\\engine.htm", "<body>Engine page</body>"},
            {"plain.htm", "<body>Plain page</body>"},
            {"outer.htm", "<frameset cols=\"50%,50%\"><frame name=left src=inner.htm>"
                          "<frame name=right src=plain.htm></frameset>"},
            {"inner.htm", "<frameset rows=\"*,*\"><frame name=a src=up.htm>"
                          "<frame name=b src=missing.htm></frameset>"},
            {"up.htm", "<body><a href=plain.htm target=_parent>Up</a></body>"},
            {"self.htm", "<frameset rows=*,*><frame src=self.htm><frame src=self.htm></frameset>"},
        });
        viewer.resize(400, 300);
        viewer.SetHistoryMaxCount(10);
        viewer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    }

    static QString TextOf(THTMLViewer* v) {
        return v ? v->Document()->toPlainText().trimmed() : QString("<none>");
    }

    TFrameViewer viewer;
};

TEST_F(FrameViewerTest, FrameSet_BuildsNamedFramesWithTheirSizes) {
    viewer.LoadDocument("c:\\index.htm");
    QApplication::processEvents();
    EXPECT_TRUE(viewer.HasFrames());
    EXPECT_EQ(viewer.FrameNames(), (TDynamicStringArray{"top", "menu", "main"}));
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\index.htm");
    EXPECT_EQ(viewer.DocumentTitle(), "Manual");
    EXPECT_EQ(TextOf(viewer.FrameDocument("MAIN")), "Brakes page");
    EXPECT_EQ(viewer.FrameDocument("main")->CurrentDocument(), "c:\\ch02\\brakes.htm");
    EXPECT_EQ(viewer.FrameDocument("nowhere"), nullptr);
    THTMLViewer* top = viewer.FrameDocument("top");
    EXPECT_EQ(top->height(), 100);
    EXPECT_NEAR(viewer.FrameDocument("menu")->width(), 100, 4);
    EXPECT_EQ(BrowserOf(top)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    auto* rows = qobject_cast<QSplitter*>(top->parentWidget());
    ASSERT_NE(rows, nullptr);
    EXPECT_FALSE(rows->handle(1)->isEnabled()); // noresize
    viewer.resize(400, 500);
    QApplication::processEvents();
    EXPECT_EQ(top->height(), 100); // pixel rows keep their size
}

TEST_F(FrameViewerTest, TargetedLink_OpensInTheNamedFrame_AndHistoryCoversTheWhole) {
    viewer.LoadDocument("c:\\index.htm");
    int changes = 0;
    viewer.OnHistoryChange = [&](QWidget*) { ++changes; };
    std::string clicked;
    viewer.OnHotSpotTargetClick = [&](QWidget* s, const std::string& t, const std::string&, bool&) {
        EXPECT_EQ(s, &viewer);
        clicked = t;
    };
    ClickText(viewer.FrameDocument("menu"), "Engine");
    EXPECT_EQ(clicked, "main");
    EXPECT_EQ(TextOf(viewer.FrameDocument("main")), "Engine page");
    EXPECT_EQ(TextOf(viewer.FrameDocument("menu")).left(6), "Engine");
    EXPECT_EQ(viewer.HistoryFiles(), (TDynamicStringArray{"c:\\index.htm", "c:\\index.htm"}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(viewer.ActiveDocument(), viewer.FrameDocument("main"));
    EXPECT_EQ(viewer.Visited().front(), "c:\\ch03\\engine.htm");

    viewer.HistoryGoBack();
    EXPECT_EQ(TextOf(viewer.FrameDocument("main")), "Brakes page");
    viewer.HistoryGoForward();
    EXPECT_EQ(TextOf(viewer.FrameDocument("main")), "Engine page");
}

TEST_F(FrameViewerTest, TopAndUnknownTargets_FillTheWholeViewer) {
    for (const char* link : {"Whole", "Unknown"}) {
        viewer.LoadDocument("c:\\index.htm");
        ClickText(viewer.FrameDocument("menu"), link);
        QApplication::processEvents();
        EXPECT_FALSE(viewer.HasFrames()) << link;
        EXPECT_EQ(viewer.CurrentDocument(), "c:\\plain.htm");
        EXPECT_EQ(TextOf(viewer.ActiveDocument()), "Plain page");
    }
    viewer.HistoryGoBack();
    QApplication::processEvents();
    EXPECT_TRUE(viewer.HasFrames());
    EXPECT_EQ(TextOf(viewer.FrameDocument("main")), "Brakes page");
}

TEST_F(FrameViewerTest, SelfTarget_StaysInItsFrame) {
    viewer.LoadDocument("c:\\index.htm");
    ClickText(viewer.FrameDocument("menu"), "Self");
    EXPECT_EQ(TextOf(viewer.FrameDocument("menu")), "Plain page");
    EXPECT_EQ(TextOf(viewer.FrameDocument("main")), "Brakes page");
}

TEST_F(FrameViewerTest, BlankTarget_GoesToTheOwnerFirst) {
    viewer.LoadDocument("c:\\index.htm");
    std::string target, url;
    viewer.OnHotSpotTargetClick = [&](QWidget*, const std::string& t, const std::string& u,
                                      bool& handled) {
        target = t;
        url = u;
        handled = true;
    };
    ClickText(viewer.FrameDocument("menu"), "Picture");
    EXPECT_EQ(target, "_blank");
    EXPECT_EQ(url, "pic.htm");
    EXPECT_EQ(viewer.ExpandLinkTarget(url), "c:\\pic.htm");
    EXPECT_TRUE(viewer.HasFrames());
    EXPECT_EQ(viewer.HistoryFiles().size(), 1u);
}

TEST_F(FrameViewerTest, DeadLinkInAFrame_ChangesNothing) {
    viewer.LoadDocument("c:\\index.htm");
    ClickText(viewer.FrameDocument("menu"), "Gone");
    EXPECT_EQ(TextOf(viewer.FrameDocument("main")), "Brakes page");
    EXPECT_EQ(viewer.HistoryFiles().size(), 1u);
}

TEST_F(FrameViewerTest, NestedFrameSetDocuments_AndParentTarget) {
    viewer.LoadDocument("c:\\outer.htm"); // a frame document that is a frame set itself
    EXPECT_EQ(viewer.FrameNames(), (TDynamicStringArray{"left", "a", "b", "right"}));
    EXPECT_EQ(TextOf(viewer.FrameDocument("b")), ""); // missing: an empty frame
    EXPECT_EQ(viewer.FrameDocument("left"), nullptr); // shows a frame set, no document
    ClickText(viewer.FrameDocument("a"), "Up");
    QApplication::processEvents();
    // _parent: the frame set document that held the link, i.e. frame "left".
    EXPECT_EQ(viewer.FrameNames(), (TDynamicStringArray{"left", "right"}));
    EXPECT_EQ(TextOf(viewer.FrameDocument("left")), "Plain page");
    viewer.HistoryGoBack();
    EXPECT_EQ(viewer.FrameNames(), (TDynamicStringArray{"left", "a", "b", "right"}));
}

TEST_F(FrameViewerTest, MissingFrameSet_Raises_AndSelfNestingStops) {
    EXPECT_THROW(viewer.LoadDocument("c:\\nothing.htm"), EHtmlLoadError);
    EXPECT_TRUE(viewer.HistoryFiles().empty());
    EXPECT_NE(viewer.ActiveDocument(), nullptr);
    viewer.LoadDocument("c:\\self.htm");
    EXPECT_TRUE(viewer.HasFrames());
}

TEST_F(FrameViewerTest, HistoryLimit_AndDefaultsReachEveryFrame) {
    viewer.SetHistoryMaxCount(2);
    viewer.SetDefFontName("DejaVu Sans");
    for (const char* f : {"c:\\plain.htm", "c:\\index.htm", "c:\\ch03\\engine.htm"})
        viewer.LoadDocument(f);
    EXPECT_EQ(viewer.HistoryFiles(),
              (TDynamicStringArray{"c:\\ch03\\engine.htm", "c:\\index.htm"}));
    viewer.HistoryGoBack();
    EXPECT_EQ(viewer.HistoryTitles(), (TDynamicStringArray{"", "Manual"}));
    EXPECT_EQ(viewer.FrameDocument("main")->DefFontName(), "DejaVu Sans");
    EXPECT_EQ(viewer.FrameDocument("main")->Document()->defaultFont().family(), "DejaVu Sans");
}

} // namespace
} // namespace carmanual::test
