#include "htmlviewer.h"

#include "htmlresource.h"

#include "htmlviewer_p.h"

#include "ansi.h"
#include "archive.h"
#include "comprstream.h"
#include "htmlcharset.h"
#include "htmlurl.h"
#include "paths.h"
#include "qtansi.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_map>

namespace carmanual {

int PictureWidth = 0;
int PictureHeight = 0;

namespace {

QColor ToQColor(TColor c) {
    // System colours (high byte set) have no fixed value: take the palette's.
    if ((c & 0xFF000000u) != 0)
        return QApplication::palette().color(QPalette::Window);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

std::string LowerExtension(const std::string& file) {
    const std::size_t dot = file.rfind('.');
    const std::size_t sep = file.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep))
        return {};
    std::string ext = file.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool IsPictureFile(const std::string& file) {
    const std::string ext = LowerExtension(file);
    return ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".png";
}

bool IsTextFile(const std::string& file) {
    const std::string ext = LowerExtension(file);
    return ext == ".txt" || ext == ".inf" || ext == ".diz";
}

// Page bytes in a known character set as a QString.
QString DecodePage(std::string_view bytes, const THtmlCharsetInfo& info) {
    const auto size = static_cast<qsizetype>(bytes.size());
    switch (info.Charset) {
    case THtmlCharset::Utf8:
        return QString::fromUtf8(bytes.data(), size);
    case THtmlCharset::Utf16LE:
    case THtmlCharset::Utf16BE: {
        QStringDecoder decoder(info.Charset == THtmlCharset::Utf16LE ? QStringConverter::Utf16LE
                                                                     : QStringConverter::Utf16BE);
        return decoder(QByteArrayView(bytes.data(), size));
    }
    case THtmlCharset::Other: {
        QStringDecoder decoder(info.Name.c_str());
        if (decoder.isValid())
            return decoder(QByteArrayView(bytes.data(), size));
        break;
    }
    case THtmlCharset::Windows1251:
    case THtmlCharset::Koi8R:
        break;
    }
    const char16_t* table = SingleByteTable(info.Charset);
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = QChar(table[static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)])]);
    return out;
}

std::string UrlText(const QUrl& url) {
    return url.toString().toStdString();
}

} // namespace

// ---------------------------------------------------------------------------
// THtmlBrowser

THtmlBrowser::THtmlBrowser(THTMLViewer* owner) : QTextBrowser(owner), m_owner(owner) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    document()->setUndoRedoEnabled(false);
    setMouseTracking(true);
}

QVariant THtmlBrowser::loadResource(int type, const QUrl& name) {
    // Kept in the document until the next page. QTextDocument keeps every
    // answer of this function itself as well, so each file is asked for once
    // per page, not once per laid-out line.
    const QVariant value = m_owner->d->Resource(type, name);
    if (value.isValid())
        document()->addResource(type, name, value);
    return value;
}

void THtmlBrowser::showEvent(QShowEvent* event) {
    QTextBrowser::showEvent(event);
    m_owner->d->RunAnimations(true);
}

void THtmlBrowser::hideEvent(QHideEvent* event) {
    QTextBrowser::hideEvent(event);
    m_owner->d->RunAnimations(false);
}

void THtmlBrowser::keyPressEvent(QKeyEvent* event) {
    if (m_owner->d->HandleKey(event))
        return;
    QTextBrowser::keyPressEvent(event);
}

void THtmlBrowser::focusInEvent(QFocusEvent* event) {
    if (m_owner->d->onActivated)
        m_owner->d->onActivated();
    QTextBrowser::focusInEvent(event);
}

void THtmlBrowser::contextMenuEvent(QContextMenuEvent* event) {
    // The page panel shows its own popup on the right button (OnMouseDown).
    event->accept();
}

// Clicks on a page belong to the page. The browser leaves some of them
// unhandled (the right button, a press beside the text); passed on, they
// would reach the skinned window, close the popup just opened and drag the
// window.
void THtmlBrowser::mousePressEvent(QMouseEvent* event) {
    QTextBrowser::mousePressEvent(event);
    event->accept();
}

void THtmlBrowser::mouseReleaseEvent(QMouseEvent* event) {
    QTextBrowser::mouseReleaseEvent(event);
    event->accept();
}

void THtmlBrowser::mouseDoubleClickEvent(QMouseEvent* event) {
    QTextBrowser::mouseDoubleClickEvent(event);
    event->accept();
}

