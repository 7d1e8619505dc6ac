// What the panel does while the reader moves over and presses on a page:
// status texts over links, picture hints, the context popup, Ctrl+C and
// Enter; and the print hand-over.

#include "panelfixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>

namespace carmanual::test {
namespace {

class PageEvents : public PanelTest {
protected:
    PageEvents() {
        m_page = WritePage("docs/page.htm", "<p>text</p>");
        WritePage("docs/other.htm", "other");
    }
    std::unique_ptr<THtmlFrame> PageFrame(const std::string& page) {
        return Build({Element(0, 0, 400, 300, page, 1, 0)});
    }
    // A picture file of the manual.
    void WritePicture(const std::string& relative, const char* format) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        std::filesystem::create_directories((Root() / relative).parent_path());
        ASSERT_TRUE(image.save(QString::fromStdString(Native(relative)), format));
    }
    // A point of the document viewer over its picture.
    static std::optional<QPoint> PictureSpot(THTMLViewer* doc) {
        for (int y = 0; y < 120; y += 2)
            for (int x = 0; x < 120; x += 2)
                if (doc->ObjectAt(x, y))
                    return QPoint(x, y);
        return std::nullopt;
    }
    std::string m_page;
};

// --- Status texts over links ---

TEST_F(PageEvents, LinkStatus_TextsOfEachKindOfLink) {
    auto frame = PageFrame(m_page);
    TFrameViewer* viewer = frame->CurrentViewer();
    const auto status = [&](const std::string& target, const std::string& url) {
        m_linkStatus = "<none>";
        frame->HotSpotCovered(viewer, target, url);
        return m_linkStatus;
    };
    EXPECT_EQ(status("", "#top"), "c:\\docs\\page.htm#top");
    EXPECT_EQ(status("", "other.htm"), "c:\\docs\\other.htm");
    EXPECT_EQ(status("Bot", "http://example.ru/"), "Url: http://example.ru/  Target: Bot");
    EXPECT_EQ(status("", "mailto:a@b.c"), "mailto:a@b.c");
    EXPECT_EQ(status("", "copy://setup.exe"), "c:\\docs\\setup.exe");
    m_pathBox = "c:\\inst\\";
    EXPECT_EQ(status("", "copy://setup.exe"),
              "Копирование файла \"c:\\docs\\setup.exe\" в каталог \"c:\\inst\\\"");
    // Without "//" the URL parser sees host "copy" and port "setup.exe": no protocol.
    EXPECT_EQ(status("", "copy:setup.exe"), viewer->ExpandLinkTarget("copy:setup.exe"));
    EXPECT_EQ(status("", ""), "");
    frame->SetRarListing(true);
    EXPECT_EQ(status("", "other.htm"), "");
}

TEST_F(PageEvents, LinkStatus_NothingWithoutAStatusBar) {
    THtmlFrameServices s = Services();
    s.OnLinkStatus = nullptr;
    auto frame = BuildHtmlFrame({Element(0, 0, 400, 300, m_page, 1, 0)}, std::move(s));
    frame->HotSpotCovered(frame->CurrentViewer(), "", "other.htm");
    EXPECT_EQ(m_linkStatus, "<none>");
}

// --- Picture hints ---

class Hints : public PageEvents {
protected:
    Hints() {
        WritePicture("docs/pic.png", "PNG");
        m_picturePage = WritePage(
            "docs/pictures.htm",
            Ansi("<img src='pic.png' width=40 height=30 alt='Тормозной диск'><p>text</p>"));
        m_noAltPage = WritePage("docs/noalt.htm", "<img src='pic.png' width=40 height=30>");
    }
    void Start(const std::string& page) {
        THtmlFrameServices s = Services();
        s.CursorPos = [this] { return m_cursor; };
        s.OnMouseOverPage = [this] { ++m_mouseOver; };
        m_frame = BuildHtmlFrame({Element(0, 0, 400, 300, page, 1, 0)}, std::move(s));
        m_doc = m_frame->CurrentViewer()->ActiveDocument();
        const std::optional<QPoint> spot = PictureSpot(m_doc);
        ASSERT_TRUE(spot);
        m_spot = *spot;
        m_cursor = m_doc->mapToGlobal(m_spot);
    }
    std::string m_picturePage;
    std::string m_noAltPage;
    std::unique_ptr<THtmlFrame> m_frame;
    THTMLViewer* m_doc = nullptr;
    QPoint m_spot;
    QPoint m_cursor;
    int m_mouseOver = 0;
};

TEST_F(Hints, ShownOnTheSecondTickAndGoneAfterTheTwentyFirst) {
    Start(m_picturePage);
    m_frame->ViewerMouseMove(m_doc, m_spot.x(), m_spot.y());
    EXPECT_TRUE(m_frame->HintTimerActive());
    EXPECT_EQ(m_mouseOver, 1);

    m_frame->HintTimerTick();
    EXPECT_FALSE(m_frame->HintShown());
    m_frame->HintTimerTick();
    ASSERT_TRUE(m_frame->HintShown());
    QLabel* hint = m_frame->HintWindow();
    EXPECT_FALSE(hint->isHidden());
    EXPECT_EQ(hint->text(), QStringLiteral("Тормозной диск"));
    EXPECT_EQ(hint->pos(), m_cursor + QPoint(0, 18));
    EXPECT_LE(hint->width(), THtmlFrame::kHintMaxWidth);

    int ticks = 2;
    while (m_frame->HintTimerActive() && ticks < 100) {
        m_frame->HintTimerTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 21);
    EXPECT_FALSE(m_frame->HintShown());
    EXPECT_TRUE(hint->isHidden());

    // Resting on the same picture does not bring it back; leaving it and
    // coming back does.
    m_frame->ViewerMouseMove(m_doc, m_spot.x(), m_spot.y());
    EXPECT_FALSE(m_frame->HintTimerActive());
    m_frame->ViewerMouseMove(m_doc, 390, 290);
    m_frame->ViewerMouseMove(m_doc, m_spot.x(), m_spot.y());
    EXPECT_TRUE(m_frame->HintTimerActive());
}

TEST_F(Hints, LeavingThePictureHidesTheHint) {
    Start(m_picturePage);
    m_frame->ViewerMouseMove(m_doc, m_spot.x(), m_spot.y());
    m_frame->HintTimerTick();
    m_frame->HintTimerTick();
    ASSERT_TRUE(m_frame->HintShown());
    m_cursor = m_doc->mapToGlobal(QPoint(390, 290));
    m_frame->HintTimerTick();
    EXPECT_FALSE(m_frame->HintShown());
    EXPECT_FALSE(m_frame->HintTimerActive());
    EXPECT_TRUE(m_frame->HintWindow()->isHidden());
}

TEST_F(Hints, PictureWithoutAltText_NoHint) {
    Start(m_noAltPage);
    m_frame->ViewerMouseMove(m_doc, m_spot.x(), m_spot.y());
    EXPECT_FALSE(m_frame->HintTimerActive());
    EXPECT_EQ(m_mouseOver, 1);
}

TEST_F(Hints, LongAltText_WrapsWithinTheWidthLimit) {
    std::string alt;
    for (int i = 0; i < 40; ++i)
        alt += "слово ";
    const std::string page =
        WritePage("docs/long.htm",
                  Ansi(("<img src='pic.png' width=40 height=30 alt='" + alt + "'>").c_str()));
    Start(page);
    m_frame->ViewerMouseMove(m_doc, m_spot.x(), m_spot.y());
    m_frame->HintTimerTick();
    m_frame->HintTimerTick();
    ASSERT_TRUE(m_frame->HintShown());
    QLabel* hint = m_frame->HintWindow();
    EXPECT_LE(hint->width(), THtmlFrame::kHintMaxWidth);
    EXPECT_GT(hint->height(), 2 * hint->fontMetrics().height());
}

// --- Mouse buttons and keys ---

TEST_F(PageEvents, RightClick_ShowsTheContextPopupAtTheScreenPoint) {
    auto frame = PageFrame(m_page);
    THTMLViewer* doc = frame->CurrentViewer()->ActiveDocument();
    const QPoint global = doc->mapToGlobal(QPoint(5, 6));
    frame->ViewerMouseDown(doc, Qt::RightButton, Qt::NoModifier, 5, 6);
    EXPECT_EQ(m_log,
              (std::vector<std::string>{"hidepopups", "popup:" + std::to_string(global.x()) + "," +
                                                          std::to_string(global.y())}));
    m_log.clear();
    frame->ViewerMouseDown(doc, Qt::RightButton, Qt::ControlModifier, 5, 6);
    frame->ViewerMouseDown(doc, Qt::LeftButton, Qt::NoModifier, 5, 6);
    EXPECT_EQ(m_log, (std::vector<std::string>{"hidepopups", "hidepopups"}));
}

TEST_F(PageEvents, CtrlC_CopiesTheSelectionWithoutSurroundingLineBreaks) {
    const std::string page = WritePage("docs/lines.htm", "<br>abc<br><br>");
    auto frame = PageFrame(page);
    THTMLViewer* doc = frame->CurrentViewer()->ActiveDocument();
    doc->SelectAllText();
    ASSERT_TRUE(doc->SelectedText().contains(QStringLiteral("abc")));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    bool handled = false;
    frame->ViewerKeyDown(doc, Qt::Key_C, Qt::ControlModifier, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));

