#pragma once
// THTMLViewer: one HTML document in a scrolling widget, the single-document
// viewer of the HTML engine (hidden search viewers, the font sample, each frame
// of a TFrameViewer). The layout engine inside is Qt's rich text; nothing
// outside this class and TFrameViewer may rely on that.
//
// Names: every file name crossing this interface is a manual name
// (Windows-1251, backslashes, drive letter, as platform/paths.h describes);
// document titles, link URLs and targets are Windows-1251 too. Text taken from
// the page for the reader (selection, ALT texts) is a QString.
//
// Files: every document, picture and style sheet is tested with
// ArchiveFileExists and read through TComprStream, so pages may lie in the
// archive. Pages may be written in windows-1251, koi8-r or utf-8 (declared by a
// meta tag or a byte-order mark); a page that declares nothing is windows-1251.
//
// Events are std::function members named as the engine publishes them; an
// empty one is not called. They run on the GUI thread, from inside the
// viewer's own event handling, so a handler must not delete the viewer.

#include "htmlerrors.h"
#include "types.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QTextDocument;

namespace carmanual {

// Width and height of the picture the engine decoded from a file last
// (whatever the document); 0 until one is decoded.
extern int PictureWidth;
extern int PictureHeight;

// htOptions of the single-document viewer.
enum THtmlViewerOption : unsigned {
    htOverLinksActive = 1u, // the link under the mouse takes DefOverLinkColor
    htNoLinkUnderline = 2u, // links are not underlined
    htNoBorder = 4u,        // no frame around the widget
};

// fvOptions of the frame viewer.
enum TFrameViewerOption : unsigned {
    fvOverLinksActive = 1u,
    fvNoLinkUnderline = 2u,
    fvNoBorder = 4u,
};

// sender: the viewer that reports (see each event).
using THtmlNotifyEvent = std::function<void(QWidget* sender)>;
// target and url as written in the link (the base target of the page when the
// link names none); set handled to keep the engine from following the link.
using THotSpotTargetClickEvent = std::function<void(QWidget* sender, const std::string& target,
                                                    const std::string& url, bool& handled)>;
// url empty: the mouse left the link.
using THotSpotTargetCoveredEvent =
    std::function<void(QWidget* sender, const std::string& target, const std::string& url)>;
// x, y: pixels in the sender's widget coordinates (ObjectAt takes the same).
using THtmlMouseEvent = std::function<void(QWidget* sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
using THtmlMouseMoveEvent =
    std::function<void(QWidget* sender, Qt::KeyboardModifiers shift, int x, int y)>;
// key: a Qt::Key value; set handled to keep the engine from acting on the key
// (Ctrl+C, for example, copies the selection unless handled).
using THtmlKeyEvent =
    std::function<void(QWidget* sender, int key, Qt::KeyboardModifiers shift, bool& handled)>;
// Called for every printed page after its body is drawn; canvas is the page,
// in device pixels, pageWidth its width.
using TPrintHeaderEvent =
    std::function<void(QWidget* sender, QPainter& canvas, int pageNumber, int pageWidth)>;

// A picture of the page (ObjectAt).
struct THtmlPicture {
    int Id = -1;          // the picture's number in its document; a new load renumbers
    std::string Source;   // src as written (Windows-1251)
    std::string FileName; // src resolved against the document: a manual name
    QString Alt;          // the ALT attribute; empty when absent
    bool HasAlt = false;
    QRect Bounds; // in the viewer's widget coordinates when ObjectAt answered
    bool operator==(const THtmlPicture& other) const { return Id == other.Id; }
};

// A form control of the page (FormControls): a real widget over the page.
// <select> is a QComboBox, <input type=text> and password a QLineEdit,
// <textarea> a QPlainTextEdit, checkbox and radio QCheckBox and QRadioButton,
// submit, reset and button a QPushButton. The widget belongs to the viewer and
// lives until the next load.
struct THtmlFormControl {
    std::string Name; // the name attribute (Windows-1251)
    QWidget* Control = nullptr;
};

class THtmlBrowser;
class TFrameViewer;

class THTMLViewer : public QWidget {
    Q_OBJECT

public:
    explicit THTMLViewer(QWidget* parent = nullptr);
    ~THTMLViewer() override;
    Q_DISABLE_COPY_MOVE(THTMLViewer)

    // --- Documents ---
    // Loads a file, optionally followed by '#' and an anchor to scroll to.
    // HTML (.htm, .html and anything not listed below) is laid out as HTML;
    // .bmp, .gif, .jpg, .jpeg, .png show the picture; .txt, .inf, .diz show
    // plain text. Throws EHtmlLoadError when the file does not exist; the
    // shown document is then unchanged. Adds a history entry (HistoryMaxCount
    // permitting) and calls OnHistoryChange.
    void LoadDocument(const std::string& name);
    // Shows HTML given as bytes (charset from its meta tag, else
    // windows-1251). Relative links and pictures resolve against base (a
    // manual name of a document or folder; empty: the program folder).
    // CurrentDocument becomes base; no history entry.
    void LoadFromText(const std::string& html, const std::string& base = {});
    // Reads the current document again (new default fonts and colours apply),
    // keeping the scroll position. No history entry.
    void ReloadDocument();
    // The file shown, without anchor; empty before the first load.
    std::string CurrentDocument() const;
    // The <title> of the shown document; empty when it has none.
    std::string DocumentTitle() const;
    // A link or resource reference of the current document as a full manual
    // name; an anchor stays on the result ("#x" gives the current document
    // with "#x"); URLs with a protocol (http:, mailto:, ...) come back as
    // they are.
    std::string ExpandLinkTarget(const std::string& link) const;

    // --- History (entry 0 is the newest) ---
    int HistoryMaxCount() const { return m_historyMaxCount; }
    void SetHistoryMaxCount(int count); // 0: no history is kept
    // Setting shows that entry (and calls OnHistoryChange); out of range is
    // ignored.
    int HistoryPosition() const;
    void SetHistoryPosition(int index);
    TDynamicStringArray HistoryFiles() const;  // files without anchors
    TDynamicStringArray HistoryTitles() const; // parallel; may be empty
    bool BackButtonEnabled() const;            // an older entry exists
    bool FwdButtonEnabled() const;             // a newer entry exists
    void HistoryGoBack();
    void HistoryGoForward();
    void ClearHistory();

    // --- Visited links (compared as expanded names, ignoring case) ---
    int VisitedMaxCount() const { return m_visitedMaxCount; }
    void SetVisitedMaxCount(int count);
    // Newest first; the oldest drop out beyond VisitedMaxCount.
    void AddVisited(const std::string& fileName);
    const TDynamicStringArray& Visited() const;
    // Gives every link of the shown page the colour of its state again.
    void RefreshVisitedMarks();

    // --- Position, search, selection ---
    int ScrollPos() const;    // pixels from the top of the document
    void ScrollToY(int y);    // clamped to the document
    int MaxScrollPos() const; // the largest ScrollPos of the shown page
    // Searches from the end of the selection (or the caret) towards the end
    // of the page; a hit is selected and scrolled to the middle of the
    // viewer. No wrap-around: the caller puts the caret back with SetCaret(0).
    bool FindText(const QString& text, bool matchCase);
    bool FindText(const std::string& text, bool matchCase); // Windows-1251
    void SetCaret(int position); // character position; 0 = start; clears the selection
    QString SelectedText() const;
    void SelectAllText();
    // Puts the selection on the clipboard; throws EHtmlCopyError when it is
    // longer than kMaxCopyChars characters (the clipboard is then unchanged).
    void CopySelection();

    // --- Objects ---
    // The picture at (x, y) in widget coordinates, or nothing.
    std::optional<THtmlPicture> ObjectAt(int x, int y) const;
    std::vector<THtmlFormControl> FormControls() const;

    // --- Printing ---
    // The laid-out document, for the print preview and the printer wrapper.
    QTextDocument* Document() const;
    // Prints the whole document, calling OnPrintHeader for every page.
    void Print(QPrinter& printer);

    // --- Appearance; font and colour defaults apply from the next load ---
    const std::string& DefFontName() const { return m_defFontName; }
    void SetDefFontName(const std::string& name);
    const std::string& DefPreFontName() const { return m_defPreFontName; }
    void SetDefPreFontName(const std::string& name);
    TColor DefFontColor() const { return m_defFontColor; }
    void SetDefFontColor(TColor color);
    int DefFontSize() const { return m_defFontSize; } // points
    void SetDefFontSize(int points);
    TColor DefHotSpotColor() const { return m_defHotSpotColor; }
    void SetDefHotSpotColor(TColor color);
    TColor DefVisitedLinkColor() const { return m_defVisitedLinkColor; }
    void SetDefVisitedLinkColor(TColor color);
    TColor DefOverLinkColor() const { return m_defOverLinkColor; }
    void SetDefOverLinkColor(TColor color);
    TColor DefBackground() const { return m_defBackground; }
    void SetDefBackground(TColor color);
    unsigned HtOptions() const { return m_options; }
    void SetHtOptions(unsigned options); // THtmlViewerOption flags
    int ImageCacheCount() const { return m_imageCacheCount; }
    void SetImageCacheCount(int count); // decoded pictures kept between loads
    bool ViewImages() const { return m_viewImages; }
    void SetViewImages(bool view); // false: pictures are not read at all
    bool NoSelect() const { return m_noSelect; }
    void SetNoSelect(bool noSelect); // true: the mouse cannot select text
    void SetVerticalScrollBar(Qt::ScrollBarPolicy policy);
    void SetHorizontalScrollBar(Qt::ScrollBarPolicy policy);

    // --- Events (sender: this viewer) ---
    THotSpotTargetClickEvent OnHotSpotTargetClick;
    THotSpotTargetCoveredEvent OnHotSpotTargetCovered;
    THtmlNotifyEvent OnHistoryChange;
    TPrintHeaderEvent OnPrintHeader;
    THtmlKeyEvent OnKeyDown;
    THtmlMouseMoveEvent OnMouseMove;
    THtmlMouseEvent OnMouseDown;
    THtmlMouseEvent OnMouseUp;

private:
    friend class THtmlBrowser;
    friend class TFrameViewer;
    struct Private;

    std::unique_ptr<Private> d;
    std::string m_defFontName = "Arial";
    std::string m_defPreFontName = "Courier New";
    TColor m_defFontColor = 0;
    int m_defFontSize = 12;
    TColor m_defHotSpotColor = 0xFF0000;     // blue
    TColor m_defVisitedLinkColor = 0x800080; // purple
    TColor m_defOverLinkColor = 0x0000FF;    // red
    TColor m_defBackground = 0xFFFFFF;
    unsigned m_options = 0;
    int m_historyMaxCount = 0;
    int m_visitedMaxCount = 50;
    int m_imageCacheCount = 0;
    bool m_viewImages = true;
    bool m_noSelect = false;
};

} // namespace carmanual
