#pragma once
// Inside the HTML engine boundary: the QTextBrowser that lays out one page and
// the state THTMLViewer keeps about it. Only htmlviewer.cpp and
// frameviewer.cpp include this header.

#include "htmlprepare.h"
#include "htmlviewer.h"
#include "pageanimation.h"
#include "viewerhistory.h"
#include "visitedlinks.h"

#include <QImage>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace carmanual {

// The layout engine's widget. It serves the page's resources from the tables
// the page rewriting made, reading files through the archive.
class THtmlBrowser final : public QTextBrowser {
    Q_OBJECT

public:
    explicit THtmlBrowser(THTMLViewer* owner);
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    THTMLViewer* m_owner;
};

// What the viewer keeps of a page and its navigation.
struct THTMLViewer::Private {
    struct HistoryEntry {
        std::string file;   // without anchor
        std::string anchor; // without '#'
        std::string title;
        int scroll = 0;
    };
    struct LinkSpan {
        int start = 0;
        int end = 0;
        int link = -1; // index into page.Links
        QColor normal;
        bool visitedShown = false;
        // Not underlined and in `normal` throughout: what ApplyLinkColor
        // would make of it without htNoLinkUnderline's underline.
        bool plain = true;
    };
    struct Placeholder {
        int position = -1; // document position of the control's picture
        int control = -1;
    };

    THTMLViewer* q = nullptr;
    THtmlBrowser* browser = nullptr;

    std::string document; // file shown, without anchor
    std::string base;     // what relative names resolve against
    std::string title;
    std::string text; // the HTML of LoadFromText, for ReloadDocument
    bool fromText = false;
    TPreparedPage page;
    std::vector<LinkSpan> spans;
    std::map<int, int> spanOfLink; // link index -> first span index
    int hoveredLink = -1;
    std::vector<QPointer<QWidget>> controls; // per page.Controls entry
    std::vector<Placeholder> placeholders;
    bool placementQueued = false;
    QColor visitedColor;

    TViewerHistory<HistoryEntry> history;
    std::shared_ptr<TVisitedLinks> visited = std::make_shared<TVisitedLinks>();
    // Decoded pictures by folded file name; cleared per load unless
    // ImageCacheCount keeps them.
    std::map<std::string, QImage> images;
    // The files among them that are animated, with their bytes.
    std::map<std::string, QByteArray> animatedBytes;
    // The animated pictures of the page shown, by folded file name, with
    // the resource names the page uses for each.
    struct Animation {
        std::unique_ptr<TPageAnimation> player;
        std::vector<QUrl> urls;
    };
    std::map<std::string, Animation> animations;

    // Set by a frame viewer that owns this viewer.
    std::function<void()> onActivated;

    // Reads a file: its bytes, or EHtmlLoadError.
    static std::string ReadFile(const std::string& file);
    // Shows the bytes of file (a page, a picture or a text, by extension),
    // scrolled to the anchor or to the top. No history.
    void Show(const std::string& file, const std::string& bytes, const std::string& anchor);
    void ShowHtml(const std::string& bytes, const std::string& file);
    void ScrollToAnchor(const std::string& anchor);
    // After the page is in the document: its links, controls and link
    // colours (MarkLinks), then the controls placed.
    void AfterLayout();
    // Finds the links and control pictures of the page and gives the links
    // the colour and underline of their state.
    void MarkLinks();
    void CollectPageObjects();
    void ApplyLinkColor(const LinkSpan& span, const QColor& color, bool underline);
    void RefreshMarks();
    void SetHovered(int link);
    void BuildControls();
    void PlaceControls();
    void QueuePlacement();
    void RememberScroll();
    void PushHistory(const std::string& anchor);
    void ShowEntry(const HistoryEntry& entry);
    void LinkClicked(const QUrl& url);
    void LinkHovered(const QUrl& url);
    void FollowLink(const std::string& url);
    QVariant Resource(int type, const QUrl& name);
    QImage Picture(const std::string& file);
    void Animate(const std::string& key, const QUrl& url);
    void RunAnimations(bool running);
    QString StyleSheet() const;
    bool HandleKey(QKeyEvent* event);
};

} // namespace carmanual