// ---------------------------------------------------------------------------
// Mouse events reach the owner before the layout engine sees them.

namespace {

class TViewportWatcher final : public QObject {
public:
    TViewportWatcher(THTMLViewer* viewer, THtmlBrowser* browser, std::function<void()>& activated)
        : QObject(viewer), m_viewer(viewer), m_browser(browser), m_activated(activated) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_browser->viewport())
            return false;
        switch (event->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint p = m_browser->viewport()->mapTo(m_viewer, me->position().toPoint());
            if (m_viewer->OnMouseMove)
                m_viewer->OnMouseMove(m_viewer, me->modifiers(), p.x(), p.y());
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint p = m_browser->viewport()->mapTo(m_viewer, me->position().toPoint());
            const bool down = event->type() == QEvent::MouseButtonPress;
            if (down && m_activated)
                m_activated();
            const THtmlMouseEvent& handler = down ? m_viewer->OnMouseDown : m_viewer->OnMouseUp;
            if (handler)
                handler(m_viewer, me->button(), me->modifiers(), p.x(), p.y());
            break;
        }
        case QEvent::Enter:
            if (m_activated)
                m_activated();
            break;
        default:
            break;
        }
        return false;
    }

private:
    THTMLViewer* m_viewer;
    THtmlBrowser* m_browser;
    std::function<void()>& m_activated;
};

} // namespace

// ---------------------------------------------------------------------------
// THTMLViewer::Private

std::string THTMLViewer::Private::ReadFile(const std::string& file) {
    if (file.empty() || !ArchiveFileExists(file))
        throw EHtmlLoadError(file);
    try {
        TComprStream stream(file);
        return stream.TakeBytes();
    } catch (const EFOpenError&) {
        throw EHtmlLoadError(file);
    }
}

QString THTMLViewer::Private::StyleSheet() const {
    const QString text = ToQColor(q->m_defFontColor).name();
    QString link = ToQColor(q->m_defHotSpotColor).name();
    if (!page.LinkColor.empty()) {
        const QColor c(QString::fromLatin1(page.LinkColor.c_str()));
        if (c.isValid())
            link = c.name();
    }
    QString css = QStringLiteral("body { color: %1; } a { color: %2; }").arg(text, link);
    if (q->m_options & htNoLinkUnderline)
        css += QStringLiteral(" a { text-decoration: none; }");
    css += QStringLiteral(" pre, code, tt, kbd, samp { font-family: \"%1\"; }")
               .arg(FromAnsi(q->m_defPreFontName));
    return css;
}

void THTMLViewer::Private::Show(const std::string& file, const std::string& bytes,
                                const std::string& anchor) {
    fromText = false;
    text.clear();
    if (q->m_imageCacheCount <= 0 || static_cast<int>(images.size()) > q->m_imageCacheCount) {
        images.clear();
        animatedBytes.clear();
    }
    animations.clear();
    hoveredLink = -1;
    browser->setExtraSelections({});
    document = file;
    base = file;
    if (IsPictureFile(file)) {
        page = TPreparedPage{};
        THtmlResourceRef ref;
        ref.Source = file;
        page.Resources.push_back(ref);
        page.Html = "<html><body><img src=\"res:0\"></body></html>";
        page.Title = file.substr(file.find_last_of("\\/") + 1);
        ShowHtml({}, file);
    } else if (IsTextFile(file)) {
        page = TPreparedPage{};
        BuildControls();
        QTextDocument* doc = browser->document();
        doc->clear();
        doc->setDefaultFont(QFont(FromAnsi(q->m_defPreFontName), q->m_defFontSize));
        const THtmlCharsetInfo info = DetectCharset(bytes);
        browser->setPlainText(DecodePage(std::string_view(bytes).substr(info.BomBytes), info));
        title.clear();
        AfterLayout();
    } else {
        ShowHtml(bytes, file);
    }
    ScrollToAnchor(anchor);
}

