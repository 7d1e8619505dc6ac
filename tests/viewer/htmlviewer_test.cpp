#include "htmlviewer.h"

#include "ansi.h"
#include "viewertest.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollBar>

namespace carmanual::test {
namespace {

std::string A(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

std::string LongPage(const std::string& tail) {
    std::string page = "<html><body>";
    for (int i = 0; i < 200; ++i)
        page += "<p>Line " + std::to_string(i) + "</p>";
    return page + tail + "</body></html>";
}

class HtmlViewerTest : public ViewerTest {
protected:
    void SetUp() override {
        OpenManual({
            {"ch02\\brakes.htm",
             A("<html><head><title>Тормоза</title><link rel=stylesheet href=\"..\\style.css\">"
               "</head><body><p class=warn>Внимание</p><p>Колодки <a href=\"pads.htm\">pads</a> "
               "<a href=\"..\\ch03\\engine.htm#oil\" target=main>engine</a> "
               "<a href=\"http://www.auto.ru\">web</a></p></body></html>")},
            {"ch02\\pads.htm",
             "<html><head><title>Pads</title></head><body>Pads page</body></html>"},
            {"ch03\\engine.htm", LongPage("<p><a name=oil>Oil change</a></p>")},
            {"style.css", ".warn { color: #00ff00; }"},
            {"koi.htm", "<meta http-equiv=Content-Type content=\"text/html; charset=koi8-r\">"
                        "<body>\xF4\xCF\xD2\xCD\xCF\xDA\xC1</body>"},
            {"utf.htm", "<meta charset=\"utf-8\"><body>Тормоза</body>"},
            {"bom.htm", "\xEF\xBB\xBF<body>Тормоза</body>"},
            {"plain.htm", A("<body>Тормоза</body>")},
            {"pics.htm", A("<body><img src=\"pics/a.png\" alt=\"Колодка\"><br>"
                           "<img src=\"PICS\\B.BMP\"> <img src=\"pics/c.jpg\"> "
                           "<img src=\"pics/d.gif\"></body>")},
            {"pics2.htm", "<body><img src=\"pics/e.png\"></body>"},
            {"pics\\a.png", PictureBytes(40, 30, "PNG")},
            {"pics\\b.bmp", PictureBytes(11, 12, "BMP")},
            {"pics\\c.jpg", PictureBytes(21, 22, "JPG")},
            {"pics\\d.gif", GifBytes()},
            {"pics\\e.png", PictureBytes(33, 44, "PNG")},
            {"find.htm", "<body><p>alpha beta Alpha gamma</p>" + LongPage("<p>far word</p>") +
                             LongPage("") + "</body>"},
            {"form.htm", "<body><form>Serial: <select name=Serial><option>AB-100"
                         "<option selected>CD-200</select> Name: <input name=q value=x>"
                         "<input type=hidden name=h></form></body>"},
            {"notes.txt", A("Заметки\nline 2")},
            {"\xD0\xE0\xE7\xE4\xE5\xEB\\a.htm", "<body>Cyrillic folder</body>"},
            {"ch02\\table.htm",
             "<body><table border=1><tr><td><a href=\"pads.htm\">pads</a></td>"
             "<td><a href=\"brakes.htm\">brakes</a></td></tr><tr><td><a "
             "href=\"..\\ch03\\engine.htm#oil\" style=\"text-decoration: underline\">engine</a>"
             "</td><td><a href=\"gone.htm\"><u>gone</u></a></td></tr></table></body>"},
        });
        viewer.resize(400, 300);
        viewer.SetHistoryMaxCount(10);
        viewer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    }

    QString Text() const { return viewer.Document()->toPlainText(); }

    THTMLViewer viewer;
};

TEST_F(HtmlViewerTest, LoadsFromTheArchive_WithTitleAndStyleSheet) {
    viewer.LoadDocument("c:\\CH02\\Brakes.htm");
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\CH02\\Brakes.htm");
    EXPECT_EQ(viewer.DocumentTitle(), A("Тормоза"));
    EXPECT_TRUE(Text().contains(u"Колодки"));
    EXPECT_EQ(ColorOfText(viewer.Document(), u"Внимание"_qs), QColor(0, 255, 0));
}

TEST_F(HtmlViewerTest, MissingDocument_RaisesCantLocate) {
    viewer.LoadDocument("c:\\plain.htm");
    try {
        viewer.LoadDocument(A("c:\\нет.htm#x"));
        FAIL() << "no error";
    } catch (const EHtmlLoadError& e) {
        EXPECT_STREQ(e.what(), "Can't locate file: c:\\нет.htm");
        EXPECT_EQ(e.FileName(), A("c:\\нет.htm"));
    }
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\plain.htm");
    EXPECT_EQ(viewer.HistoryFiles().size(), 1u);
}

TEST_F(HtmlViewerTest, EveryCharset_ShowsTheSameText) {
    for (const char* page : {"c:\\koi.htm", "c:\\utf.htm", "c:\\bom.htm", "c:\\plain.htm"}) {
        viewer.LoadDocument(page);
        EXPECT_EQ(Text().trimmed(), u"Тормоза"_qs) << page;
    }
    viewer.LoadDocument("c:\\notes.txt");
    EXPECT_TRUE(Text().startsWith(u"Заметки"));
    viewer.LoadDocument(A("c:\\раздел\\a.htm"));
    EXPECT_TRUE(Text().contains(u"Cyrillic folder"));
}

TEST_F(HtmlViewerTest, PicturesFromTheArchive_SetPictureSize) {
    viewer.LoadDocument("c:\\pics.htm");
    QTextDocument* doc = viewer.Document();
    const auto sizeOf = [&](const char* token) {
        return doc->resource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(token)))
            .value<QImage>()
            .size();
    };
    EXPECT_EQ(sizeOf("res:0"), QSize(40, 30));
    EXPECT_EQ(sizeOf("res:1"), QSize(11, 12));
    EXPECT_EQ(sizeOf("res:2"), QSize(21, 22));
    EXPECT_EQ(sizeOf("res:3"), QSize(7, 5)); // the first frame of the GIF
    viewer.LoadDocument("c:\\pics2.htm");
    EXPECT_EQ(sizeOf("res:0"), QSize(33, 44)); // no picture of the last page left over
    EXPECT_EQ(PictureWidth, 33);
    EXPECT_EQ(PictureHeight, 44);
    // A picture document of its own.
    viewer.LoadDocument("c:\\pics\\b.bmp");
    EXPECT_EQ(PictureWidth, 11);
    EXPECT_EQ(PictureHeight, 12);
}

TEST_F(HtmlViewerTest, AnimatedPicture_PlaysInPlace_OnlyWhileTheViewerIsShown) {
    viewer.resize(400, 300);
    viewer.show();
    viewer.LoadDocument("c:\\pics.htm");
    QTextDocument* doc = viewer.Document();
    int changes = 0;
    QObject::connect(doc, &QTextDocument::contentsChange, &viewer,
                     [&changes](int, int, int) { ++changes; });
    auto gifColour = [&] {
        return doc->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("res:3")))
            .value<QImage>()
            .pixelColor(0, 0);
    };
    EXPECT_EQ(gifColour(), QColor(Qt::red));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gifColour() == QColor(Qt::blue); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gifColour() == QColor(Qt::red); }, 2000));
    EXPECT_EQ(changes, 0); // frames take the picture's place: no layout
    // Hidden, it holds its frame.
    viewer.hide();
    const QColor held = gifColour();
    QTest::qWait(300);
    EXPECT_EQ(gifColour(), held);
    // The other pictures of the page stay still.
    EXPECT_EQ(doc->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("res:0")))
                  .value<QImage>()
                  .pixelColor(0, 0),
              QColor(Qt::red));
}