    // Ctrl+Insert does the same; with Shift held too it is not ours.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    handled = false;
    frame->ViewerKeyDown(doc, Qt::Key_Insert, Qt::ControlModifier, handled);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    handled = false;
    frame->ViewerKeyDown(doc, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(PageEvents, CtrlC_EmptySelectionLeavesTheClipboard) {
    auto frame = PageFrame(m_page);
    THTMLViewer* doc = frame->CurrentViewer()->ActiveDocument();
    doc->SetCaret(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    bool handled = false;
    frame->ViewerKeyDown(doc, Qt::Key_C, Qt::ControlModifier, handled);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(PageEvents, Enter_GoesToTheFindBoxes) {
    auto frame = PageFrame(m_page);
    bool handled = false;
    frame->ViewerKeyDown(frame->CurrentViewer()->ActiveDocument(), Qt::Key_Return, {}, handled);
    EXPECT_EQ(m_log, std::vector<std::string>{"enter"});
}

TEST_F(PageEvents, SelectAllAndScrollToTop_ActOnTheCurrentPage) {
    std::string tall;
    for (int i = 0; i < 300; ++i)
        tall += "<p>line</p>";
    auto frame = PageFrame(WritePage("docs/tall.htm", tall));
    THTMLViewer* doc = frame->CurrentViewer()->ActiveDocument();
    frame->SelectAll();
    EXPECT_TRUE(doc->SelectedText().contains(QStringLiteral("line")));
    doc->ScrollToY(500);
    ASSERT_GT(doc->ScrollPos(), 0);
    frame->ScrollToTop();
    EXPECT_EQ(doc->ScrollPos(), 0);
}

// --- Printing ---

TEST_F(PageEvents, PrintCurrentPage_PictureDocumentPrintsAsPicture) {
    WritePicture("docs/photo.jpg", "JPG");
    auto frame = PageFrame(m_page);
    frame->PrintPage();
    EXPECT_FALSE(frame->PicturePage);
    ASSERT_TRUE(frame->OpenPage("c:\\docs\\photo.jpg"));
    m_log.clear();
    frame->PrintPage();
    EXPECT_TRUE(frame->PicturePage);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0], "print:c:\\docs\\photo.jpg|picture|" + std::to_string(PictureWidth) + "x" +
                            std::to_string(PictureHeight));
}

TEST_F(PageEvents, PrintOfAFileSentWithASize_IsAPictureOfThatSizeOnce) {
    auto frame = PageFrame(m_page);
    frame->PicturePage = true;
    frame->PrintWidth = 800;
    frame->PrintHeight = 600;
    frame->PrintPage("c:\\docs\\other.htm");
    EXPECT_EQ(m_log, std::vector<std::string>{"print:c:\\docs\\other.htm|picture|800x600"});
    EXPECT_FALSE(frame->PicturePage);
    EXPECT_EQ(frame->PrintWidth, 800);
    EXPECT_EQ(frame->PrintHeight, 600);
}

TEST_F(PageEvents, PrintOfAMissingFile_DoesNothing) {
    auto frame = PageFrame(m_page);
    frame->PrintPage("c:\\docs\\gone.htm");
    EXPECT_TRUE(m_log.empty());
}

TEST_F(PageEvents, PrintHtmlLink_InAnyLetterCase) {
    auto frame = PageFrame(m_page);
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "PrintHtml:other.htm", handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(m_log, std::vector<std::string>{"print:c:\\docs\\other.htm|page|0x0"});
}

TEST(PageHeader, PageNumberAtTheTopRight) {
    QImage page(600, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        THtmlFrame::PageHeader(painter, 3, 600);
    }
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y).lightness() < 128)
                ink = ink.united(QRect(x, y, 1, 1));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.right(), 550);
    EXPECT_GT(ink.right(), 530);
    EXPECT_GE(ink.top(), 40);
    EXPECT_LT(ink.bottom(), 70);
    EXPECT_GT(ink.width(), 30); // "Страница 3", not just the digit
}

} // namespace
} // namespace carmanual::test
