#pragma once
// TFrameViewer: the page panel's viewer. It shows a plain document in one
// THTMLViewer, or a frame set (<frameset rows/cols>, nested, <frame name src
// scrolling noresize>) as splitters of THTMLViewers, one per frame. A link
// opens its document in the frame its target names ("_self", "_parent",
// "_top" as browsers do); the history covers the viewer as a whole: each
// entry is the whole state (the top document and every frame's document and
// scroll position).
//
// Names follow THTMLViewer's conventions (manual names, Windows-1251).
// Events are std::function members as in THTMLViewer. Link and history
// events report the frame viewer as sender; mouse and key events report the
// THTMLViewer of the frame under the mouse or with the focus, with x, y in
// that viewer's coordinates (pass them to its ObjectAt). The link events of
// the frames' own THTMLViewers belong to the frame viewer: do not replace them.
//
// A link whose target is "_blank", or a frame name the frame set does not
// have, is reported through OnHotSpotTargetClick like any other; when the
// handler leaves it unhandled the document opens in the whole viewer.

#include "htmlviewer.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace carmanual {

class TFrameViewer : public QWidget {
    Q_OBJECT

public:
    explicit TFrameViewer(QWidget* parent = nullptr);
    ~TFrameViewer() override;
    Q_DISABLE_COPY_MOVE(TFrameViewer)

    // --- Documents ---
    // Loads a file (optionally "#anchor") into the whole viewer: a frame set
    // builds its frames, any other document fills the viewer. Throws
    // EHtmlLoadError when the file (or the frame set itself) does not exist;
    // a missing frame document only leaves that frame empty. Adds a history
    // entry and calls OnHistoryChange.
    void LoadDocument(const std::string& name);
    // Reads the shown documents again (new defaults apply), keeping the frames'
    // scroll positions. No history entry.
    void ReloadDocument();
    // The top document (the frame set when frames are shown), without anchor.
    std::string CurrentDocument() const;
    // The top document's title.
    std::string DocumentTitle() const;
    // A link of the active frame's document as a full manual name (see
    // THTMLViewer::ExpandLinkTarget); before any load, against the program
    // folder.
    std::string ExpandLinkTarget(const std::string& link) const;

    // The document viewer of the active frame: the frame last entered by the
    // mouse, focused or navigated; the single viewer when there are no frames.
    // Never null.
    THTMLViewer* ActiveDocument() const;
    // The document viewer of the named frame (ignoring case), or null.
    THTMLViewer* FrameDocument(const std::string& frameName) const;
    // Names of the frames shown, in document order (unnamed frames as "").
    TDynamicStringArray FrameNames() const;
    bool HasFrames() const;

    // --- History (entry 0 is the newest) ---
    int HistoryMaxCount() const { return m_historyMaxCount; }
    void SetHistoryMaxCount(int count);
    int HistoryPosition() const;
    void SetHistoryPosition(int index);        // shows that entry; calls OnHistoryChange
    TDynamicStringArray HistoryFiles() const;  // top documents, without anchors
    TDynamicStringArray HistoryTitles() const; // top documents' titles
    bool BackButtonEnabled() const;
    bool FwdButtonEnabled() const;
    void HistoryGoBack();
    void HistoryGoForward();
    void ClearHistory();

    // --- Visited links, shared by all frames ---
    int VisitedMaxCount() const { return m_visitedMaxCount; }
    void SetVisitedMaxCount(int count);
    void AddVisited(const std::string& fileName);
    const TDynamicStringArray& Visited() const;
    void RefreshVisitedMarks();

    // --- The active document's selection and forms ---
    QString SelectedText() const;
    void SelectAllText();
    void CopySelection(); // throws EHtmlCopyError, see THTMLViewer
    // Form controls of every frame, frames in document order.
    std::vector<THtmlFormControl> FormControls() const;

    // --- Appearance, handed to every frame; applies from the next load ---
    const std::string& DefFontName() const { return m_defFontName; }
    void SetDefFontName(const std::string& name);
    TColor DefFontColor() const { return m_defFontColor; }
    void SetDefFontColor(TColor color);
    int DefFontSize() const { return m_defFontSize; }
    void SetDefFontSize(int points);
    TColor DefHotSpotColor() const { return m_defHotSpotColor; }
    void SetDefHotSpotColor(TColor color);
    TColor DefVisitedLinkColor() const { return m_defVisitedLinkColor; }
    void SetDefVisitedLinkColor(TColor color);
    TColor DefOverLinkColor() const { return m_defOverLinkColor; }
    void SetDefOverLinkColor(TColor color);
    TColor DefBackground() const { return m_defBackground; }
    void SetDefBackground(TColor color);
    unsigned FvOptions() const { return m_options; }
    void SetFvOptions(unsigned options); // TFrameViewerOption flags
    int ImageCacheCount() const { return m_imageCacheCount; }
    void SetImageCacheCount(int count);
    bool ViewImages() const { return m_viewImages; }
    void SetViewImages(bool view);
    bool NoSelect() const { return m_noSelect; }
    void SetNoSelect(bool noSelect);

    // --- Events ---
    THotSpotTargetClickEvent OnHotSpotTargetClick;     // sender: this
    THotSpotTargetCoveredEvent OnHotSpotTargetCovered; // sender: this
    THtmlNotifyEvent OnHistoryChange;                  // sender: this
    TPrintHeaderEvent OnPrintHeader;                   // sender: the printed document's viewer
    THtmlKeyEvent OnKeyDown;                           // sender: the frame's THTMLViewer
    THtmlMouseMoveEvent OnMouseMove;
    THtmlMouseEvent OnMouseDown;
    THtmlMouseEvent OnMouseUp;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Private;
    friend struct Private;

    std::unique_ptr<Private> d;
    std::string m_defFontName = "Arial";
    TColor m_defFontColor = 0;
    int m_defFontSize = 12;
    TColor m_defHotSpotColor = 0xFF0000;
    TColor m_defVisitedLinkColor = 0x800080;
    TColor m_defOverLinkColor = 0x0000FF;
    TColor m_defBackground = 0xFFFFFF;
    unsigned m_options = 0;
    int m_historyMaxCount = 0;
    int m_visitedMaxCount = 50;
    int m_imageCacheCount = 0;
    bool m_viewImages = true;
    bool m_noSelect = false;
};

// The hidden viewer that prints a linked document: a frame viewer and no more.
class TPrintFrameViewer final : public TFrameViewer {
    Q_OBJECT

public:
    using TFrameViewer::TFrameViewer;
};

} // namespace carmanual