TEST_F(HtmlViewerTest, ObjectAt_FindsThePictureWithItsAltText) {
    viewer.LoadDocument("c:\\pics.htm");
    QApplication::processEvents();
    std::optional<THtmlPicture> found;
    for (int y = 0; y < 80 && !found; y += 3) {
        for (int x = 0; x < 80 && !found; x += 3)
            found = viewer.ObjectAt(x, y);
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Alt, u"Колодка"_qs);
    EXPECT_TRUE(found->HasAlt);
    EXPECT_EQ(found->FileName, "c:\\pics\\a.png");
    EXPECT_EQ(found->Bounds.size(), QSize(40, 30));
    const auto again = viewer.ObjectAt(found->Bounds.center().x(), found->Bounds.center().y());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(*again, *found);
    EXPECT_FALSE(viewer.ObjectAt(390, 290).has_value());
}

TEST_F(HtmlViewerTest, History_NewestFirstWithLimitAndPosition) {
    viewer.SetHistoryMaxCount(3);
    int changes = 0;
    viewer.OnHistoryChange = [&](QWidget*) { ++changes; };
    for (const char* f : {"c:\\koi.htm", "c:\\utf.htm", "c:\\ch02\\pads.htm", "c:\\plain.htm"})
        viewer.LoadDocument(f);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(viewer.HistoryFiles(),
              (TDynamicStringArray{"c:\\plain.htm", "c:\\ch02\\pads.htm", "c:\\utf.htm"}));
    EXPECT_EQ(viewer.HistoryTitles(), (TDynamicStringArray{"", "Pads", ""}));
    EXPECT_FALSE(viewer.FwdButtonEnabled());
    viewer.HistoryGoBack();
    EXPECT_EQ(viewer.HistoryPosition(), 1);
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\ch02\\pads.htm");
    EXPECT_TRUE(viewer.FwdButtonEnabled());
    viewer.SetHistoryPosition(2);
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\utf.htm");
    EXPECT_FALSE(viewer.BackButtonEnabled());
    viewer.HistoryGoBack(); // at the oldest: nothing
    EXPECT_EQ(viewer.HistoryPosition(), 2);
    viewer.LoadDocument("c:\\bom.htm"); // drops the two newer entries
    EXPECT_EQ(viewer.HistoryFiles(), (TDynamicStringArray{"c:\\bom.htm", "c:\\utf.htm"}));
    EXPECT_EQ(viewer.HistoryPosition(), 0);
}