// Lays out a page. With empty bytes the prepared page is already in `page`.
void THTMLViewer::Private::ShowHtml(const std::string& bytes, const std::string& file) {
    THtmlCharsetInfo info;
    if (!bytes.empty()) {
        info = DetectCharset(bytes);
        page = PrepareHtml(std::string_view(bytes).substr(info.BomBytes), info.Charset);
    }
    if (!page.BaseHref.empty())
        base = ResolveLink(file, page.BaseHref);
    title = page.Title;
    visitedColor = ToQColor(q->m_defVisitedLinkColor);
    if (!page.VisitedColor.empty()) {
        const QColor c(QString::fromLatin1(page.VisitedColor.c_str()));
        if (c.isValid())
            visitedColor = c;
    }
    BuildControls();
    QTextDocument* doc = browser->document();
    doc->clear();
    doc->setDefaultStyleSheet(StyleSheet());
    doc->setDefaultFont(QFont(FromAnsi(q->m_defFontName), q->m_defFontSize));
    const QString html = bytes.empty() && !page.Html.empty()
                             ? QString::fromLatin1(page.Html.c_str())
                             : DecodePage(page.Html, info);
    // A page taller than the viewer brings in the vertical scroll bar, which
    // narrows the viewport, and the browser then lays the whole page out a
    // second time: for a table of thousands of rows that doubles the load.
    // Laid out with the bar already there, a long page is laid out once; a
    // page that fits loses the bar afterwards and, being short, is laid out
    // again cheaply.
    const bool barAsNeeded = browser->verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded;
    if (barAsNeeded)
        browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    {
        // The page and the colours of its links are one edit, so the layout
        // runs once, after both. Every format change inside a table lays the
        // whole table out again: marked after the page's own layout, the
        // visited links of a long table would cost a second one.
        QTextCursor batch(doc);
        batch.beginEditBlock();
        browser->setHtml(html);
        MarkLinks();
        batch.endEditBlock();
    }
    if (barAsNeeded)
        browser->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QueuePlacement();
}

void THTMLViewer::Private::AfterLayout() {
    MarkLinks();
    QueuePlacement();
}

void THTMLViewer::Private::MarkLinks() {
    CollectPageObjects();
    // One edit block: one layout for all the links of the page.
    QTextCursor batch(browser->document());
    batch.beginEditBlock();
    if (q->m_options & htNoLinkUnderline) {
        // The style sheet has taken the underline off already, except
        // where the page's own styles put it back.
        for (const LinkSpan& s : spans) {
            if (!s.plain)
                ApplyLinkColor(s, s.normal, false);
        }
    }
    RefreshMarks();
    batch.endEditBlock();
}

void THTMLViewer::Private::CollectPageObjects() {
    spans.clear();
    spanOfLink.clear();
    placeholders.clear();
    QTextDocument* doc = browser->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.isValid())
                continue;
            const QTextCharFormat cf = f.charFormat();
            if (cf.isAnchor()) {
                const QString href = cf.anchorHref();
                const int link = TokenIndex(href.toStdString(), "lnk:");
                if (link >= 0 && link < static_cast<int>(page.Links.size())) {
                    if (!spans.empty() && spans.back().link == link &&
                        spans.back().end == f.position()) {
                        spans.back().end = f.position() + f.length();
                    } else {
                        LinkSpan s;
                        s.start = f.position();
                        s.end = f.position() + f.length();
                        s.link = link;
                        s.normal = cf.foreground().color();
                        spanOfLink.emplace(link, static_cast<int>(spans.size()));
                        spans.push_back(s);
                    }
                    LinkSpan& s = spans.back();
                    s.plain = s.plain && !cf.fontUnderline() &&
                              cf.foreground().style() != Qt::NoBrush &&
                              cf.foreground().color() == s.normal;
                }
            }
            if (cf.isImageFormat()) {
                const int control = TokenIndex(cf.toImageFormat().name().toStdString(), "ctl:");
                if (control >= 0 && control < static_cast<int>(controls.size()))
                    placeholders.push_back({f.position(), control});
            }
        }
    }
}