TEST_F(HtmlViewerTest, Anchors_ScrollAndComeBackWithTheHistory) {
    viewer.LoadDocument("c:\\ch03\\engine.htm#oil");
    QApplication::processEvents();
    const int atOil = viewer.ScrollPos();
    EXPECT_GT(atOil, 1000);
    viewer.LoadDocument("c:\\plain.htm");
    viewer.HistoryGoBack();
    EXPECT_EQ(viewer.ScrollPos(), atOil);
    viewer.ScrollToY(50);
    EXPECT_EQ(viewer.ScrollPos(), 50);
    viewer.ScrollToY(1 << 30);
    EXPECT_EQ(viewer.ScrollPos(), viewer.MaxScrollPos());
}

TEST_F(HtmlViewerTest, LinkEvents_CarryTargetAndUrl) {
    viewer.LoadDocument("c:\\ch02\\brakes.htm");
    std::vector<std::pair<std::string, std::string>> covered;
    viewer.OnHotSpotTargetCovered = [&](QWidget* s, const std::string& t, const std::string& u) {
        EXPECT_EQ(s, &viewer);
        covered.emplace_back(t, u);
    };
    std::string clickedTarget, clickedUrl;
    bool handle = true;
    viewer.OnHotSpotTargetClick = [&](QWidget*, const std::string& t, const std::string& u,
                                      bool& handled) {
        clickedTarget = t;
        clickedUrl = u;
        handled = handle;
    };
    ClickText(&viewer, u"engine"_qs);
    EXPECT_EQ(clickedTarget, "main");
    EXPECT_EQ(clickedUrl, "..\\ch03\\engine.htm#oil");
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\ch02\\brakes.htm"); // handled: not followed
    ASSERT_FALSE(covered.empty());
    EXPECT_EQ(covered.back(), std::make_pair(std::string("main"), clickedUrl));
    MoveMouse(BrowserOf(&viewer)->viewport(), QPoint(390, 290));
    EXPECT_EQ(covered.back(), std::make_pair(std::string(), std::string()));

    handle = false;
    ClickText(&viewer, u"pads"_qs);
    EXPECT_EQ(clickedUrl, "pads.htm");
    EXPECT_EQ(viewer.CurrentDocument(), "c:\\ch02\\pads.htm");
    EXPECT_EQ(viewer.Visited().front(), "c:\\ch02\\pads.htm");
}

TEST_F(HtmlViewerTest, VisitedLinks_TakeTheirColour) {
    viewer.SetDefHotSpotColor(0x0000FF);     // red
    viewer.SetDefVisitedLinkColor(0x00FF00); // green
    viewer.LoadDocument("c:\\ch02\\brakes.htm");
    EXPECT_EQ(ColorOfText(viewer.Document(), "pads"), QColor(255, 0, 0));
    viewer.AddVisited("C:\\CH02\\PADS.HTM");
    viewer.AddVisited("c:\\ch03\\engine.htm");
    viewer.RefreshVisitedMarks();
    EXPECT_EQ(ColorOfText(viewer.Document(), "pads"), QColor(0, 255, 0));
    EXPECT_EQ(ColorOfText(viewer.Document(), "engine"), QColor(0, 255, 0));
    EXPECT_EQ(ColorOfText(viewer.Document(), "web"), QColor(255, 0, 0));
}

TEST_F(HtmlViewerTest, VisitedLinksOfALoadedPage_ArriveMarked_UnderlinedOnlyWithoutTheOption) {
    // Links in a table (where every format change lays the table out again),
    // two of them underlined by the page's own styles.
    viewer.SetDefHotSpotColor(0x0000FF);     // red
    viewer.SetDefVisitedLinkColor(0x00FF00); // green
    viewer.AddVisited("C:\\CH02\\PADS.HTM");
    viewer.AddVisited("c:\\ch03\\engine.htm");
    struct Link {
        const char* text;
        bool visited;
    };
    const Link links[] = {{"pads", true}, {"brakes", false}, {"engine", true}, {"gone", false}};
    for (const unsigned options : {0u, unsigned(htNoLinkUnderline)}) {
        SCOPED_TRACE(options);
        viewer.SetHtOptions(options);
        viewer.LoadDocument("c:\\plain.htm");
        // Every state of the document the layout is told of, from the moment
        // the page's text is in: the visited link must never be seen unmarked.
        std::vector<std::string> seen;
        const QMetaObject::Connection watch = QObject::connect(
            viewer.Document(), &QTextDocument::contentsChange, &viewer, [&](int, int, int) {
                if (!viewer.Document()->find("pads").isNull())
                    seen.push_back(ColorOfText(viewer.Document(), "pads").name().toStdString());
            });
        viewer.LoadDocument("c:\\ch02\\table.htm");
        QObject::disconnect(watch);
        EXPECT_EQ(seen, std::vector<std::string>(seen.size(), "#00ff00"));
        EXPECT_FALSE(seen.empty());
        for (const Link& link : links) {
            SCOPED_TRACE(link.text);
            const QTextCursor c = viewer.Document()->find(link.text);
            ASSERT_FALSE(c.isNull());
            for (int at = c.selectionStart() + 1; at <= c.selectionEnd(); ++at) {
                QTextCursor ch(viewer.Document());
                ch.setPosition(at);
                EXPECT_EQ(ch.charFormat().foreground().color(),
                          link.visited ? QColor(0, 255, 0) : QColor(255, 0, 0));
                EXPECT_EQ(ch.charFormat().fontUnderline(), options == 0);
            }
        }
    }
    // A visit forgotten after the load: the link takes its own colour back.
    viewer.SetVisitedMaxCount(1); // only engine.htm, the newest, stays
    viewer.RefreshVisitedMarks();
    EXPECT_EQ(ColorOfText(viewer.Document(), "pads"), QColor(255, 0, 0));
    EXPECT_EQ(ColorOfText(viewer.Document(), "engine"), QColor(0, 255, 0));
}