void THTMLViewer::Private::ApplyLinkColor(const LinkSpan& span, const QColor& color,
                                          bool underline) {
    QTextCursor c(browser->document());
    c.setPosition(span.start);
    c.setPosition(span.end, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setForeground(color);
    if (!underline || (q->m_options & htNoLinkUnderline))
        f.setFontUnderline(false);
    else
        f.setFontUnderline(true);
    c.mergeCharFormat(f);
}

void THTMLViewer::Private::RefreshMarks() {
    const bool underline = !(q->m_options & htNoLinkUnderline);
    QTextCursor batch(browser->document()); // one layout for all changes
    batch.beginEditBlock();
    // A page links to the same few files many times over: each href is
    // expanded and looked up once.
    std::unordered_map<std::string_view, bool> visitedHref;
    for (LinkSpan& s : spans) {
        const std::string& href = page.Links[static_cast<std::size_t>(s.link)].Href;
        auto [known, isNew] = visitedHref.try_emplace(href, false);
        if (isNew)
            known->second =
                !HasUrlProtocol(href) || href.rfind("http", 0) == 0 || href.rfind("mailto", 0) == 0
                    ? visited->Contains(q->ExpandLinkTarget(href))
                    : false;
        const bool isVisited = known->second;
        if (isVisited == s.visitedShown)
            continue;
        s.visitedShown = isVisited;
        ApplyLinkColor(s, isVisited ? visitedColor : s.normal, underline);
    }
    batch.endEditBlock();
}

void THTMLViewer::Private::SetHovered(int link) {
    if (link == hoveredLink)
        return;
    hoveredLink = link;
    // The colour over a link is painted over its text, not written into the
    // document: the page keeps its layout, however long it is.
    QList<QTextEdit::ExtraSelection> selections;
    for (const LinkSpan& s : spans) {
        if (s.link != link)
            continue;
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(browser->document());
        selection.cursor.setPosition(s.start);
        selection.cursor.setPosition(s.end, QTextCursor::KeepAnchor);
        selection.format.setForeground(ToQColor(q->m_defOverLinkColor));
        selections.push_back(selection);
    }
    browser->setExtraSelections(selections);
}

void THTMLViewer::Private::ScrollToAnchor(const std::string& anchor) {
    if (anchor.empty()) {
        browser->verticalScrollBar()->setValue(0);
        browser->horizontalScrollBar()->setValue(0);
        return;
    }
    browser->scrollToAnchor(FromAnsi(anchor));
}

void THTMLViewer::Private::RememberScroll() {
    if (!history.Empty())
        history.Current().scroll = q->ScrollPos();
}

void THTMLViewer::Private::PushHistory(const std::string& anchor) {
    history.Push({document, anchor, title, q->ScrollPos()});
}

void THTMLViewer::Private::ShowEntry(const HistoryEntry& entry) {
    if (!AnsiSameText(entry.file, document) || document.empty()) {
        try {
            Show(entry.file, ReadFile(entry.file), {});
        } catch (const EHtmlLoadError&) {
            return;
        }
    }
    q->ScrollToY(entry.scroll);
}

void THTMLViewer::Private::LinkHovered(const QUrl& url) {
    const int link = TokenIndex(UrlText(url), "lnk:");
    const bool valid = link >= 0 && link < static_cast<int>(page.Links.size());
    if (q->m_options & htOverLinksActive)
        SetHovered(valid ? link : -1);
    if (!q->OnHotSpotTargetCovered)
        return;
    if (!valid) {
        q->OnHotSpotTargetCovered(q, {}, {});
        return;
    }
    const THtmlLinkRef& ref = page.Links[static_cast<std::size_t>(link)];
    q->OnHotSpotTargetCovered(q, ref.Target.empty() ? page.BaseTarget : ref.Target, ref.Href);
}

void THTMLViewer::Private::LinkClicked(const QUrl& url) {
    const int link = TokenIndex(UrlText(url), "lnk:");
    if (link < 0 || link >= static_cast<int>(page.Links.size()))
        return;
    // Copies: the handler may load another page, which replaces the tables.
    const THtmlLinkRef ref = page.Links[static_cast<std::size_t>(link)];
    const std::string target = ref.Target.empty() ? page.BaseTarget : ref.Target;
    bool handled = false;
    if (q->OnHotSpotTargetClick)
        q->OnHotSpotTargetClick(q, target, ref.Href, handled);
    if (!handled)
        FollowLink(ref.Href);
}

void THTMLViewer::Private::FollowLink(const std::string& url) {
    if (HasUrlProtocol(url))
        return; // web and mail addresses are the page panel's business
    const std::string expanded = q->ExpandLinkTarget(url);
    visited->Add(expanded);
    const auto [file, anchor] = SplitAnchor(expanded);
    if (AnsiSameText(file, document)) {
        RememberScroll();
        ScrollToAnchor(anchor);
        PushHistory(anchor);
        RefreshMarks();
        if (q->OnHistoryChange)
            q->OnHistoryChange(q);
        return;
    }
    try {
        q->LoadDocument(expanded);
    } catch (const EHtmlLoadError&) {
        // A dead link does nothing, as in a browser without error pages.
    }
}

namespace {

// A picture of a page as the decoder gives it: its frame and size, and its
// bytes when it is an animation to play in place.
struct TDecodedPicture {
    QImage Image;
    QByteArray AnimatedBytes;
};

TDecodedPicture DecodePicture(const std::string& file) {
    TDecodedPicture out;
    if (!ArchiveFileExists(file))
        return out;
    try {
        TComprStream stream(file);
        const std::string& bytes = stream.Bytes();
        const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
        out.Image = QImage::fromData(data);
        if (!out.Image.isNull() && TPageAnimation::IsAnimated(data))
            out.AnimatedBytes = data;
    } catch (const EFOpenError&) {
    }
    return out;
}

} // namespace

QImage THTMLViewer::Private::Picture(const std::string& file) {
    const std::string key = Folded(file);
    const auto it = images.find(key);
    if (it != images.end())
        return it->second;
    TDecodedPicture decoded = DecodePicture(file);
    if (!decoded.Image.isNull()) {
        // The size of the last picture decoded, for printing a picture page.
        PictureWidth = decoded.Image.width();
        PictureHeight = decoded.Image.height();
    }
    if (!decoded.AnimatedBytes.isEmpty())
        animatedBytes[key] = std::move(decoded.AnimatedBytes);
    images.emplace(key, decoded.Image);
    return decoded.Image;
}

QVariant THTMLViewer::Private::Resource(int type, const QUrl& name) {
    const THtmlResourceRequest request =
        type == QTextDocument::StyleSheetResource ? THtmlResourceRequest::StyleSheet
        : type == QTextDocument::ImageResource    ? THtmlResourceRequest::Picture
                                                  : THtmlResourceRequest::Other;
    const THtmlResourceTarget target =
        ResolveResource(UrlText(name), ToAnsi(QUrl::fromPercentEncoding(name.toString().toUtf8())),
                        request, page.Resources, base, controls.size());
    switch (target.Kind) {
    case THtmlResourceTarget::TKind::Control: {
        // The control's room in the layout; the control itself lies over it.
        const QWidget* w = controls[static_cast<std::size_t>(target.Control)];
        QImage space(w ? w->size() : QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
        space.fill(Qt::transparent);
        return space;
    }
    case THtmlResourceTarget::TKind::StyleSheet:
        try {
            const std::string bytes = ReadFile(target.File);
            const THtmlCharsetInfo info = DetectCharset(bytes);
            return DecodePage(std::string_view(bytes).substr(info.BomBytes), info);
        } catch (const EHtmlLoadError&) {
            return QString();
        }
    case THtmlResourceTarget::TKind::Picture: {
        if (!q->m_viewImages) {
            QImage blank(16, 16, QImage::Format_ARGB32_Premultiplied);
            blank.fill(Qt::transparent);
            return blank;
        }
        const QImage image = Picture(target.File);
        if (image.isNull())
            return {};
        if (const std::string key = Folded(target.File); animatedBytes.count(key))
            Animate(key, name);
        return image;
    }
    case THtmlResourceTarget::TKind::None:
        break;
    }
    return {};
}

void THTMLViewer::Private::Animate(const std::string& key, const QUrl& url) {
    Animation& a = animations[key];
    if (std::find(a.urls.begin(), a.urls.end(), url) == a.urls.end())
        a.urls.push_back(url);
    if (a.player)
        return;
    a.player =
        std::make_unique<TPageAnimation>(animatedBytes[key], [this, key](const QImage& frame) {
            const auto it = animations.find(key);
            if (it == animations.end() || !browser)
                return;
            // The frame takes the picture's place; the layout stays as it is.
            for (const QUrl& u : it->second.urls)
                browser->document()->addResource(QTextDocument::ImageResource, u, frame);
            browser->viewport()->update();
        });
    a.player->SetRunning(browser->isVisible());
}

void THTMLViewer::Private::RunAnimations(bool running) {
    for (auto& [key, a] : animations)
        if (a.player)
            a.player->SetRunning(running);
}

bool THTMLViewer::Private::HandleKey(QKeyEvent* event) {
    bool handled = false;
    if (q->OnKeyDown)
        q->OnKeyDown(q, event->key(), event->modifiers(), handled);
    return handled;
}

// ---------------------------------------------------------------------------
// THTMLViewer

THTMLViewer::THTMLViewer(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>()) {
    d->q = this;
    d->browser = new THtmlBrowser(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->browser);
    d->history.SetMaxCount(m_historyMaxCount);
    d->visited->SetMaxCount(m_visitedMaxCount);
    d->browser->viewport()->installEventFilter(
        new TViewportWatcher(this, d->browser, d->onActivated));
    connect(d->browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { d->LinkClicked(url); });
    connect(d->browser, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
            [this](const QUrl& url) { d->LinkHovered(url); });
    connect(d->browser->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { d->PlaceControls(); });
    connect(d->browser->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { d->PlaceControls(); });
    connect(d->browser->document()->documentLayout(),
            &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { d->QueuePlacement(); });
    QPalette pal = d->browser->palette();
    pal.setColor(QPalette::Base, ToQColor(m_defBackground));
    pal.setColor(QPalette::Text, ToQColor(m_defFontColor));
    d->browser->setPalette(pal);
}

THTMLViewer::~THTMLViewer() {
    // The browser still works while QWidget's destructor closes the window:
    // losing the focus makes it measure the selection, which lays out lines and
    // asks for their pictures. It goes first, while the tables it reads exist.
    d->animations.clear();
    delete d->browser;
    d->browser = nullptr;
}

void THTMLViewer::LoadDocument(const std::string& name) {
    auto [file, anchor] = SplitAnchor(ResolveLink({}, name));
    if (SplitAnchor(name).first.empty() && !d->document.empty()) {
        // "#anchor" alone: a place in the shown page.
        d->RememberScroll();
        d->ScrollToAnchor(anchor);
        d->PushHistory(anchor);
        if (OnHistoryChange)
            OnHistoryChange(this);
        return;
    }
    const std::string bytes = Private::ReadFile(file);
    d->RememberScroll();
    d->Show(file, bytes, anchor);
    d->PushHistory(anchor);
    if (OnHistoryChange)
        OnHistoryChange(this);
}

void THTMLViewer::LoadFromText(const std::string& html, const std::string& base) {
    const std::string doc = base.empty() ? std::string() : ResolveLink({}, base);
    d->hoveredLink = -1;
    d->browser->setExtraSelections({});
    d->document = doc;
    d->base = doc.empty() ? ProgramDir() : doc;
    if (m_imageCacheCount <= 0) {
        d->images.clear();
        d->animatedBytes.clear();
    }
    d->animations.clear();
    d->text = html.empty() ? std::string(" ") : html;
    d->fromText = true;
    d->ShowHtml(d->text, d->base);
    d->ScrollToAnchor({});
}

void THTMLViewer::ReloadDocument() {
    const int scroll = ScrollPos();
    if (d->fromText) {
        const std::string doc = d->document;
        d->ShowHtml(d->text, d->base);
        d->document = doc;
    } else if (!d->document.empty()) {
        d->Show(d->document, Private::ReadFile(d->document), {});
    } else {
        return;
    }
    ScrollToY(scroll);
}

std::string THTMLViewer::CurrentDocument() const {
    return d->document;
}

std::string THTMLViewer::DocumentTitle() const {
    return d->title;
}

std::string THTMLViewer::ExpandLinkTarget(const std::string& link) const {
    std::string_view l = link;
    while (!l.empty() && static_cast<unsigned char>(l.front()) <= ' ')
        l.remove_prefix(1);
    if (!l.empty() && l.front() == '#')
        return ResolveLink(d->document, l);
    return ResolveLink(d->base, link);
}

// --- History

void THTMLViewer::SetHistoryMaxCount(int count) {
    m_historyMaxCount = std::max(0, count);
    d->history.SetMaxCount(m_historyMaxCount);
}

int THTMLViewer::HistoryPosition() const {
    return d->history.Position();
}

void THTMLViewer::SetHistoryPosition(int index) {
    if (index < 0 || index >= d->history.Count())
        return;
    d->RememberScroll();
    d->history.SetPosition(index);
    d->ShowEntry(d->history.Current());
    if (OnHistoryChange)
        OnHistoryChange(this);
}

TDynamicStringArray THTMLViewer::HistoryFiles() const {
    TDynamicStringArray files;
    for (const auto& e : d->history.Entries())
        files.push_back(e.file);
    return files;
}

TDynamicStringArray THTMLViewer::HistoryTitles() const {
    TDynamicStringArray titles;
    for (const auto& e : d->history.Entries())
        titles.push_back(e.title);
    return titles;
}

bool THTMLViewer::BackButtonEnabled() const {
    return d->history.CanGoBack();
}
bool THTMLViewer::FwdButtonEnabled() const {
    return d->history.CanGoForward();
}

void THTMLViewer::HistoryGoBack() {
    if (BackButtonEnabled())
        SetHistoryPosition(HistoryPosition() + 1);
}

void THTMLViewer::HistoryGoForward() {
    if (FwdButtonEnabled())
        SetHistoryPosition(HistoryPosition() - 1);
}

void THTMLViewer::ClearHistory() {
    d->history.Clear();
}

// --- Visited links

void THTMLViewer::SetVisitedMaxCount(int count) {
    m_visitedMaxCount = std::max(0, count);
    d->visited->SetMaxCount(m_visitedMaxCount);
}

void THTMLViewer::AddVisited(const std::string& fileName) {
    d->visited->Add(fileName);
}

const TDynamicStringArray& THTMLViewer::Visited() const {
    return d->visited->Names();
}

void THTMLViewer::RefreshVisitedMarks() {
    d->RefreshMarks();
}

// --- Position, search, selection

int THTMLViewer::ScrollPos() const {
    return d->browser->verticalScrollBar()->value();
}

int THTMLViewer::MaxScrollPos() const {
    // Large pages are laid out in steps while the viewer idles; asking for
    // the last block's place finishes the layout.
    QTextDocument* doc = d->browser->document();
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
    const int docHeight = qCeil(doc->documentLayout()->documentSize().height());
    const int computed = std::max(0, docHeight - d->browser->viewport()->height());
    return std::max(computed, d->browser->verticalScrollBar()->maximum());
}

void THTMLViewer::ScrollToY(int y) {
    QScrollBar* bar = d->browser->verticalScrollBar();
    if (y > bar->maximum()) {
        const int max = MaxScrollPos();
        if (bar->maximum() < max)
            bar->setRange(0, max);
    }
    bar->setValue(std::clamp(y, 0, bar->maximum()));
}

bool THTMLViewer::FindText(const QString& text, bool matchCase) {
    if (text.isEmpty())
        return false;
    QTextDocument* doc = d->browser->document();
    const QTextCursor from = d->browser->textCursor();
    const QTextCursor hit = doc->find(
        text, from, matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags());
    if (hit.isNull())
        return false;
    d->browser->setTextCursor(hit);
    d->browser->ensureCursorVisible();
    // Centre the hit.
    const QRect r = d->browser->cursorRect(hit);
    QScrollBar* bar = d->browser->verticalScrollBar();
    const int docY = r.center().y() + bar->value();
    ScrollToY(docY - d->browser->viewport()->height() / 2);
    return true;
}

bool THTMLViewer::FindText(const std::string& text, bool matchCase) {
    return FindText(FromAnsi(text), matchCase);
}

void THTMLViewer::SetCaret(int position) {
    QTextCursor c(d->browser->document());
    c.setPosition(std::clamp(position, 0, d->browser->document()->characterCount() - 1));
    d->browser->setTextCursor(c);
}

QString THTMLViewer::SelectedText() const {
    return d->browser->textCursor().selection().toPlainText();
}

void THTMLViewer::SelectAllText() {
    d->browser->selectAll();
}

void THTMLViewer::CopySelection() {
    const QString text = SelectedText();
    if (text.size() > kMaxCopyChars)
        throw EHtmlCopyError();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

// --- Objects

std::optional<THtmlPicture> THTMLViewer::ObjectAt(int x, int y) const {
    QWidget* vp = d->browser->viewport();
    const QPoint inViewport = vp->mapFrom(this, QPoint(x, y));
    if (!vp->rect().contains(inViewport))
        return std::nullopt;
    const QPoint offset(d->browser->horizontalScrollBar()->value(),
                        d->browser->verticalScrollBar()->value());
    const QPointF docPoint = QPointF(inViewport + offset);
    QTextDocument* doc = d->browser->document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const QTextFormat format = layout->formatAt(docPoint);
    if (!format.isImageFormat())
        return std::nullopt;
    const QTextImageFormat image = format.toImageFormat();
    const int res = TokenIndex(image.name().toStdString(), "res:");
    if (res < 0 || res >= static_cast<int>(d->page.Resources.size()))
        return std::nullopt;
    const THtmlResourceRef& ref = d->page.Resources[static_cast<std::size_t>(res)];
    THtmlPicture pic;
    pic.Id = res;
    pic.Source = ref.Source;
    pic.FileName = SplitAnchor(ResolveLink(d->base, ref.Source)).first;
    pic.Alt = QString::fromUtf8(ref.Alt.c_str());
    pic.HasAlt = ref.HasAlt;
    // Its rectangle: the picture character next to the hit position.
    const int hit = layout->hitTest(docPoint, Qt::FuzzyHit);
    for (int pos : {hit, hit - 1}) {
        if (pos < 0)
            continue;
        const QTextBlock block = doc->findBlock(pos);
        const QTextLayout* tl = block.layout();
        if (!block.isValid() || !tl)
            continue;
        QTextCursor c(doc);
        c.setPosition(pos);
        c.setPosition(pos + 1, QTextCursor::KeepAnchor);
        if (c.charFormat().toImageFormat().name() != image.name())
            continue;
        const int rel = pos - block.position();
        const QTextLine line = tl->lineForTextPosition(rel);
        if (!line.isValid())
            continue;
        const QRectF br = layout->blockBoundingRect(block);
        QSizeF size(image.width(), image.height());
        if (size.width() <= 0 || size.height() <= 0) {
            const auto it = d->images.find(Folded(pic.FileName));
            if (it != d->images.end())
                size = it->second.size();
        }
        const QPointF topLeft(br.left() + line.cursorToX(rel),
                              br.top() + line.y() + line.ascent() - size.height());
        const QRect docRect = QRectF(topLeft, size).toRect();
        pic.Bounds = QRect(vp->mapTo(this, docRect.topLeft() - offset), docRect.size());
        break;
    }
    return pic;
}

std::vector<THtmlFormControl> THTMLViewer::FormControls() const {
    std::vector<THtmlFormControl> list;
    for (std::size_t i = 0; i < d->controls.size() && i < d->page.Controls.size(); ++i) {
        if (d->controls[i])
            list.push_back({d->page.Controls[i].Name, d->controls[i].data()});
    }
    return list;
}

// --- Printing

QTextDocument* THTMLViewer::Document() const {
    return d->browser->document();
}

void THTMLViewer::Print(QPrinter& printer) {
    // A copy laid out for the printer's page; its pictures still come from
    // this viewer (the browser is its parent).
    std::unique_ptr<QTextDocument> copy(d->browser->document()->clone(d->browser));
    copy->documentLayout()->setPaintDevice(&printer);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    copy->setPageSize(page);
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    const int pages = copy->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        painter.save();
        const QRectF clip(0, i * page.height(), page.width(), page.height());
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = clip;
        ctx.palette.setColor(QPalette::Text, ToQColor(m_defFontColor));
        copy->documentLayout()->draw(&painter, ctx);
        painter.restore();
        if (OnPrintHeader)
            OnPrintHeader(this, painter, i + 1, qRound(page.width()));
    }
}

// --- Appearance

void THTMLViewer::SetDefFontName(const std::string& name) {
    m_defFontName = name;
}
void THTMLViewer::SetDefPreFontName(const std::string& name) {
    m_defPreFontName = name;
}

void THTMLViewer::SetDefFontColor(TColor color) {
    m_defFontColor = color;
    QPalette pal = d->browser->palette();
    pal.setColor(QPalette::Text, ToQColor(color));
    d->browser->setPalette(pal);
}

void THTMLViewer::SetDefFontSize(int points) {
    m_defFontSize = std::clamp(points, 1, 200);
}
void THTMLViewer::SetDefHotSpotColor(TColor color) {
    m_defHotSpotColor = color;
}
void THTMLViewer::SetDefVisitedLinkColor(TColor color) {
    m_defVisitedLinkColor = color;
}
void THTMLViewer::SetDefOverLinkColor(TColor color) {
    m_defOverLinkColor = color;
}

void THTMLViewer::SetDefBackground(TColor color) {
    m_defBackground = color;
    QPalette pal = d->browser->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    d->browser->setPalette(pal);
}

void THTMLViewer::SetHtOptions(unsigned options) {
    m_options = options;
    d->browser->setFrameShape((options & htNoBorder) ? QFrame::NoFrame : QFrame::StyledPanel);
}

void THTMLViewer::SetImageCacheCount(int count) {
    m_imageCacheCount = std::max(0, count);
}
void THTMLViewer::SetViewImages(bool view) {
    m_viewImages = view;
}

void THTMLViewer::SetNoSelect(bool noSelect) {
    m_noSelect = noSelect;
    Qt::TextInteractionFlags flags = Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
    if (!noSelect)
        flags |= Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    d->browser->setTextInteractionFlags(flags);
}

void THTMLViewer::SetVerticalScrollBar(Qt::ScrollBarPolicy policy) {
    d->browser->setVerticalScrollBarPolicy(policy);
}

void THTMLViewer::SetHorizontalScrollBar(Qt::ScrollBarPolicy policy) {
    d->browser->setHorizontalScrollBarPolicy(policy);
}

} // namespace carmanual