TEST_F(HtmlViewerTest, LinkUnderMouse_IsPaintedInTheOverLinkColour_WithoutChangingThePage) {
    viewer.SetHtOptions(htOverLinksActive | htNoLinkUnderline);
    viewer.SetDefHotSpotColor(0x0000FF);
    viewer.SetDefOverLinkColor(0xFF0000); // blue
    viewer.resize(400, 300);
    viewer.LoadDocument("c:\\ch02\\brakes.htm");
    QTextBrowser* browser = BrowserOf(&viewer);
    QTextCursor c = viewer.Document()->find("pads");
    EXPECT_FALSE(c.charFormat().fontUnderline());
    // The pixels of the link's text that are mostly red or mostly blue.
    auto count = [&](auto isColour) {
        QTextCursor end(viewer.Document());
        end.setPosition(c.selectionEnd());
        QTextCursor start(viewer.Document());
        start.setPosition(c.selectionStart());
        const QRect text = browser->cursorRect(start).united(browser->cursorRect(end));
        const QImage shot = browser->viewport()->grab().toImage();
        int n = 0;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x)
                if (shot.rect().contains(x, y) && isColour(shot.pixelColor(x, y)))
                    ++n;
        return n;
    };
    auto reddish = [](QColor p) { return p.red() > 150 && p.blue() < 100 && p.green() < 100; };
    auto bluish = [](QColor p) { return p.blue() > 150 && p.red() < 100 && p.green() < 100; };
    EXPECT_GT(count(reddish), 0);
    EXPECT_EQ(count(bluish), 0);

    int changes = 0;
    QObject::connect(viewer.Document(), &QTextDocument::contentsChange, &viewer,
                     [&changes](int, int, int) { ++changes; });
    MoveMouse(browser->viewport(),
              browser->viewport()->mapFrom(&viewer, PointOfText(&viewer, "pads")));
    EXPECT_GT(count(bluish), 0);
    EXPECT_EQ(count(reddish), 0);
    MoveMouse(browser->viewport(), QPoint(390, 290));
    EXPECT_GT(count(reddish), 0);
    EXPECT_EQ(count(bluish), 0);
    // The document itself never changed: no layout of the page for a hover.
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(ColorOfText(viewer.Document(), "pads"), QColor(255, 0, 0));
}

TEST_F(HtmlViewerTest, ExpandLinkTarget_AgainstTheCurrentDocument) {
    viewer.LoadDocument("c:\\ch02\\brakes.htm");
    EXPECT_EQ(viewer.ExpandLinkTarget("pads.htm"), "c:\\ch02\\pads.htm");
    EXPECT_EQ(viewer.ExpandLinkTarget("..\\ch03\\engine.htm#oil"), "c:\\ch03\\engine.htm#oil");
    EXPECT_EQ(viewer.ExpandLinkTarget("#top"), "c:\\ch02\\brakes.htm#top");
    EXPECT_EQ(viewer.ExpandLinkTarget("http://a.ru"), "http://a.ru");
    viewer.LoadFromText("<base href=\"c:\\ch05\\\"><a href=x.htm>x</a>", "c:\\ch02\\t.htm");
    EXPECT_EQ(viewer.ExpandLinkTarget("x.htm"), "c:\\ch05\\x.htm");
    EXPECT_EQ(viewer.ExpandLinkTarget("#a"), "c:\\ch02\\t.htm#a");
}

TEST_F(HtmlViewerTest, FindText_SearchesAfterTheSelectionWithoutWrapping) {
    viewer.LoadDocument("c:\\find.htm");
    EXPECT_TRUE(viewer.FindText(QString("alpha"), false));
    EXPECT_EQ(viewer.SelectedText(), "alpha");
    EXPECT_TRUE(viewer.FindText(QString("alpha"), false));
    EXPECT_EQ(viewer.SelectedText(), "Alpha");
    EXPECT_FALSE(viewer.FindText(QString("alpha"), false));
    EXPECT_EQ(viewer.SelectedText(), "Alpha"); // a miss keeps the selection
    viewer.SetCaret(0);
    EXPECT_TRUE(viewer.FindText(std::string("Alpha"), true));
    EXPECT_EQ(viewer.SelectedText(), "Alpha");
    viewer.SetCaret(0);
    EXPECT_FALSE(viewer.FindText(QString("ALPHA"), true));
    // A hit far down is scrolled to the middle of the viewer.
    EXPECT_TRUE(viewer.FindText(QString("far word"), false));
    QTextBrowser* b = BrowserOf(&viewer);
    const int middle = b->viewport()->height() / 2;
    EXPECT_NEAR(b->cursorRect().center().y(), middle, 20);
}

TEST_F(HtmlViewerTest, CopySelection_RefusesMoreThanTheBuffer) {
    QApplication::clipboard()->setText("before");
    viewer.LoadFromText("<p>" + std::string(32000, 'x') + "</p>");
    viewer.SelectAllText();
    try {
        viewer.CopySelection();
        FAIL() << "no error";
    } catch (const EHtmlCopyError& e) {
        EXPECT_STREQ(e.what(), "Selected text exceeds buffer size");
    }
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    viewer.LoadFromText("<p>" + std::string(kMaxCopyChars, 'y') + "</p>");
    viewer.SelectAllText();
    viewer.CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text().size(), kMaxCopyChars);
}

TEST_F(HtmlViewerTest, FormControls_AreRealWidgetsOverThePage) {
    viewer.LoadDocument("c:\\form.htm");
    QApplication::processEvents();
    const auto controls = viewer.FormControls();
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(controls[0].Name, "Serial");
    auto* combo = qobject_cast<QComboBox*>(controls[0].Control);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), "CD-200");
    EXPECT_EQ(combo->count(), 2);
    auto* edit = qobject_cast<QLineEdit*>(controls[1].Control);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "x");
    // Placed after the label text, inside the visible page.
    EXPECT_TRUE(combo->isVisible());
    const QPoint label = PointOfText(&viewer, "Serial:");
    const QPoint at = combo->mapTo(&viewer, QPoint(0, 0));
    EXPECT_GT(at.x(), label.x());
    EXPECT_LT(std::abs(at.y() + combo->height() / 2 - label.y()), combo->height());
    // A new page takes its controls away.
    viewer.LoadDocument("c:\\plain.htm");
    EXPECT_TRUE(viewer.FormControls().empty());
}

TEST_F(HtmlViewerTest, LoadFromText_ShowsTheFontSample) {
    viewer.SetDefFontName("Times New Roman");
    viewer.SetDefFontSize(12);
    viewer.LoadFromText(A("<center><h1>Заголовок</h1></center><ul>Нормальный текст<li>"
                          "<a href=NoWhere>Ссылка</a><li><b>Жирный текст</b></ul> <hr>"));
    EXPECT_TRUE(Text().contains(u"Заголовок"));
    EXPECT_EQ(viewer.Document()->defaultFont().family(), "Times New Roman");
    viewer.ReloadDocument();
    EXPECT_TRUE(Text().contains(u"Жирный текст"));
}

TEST_F(HtmlViewerTest, Print_CallsTheHeaderForEveryPage) {
    viewer.LoadDocument("c:\\find.htm");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((Dir().Path() / "out.pdf").string()));
    std::vector<int> pages;
    viewer.OnPrintHeader = [&](QWidget*, QPainter&, int page, int width) {
        pages.push_back(page);
        EXPECT_GT(width, 0);
    };
    viewer.Print(printer);
    ASSERT_GE(pages.size(), 2u);
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(pages[i], static_cast<int>(i) + 1);
    EXPECT_GT(std::filesystem::file_size(Dir().Path() / "out.pdf"), 1000u);
}

TEST_F(HtmlViewerTest, KeysAndMouse_ReachTheHandlersFirst) {
    viewer.LoadDocument("c:\\find.htm");
    viewer.SelectAllText();
    QApplication::clipboard()->setText("before");
    int keys = 0;
    viewer.OnKeyDown = [&](QWidget*, int key, Qt::KeyboardModifiers mods, bool& handled) {
        if (key == Qt::Key_C && mods == Qt::ControlModifier) {
            ++keys;
            handled = true;
        }
    };
    QTest::keyClick(BrowserOf(&viewer), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(QApplication::clipboard()->text(), "before"); // handled: the engine did not copy
    Qt::MouseButton pressed = Qt::NoButton;
    QPoint where;
    viewer.OnMouseDown = [&](QWidget*, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        pressed = b;
        where = QPoint(x, y);
    };
    QWidget* vp = BrowserOf(&viewer)->viewport();
    QTest::mousePress(vp, Qt::RightButton, {}, QPoint(30, 40));
    EXPECT_EQ(pressed, Qt::RightButton);
    EXPECT_EQ(where, vp->mapTo(&viewer, QPoint(30, 40)));
}

} // namespace
} // namespace carmanual::test
