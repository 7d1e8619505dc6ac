#include "frameviewer.h"

#include "htmlviewer_p.h"

#include "ansi.h"
#include "frameset.h"
#include "htmlcharset.h"
#include "htmlurl.h"

#include <QSplitter>
#include <QSplitterHandle>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <functional>

namespace carmanual {

namespace {

// Frame sets nest through their documents; a frame set that names itself
// must not nest forever.
constexpr int kMaxFrameDepth = 8;

// A frame set's splitter: its frames keep the sizes the frame set asks for
// until the reader drags a border.
class TFrameSplitter final : public QSplitter {
public:
    TFrameSplitter(Qt::Orientation orientation, std::vector<TFrameLength> lengths)
        : QSplitter(orientation), m_lengths(std::move(lengths)) {
        setChildrenCollapsible(false);
        connect(this, &QSplitter::splitterMoved, this, [this] { m_userSized = true; });
    }

    void ApplySizes() {
        if (m_userSized || count() == 0)
            return;
        const int length = orientation() == Qt::Vertical ? height() : width();
        const int total = std::max(0, length - handleWidth() * (count() - 1));
        std::vector<TFrameLength> lengths = m_lengths;
        lengths.resize(static_cast<std::size_t>(count()));
        const std::vector<int> sizes = FrameSizes(lengths, total);
        setSizes(QList<int>(sizes.begin(), sizes.end()));
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QSplitter::resizeEvent(event);
        ApplySizes();
    }

private:
    std::vector<TFrameLength> m_lengths;
    bool m_userSized = false;
};

std::string LowerAscii(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsPlainFileKind(const std::string& file) {
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string ext = LowerAscii(file.substr(dot));
    return ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".png" ||
           ext == ".txt" || ext == ".inf" || ext == ".diz";
}

} // namespace

// One frame: a document viewer, or a frame set of further frames.
struct FrameNode {
    std::string name;
    std::string src; // file#anchor shown; empty for a frame set written in place
    TFrameSpec spec;
    FrameNode* parent = nullptr;
    THTMLViewer* viewer = nullptr;
    TFrameSplitter* splitter = nullptr;
    std::string baseTarget; // of the frame set document shown here
    std::vector<std::unique_ptr<FrameNode>> children;

    QWidget* Widget() const {
        return viewer ? static_cast<QWidget*>(viewer) : static_cast<QWidget*>(splitter);
    }
};

struct FrameState {
    std::string src;
    int scroll = 0;
    std::vector<FrameState> children;
};

struct HistoryState {
    std::string file; // top document without anchor
    std::string title;
    FrameState root;
};

struct TFrameViewer::Private {
    TFrameViewer* q = nullptr;
    QVBoxLayout* layout = nullptr;
    std::unique_ptr<FrameNode> root = std::make_unique<FrameNode>();
    std::string title;
    THTMLViewer* active = nullptr;
    TViewerHistory<HistoryState> history;
    std::shared_ptr<TVisitedLinks> visited = std::make_shared<TVisitedLinks>();

    THTMLViewer* NewViewer(const TFrameSpec& spec);
    void Appearance(THTMLViewer* v) const;
    void SetWidget(FrameNode* node, QWidget* widget);
    void MakeLeaf(FrameNode* node);
    void BuildSet(FrameNode* node, const TFrameSetSpec& set, const std::string& setFile, int depth);
    void LoadInto(FrameNode* node, const std::string& name, int depth);
    FrameState Capture(const FrameNode* node) const;
    void Restore(FrameNode* node, const FrameState& state, int depth);
    void RememberScroll();
    void PushState();
    void AfterNavigation(FrameNode* shown);
    void RouteLink(THTMLViewer* from, const std::string& target, const std::string& url);
    FrameNode* Destination(FrameNode* from, const std::string& target);
    FrameNode* NodeOf(const THTMLViewer* viewer) const;
    FrameNode* FindByName(FrameNode* node, const std::string& name) const;
    int DepthOf(const FrameNode* node) const;
    THTMLViewer* FirstLeaf(const FrameNode* node) const;
    void ForEachLeaf(const FrameNode* node, const std::function<void(THTMLViewer*)>& fn) const;
    void ForEachLeaf(const std::function<void(THTMLViewer*)>& fn) const {
        ForEachLeaf(root.get(), fn);
    }
};

void TFrameViewer::Private::Appearance(THTMLViewer* v) const {
    v->SetDefFontName(q->m_defFontName);
    v->SetDefFontColor(q->m_defFontColor);
    v->SetDefFontSize(q->m_defFontSize);
    v->SetDefHotSpotColor(q->m_defHotSpotColor);
    v->SetDefVisitedLinkColor(q->m_defVisitedLinkColor);
    v->SetDefOverLinkColor(q->m_defOverLinkColor);
    v->SetDefBackground(q->m_defBackground);
    unsigned ht = 0;
    if (q->m_options & fvOverLinksActive)
        ht |= htOverLinksActive;
    if (q->m_options & fvNoLinkUnderline)
        ht |= htNoLinkUnderline;
    if (q->m_options & fvNoBorder)
        ht |= htNoBorder;
    v->SetHtOptions(ht);
    v->SetImageCacheCount(q->m_imageCacheCount);
    v->SetViewImages(q->m_viewImages);
    v->SetNoSelect(q->m_noSelect);
}

THTMLViewer* TFrameViewer::Private::NewViewer(const TFrameSpec& spec) {
    auto* v = new THTMLViewer(q);
    v->SetHistoryMaxCount(0);
    v->d->visited = visited;
    Appearance(v);
    const Qt::ScrollBarPolicy policy = spec.Scrolling == "no"    ? Qt::ScrollBarAlwaysOff
                                       : spec.Scrolling == "yes" ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAsNeeded;
    v->SetVerticalScrollBar(policy);
    v->SetHorizontalScrollBar(policy);
    if (spec.MarginWidth >= 0 || spec.MarginHeight >= 0)
        v->Document()->setDocumentMargin(std::max(spec.MarginWidth, spec.MarginHeight));

    v->OnHotSpotTargetClick = [this](QWidget* sender, const std::string& target,
                                     const std::string& url, bool& handled) {
        handled = true;
        RouteLink(static_cast<THTMLViewer*>(sender), target, url);
    };
    v->OnHotSpotTargetCovered = [this](QWidget*, const std::string& target,
                                       const std::string& url) {
        if (q->OnHotSpotTargetCovered)
            q->OnHotSpotTargetCovered(q, target, url);
    };
    v->OnKeyDown = [this](QWidget* sender, int key, Qt::KeyboardModifiers shift, bool& handled) {
        if (q->OnKeyDown)
            q->OnKeyDown(sender, key, shift, handled);
    };
    v->OnMouseMove = [this](QWidget* sender, Qt::KeyboardModifiers shift, int x, int y) {
        if (q->OnMouseMove)
            q->OnMouseMove(sender, shift, x, y);
    };
    v->OnMouseDown = [this](QWidget* sender, Qt::MouseButton b, Qt::KeyboardModifiers shift, int x,
                            int y) {
        if (q->OnMouseDown)
            q->OnMouseDown(sender, b, shift, x, y);
    };
    v->OnMouseUp = [this](QWidget* sender, Qt::MouseButton b, Qt::KeyboardModifiers shift, int x,
                          int y) {
        if (q->OnMouseUp)
            q->OnMouseUp(sender, b, shift, x, y);
    };
    v->OnPrintHeader = [this](QWidget* sender, QPainter& canvas, int page, int width) {
        if (q->OnPrintHeader)
            q->OnPrintHeader(sender, canvas, page, width);
    };
    v->d->onActivated = [this, v] { active = v; };
    return v;
}

// Puts the node's new widget where its old one was; the old one goes.
void TFrameViewer::Private::SetWidget(FrameNode* node, QWidget* widget) {
    QWidget* old = node->Widget();
    if (node->parent && node->parent->splitter) {
        QSplitter* sp = node->parent->splitter;
        const int index = old ? sp->indexOf(old) : -1;
        if (index >= 0)
            sp->replaceWidget(index, widget);
        else
            sp->addWidget(widget);
    } else if (old) {
        layout->replaceWidget(old, widget);
    } else {
        layout->addWidget(widget);
    }
    widget->show();
    if (old) {
        // The old widget may be the one whose click brought us here.
        old->hide();
        old->deleteLater();
    }
}

void TFrameViewer::Private::MakeLeaf(FrameNode* node) {
    if (node->viewer)
        return;
    THTMLViewer* v = NewViewer(node->spec);
    SetWidget(node, v);
    node->children.clear();
    node->splitter = nullptr;
    node->viewer = v;
    node->baseTarget.clear();
}

void TFrameViewer::Private::BuildSet(FrameNode* node, const TFrameSetSpec& set,
                                     const std::string& setFile, int depth) {
    auto* sp = new TFrameSplitter(set.Rows ? Qt::Vertical : Qt::Horizontal, set.Lengths);
    sp->setHandleWidth(set.Border >= 0 ? set.Border : (set.FrameBorder ? 4 : 0));
    SetWidget(node, sp);
    node->children.clear();
    node->viewer = nullptr;
    node->splitter = sp;
    for (const TFrameSpec& spec : set.Frames) {
        auto child = std::make_unique<FrameNode>();
        child->parent = node;
        child->name = spec.Name;
        child->spec = spec;
        FrameNode* c = child.get();
        node->children.push_back(std::move(child));
        MakeLeaf(c);
        if (spec.Nested && depth < kMaxFrameDepth) {
            BuildSet(c, *spec.Nested, setFile, depth + 1);
        } else if (!spec.Source.empty()) {
            try {
                LoadInto(c, ResolveLink(setFile, spec.Source), depth + 1);
            } catch (const EHtmlLoadError&) {
                // A frame whose document is missing stays empty.
            }
        }
    }
    for (int i = 1; i < sp->count() && i <= static_cast<int>(set.Frames.size()); ++i) {
        const bool fixed = set.Frames[static_cast<std::size_t>(i - 1)].NoResize ||
                           (i < static_cast<int>(set.Frames.size()) &&
                            set.Frames[static_cast<std::size_t>(i)].NoResize);
        sp->handle(i)->setEnabled(!fixed);
    }
    sp->ApplySizes();
}

void TFrameViewer::Private::LoadInto(FrameNode* node, const std::string& name, int depth) {
    const auto [file, anchor] = SplitAnchor(name);
    const std::string bytes = THTMLViewer::Private::ReadFile(file);
    if (depth < kMaxFrameDepth && !IsPlainFileKind(file)) {
        const THtmlCharsetInfo info = DetectCharset(bytes);
        if (auto frames =
                ParseFrameSet(std::string_view(bytes).substr(info.BomBytes), info.Charset)) {
            BuildSet(node, frames->Root, file, depth);
            node->src = name;
            node->baseTarget = frames->BaseTarget;
            if (node == root.get())
                title = frames->Title;
            return;
        }
    }
    MakeLeaf(node);
    node->viewer->d->Show(file, bytes, anchor);
    node->src = name;
    if (node == root.get())
        title = node->viewer->DocumentTitle();
}

FrameState TFrameViewer::Private::Capture(const FrameNode* node) const {
    FrameState s;
    s.src = node->src;
    if (node->viewer)
        s.scroll = node->viewer->ScrollPos();
    for (const auto& c : node->children)
        s.children.push_back(Capture(c.get()));
    return s;
}

void TFrameViewer::Private::Restore(FrameNode* node, const FrameState& state, int depth) {
    if (node->src != state.src && !state.src.empty()) {
        try {
            LoadInto(node, state.src, depth);
        } catch (const EHtmlLoadError&) {
        }
    }
    if (node->viewer) {
        node->viewer->ScrollToY(state.scroll);
        return;
    }
    const std::size_t n = std::min(node->children.size(), state.children.size());
    for (std::size_t i = 0; i < n; ++i)
        Restore(node->children[i].get(), state.children[i], depth + 1);
}

void TFrameViewer::Private::RememberScroll() {
    if (!history.Empty())
        history.Current().root = Capture(root.get());
}

void TFrameViewer::Private::PushState() {
    history.Push({SplitAnchor(root->src).first, title, Capture(root.get())});
}

void TFrameViewer::Private::AfterNavigation(FrameNode* shown) {
    THTMLViewer* leaf = FirstLeaf(shown);
    active = leaf ? leaf : FirstLeaf(root.get());
    ForEachLeaf([](THTMLViewer* v) { v->RefreshVisitedMarks(); });
    if (q->OnHistoryChange)
        q->OnHistoryChange(q);
}

FrameNode* TFrameViewer::Private::NodeOf(const THTMLViewer* viewer) const {
    std::function<FrameNode*(FrameNode*)> find = [&](FrameNode* n) -> FrameNode* {
        if (n->viewer == viewer)
            return n;
        for (const auto& c : n->children) {
            if (FrameNode* f = find(c.get()))
                return f;
        }
        return nullptr;
    };
    return find(root.get());
}

FrameNode* TFrameViewer::Private::FindByName(FrameNode* node, const std::string& name) const {
    if (node != root.get() && !node->name.empty() && AnsiSameText(node->name, name))
        return node;
    for (const auto& c : node->children) {
        if (FrameNode* f = FindByName(c.get(), name))
            return f;
    }
    return nullptr;
}

int TFrameViewer::Private::DepthOf(const FrameNode* node) const {
    int depth = 0;
    for (const FrameNode* p = node->parent; p; p = p->parent)
        ++depth;
    return depth;
}

THTMLViewer* TFrameViewer::Private::FirstLeaf(const FrameNode* node) const {
    if (!node)
        return nullptr;
    if (node->viewer)
        return node->viewer;
    for (const auto& c : node->children) {
        if (THTMLViewer* v = FirstLeaf(c.get()))
            return v;
    }
    return nullptr;
}

void TFrameViewer::Private::ForEachLeaf(const FrameNode* node,
                                        const std::function<void(THTMLViewer*)>& fn) const {
    if (node->viewer)
        fn(node->viewer);
    for (const auto& c : node->children)
        ForEachLeaf(c.get(), fn);
}

FrameNode* TFrameViewer::Private::Destination(FrameNode* from, const std::string& target) {
    std::string t = LowerAscii(target);
    if (t.empty())
        t = "_self";
    if (t == "_self")
        return from;
    if (t == "_parent") {
        // The document that holds the frame: frame sets written in place
        // belong to the document around them.
        FrameNode* p = from->parent;
        while (p && p->src.empty() && p->parent)
            p = p->parent;
        return p ? p : root.get();
    }
    if (t == "_top" || t == "_blank")
        return root.get();
    if (FrameNode* named = FindByName(root.get(), target))
        return named;
    return root.get();
}

void TFrameViewer::Private::RouteLink(THTMLViewer* fromViewer, const std::string& target,
                                      const std::string& url) {
    FrameNode* from = NodeOf(fromViewer);
    if (!from)
        return;
    active = fromViewer;
    bool handled = false;
    if (q->OnHotSpotTargetClick)
        q->OnHotSpotTargetClick(q, target, url, handled);
    if (handled || HasUrlProtocol(url))
        return;
    const std::string expanded = fromViewer->ExpandLinkTarget(url);
    visited->Add(expanded);
    FrameNode* dest = Destination(from, target);
    const auto [file, anchor] = SplitAnchor(expanded);
    RememberScroll();
    if (dest->viewer && !anchor.empty() && AnsiSameText(SplitAnchor(dest->src).first, file)) {
        dest->viewer->d->ScrollToAnchor(anchor);
        dest->src = expanded;
    } else {
        try {
            LoadInto(dest, expanded, DepthOf(dest));
        } catch (const EHtmlLoadError&) {
            ForEachLeaf([](THTMLViewer* v) { v->RefreshVisitedMarks(); });
            return;
        }
    }
    PushState();
    AfterNavigation(dest);
}

// ---------------------------------------------------------------------------

TFrameViewer::TFrameViewer(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>()) {
    d->q = this;
    d->layout = new QVBoxLayout(this);
    d->layout->setContentsMargins(0, 0, 0, 0);
    d->visited->SetMaxCount(m_visitedMaxCount);
    d->MakeLeaf(d->root.get());
    d->active = d->root->viewer;
}

TFrameViewer::~TFrameViewer() = default;

void TFrameViewer::LoadDocument(const std::string& name) {
    const std::string resolved = ResolveLink({}, name);
    if (SplitAnchor(name).first.empty() && d->root->viewer && !d->root->src.empty()) {
        // "#anchor" alone: a place in the shown page.
        d->RememberScroll();
        d->root->viewer->d->ScrollToAnchor(SplitAnchor(name).second);
        d->root->src = SplitAnchor(d->root->src).first + name;
        d->PushState();
        d->AfterNavigation(d->root.get());
        return;
    }
    d->RememberScroll();
    d->LoadInto(d->root.get(), resolved, 0);
    d->PushState();
    d->AfterNavigation(d->root.get());
}

void TFrameViewer::ReloadDocument() {
    if (d->root->src.empty())
        return;
    const FrameState state = d->Capture(d->root.get());
    d->LoadInto(d->root.get(), d->root->src, 0);
    d->Restore(d->root.get(), state, 0);
    if (!d->active || !d->NodeOf(d->active))
        d->active = d->FirstLeaf(d->root.get());
}

std::string TFrameViewer::CurrentDocument() const {
    return SplitAnchor(d->root->src).first;
}

std::string TFrameViewer::DocumentTitle() const {
    return d->title;
}

std::string TFrameViewer::ExpandLinkTarget(const std::string& link) const {
    return ActiveDocument()->ExpandLinkTarget(link);
}

THTMLViewer* TFrameViewer::ActiveDocument() const {
    if (d->active && d->NodeOf(d->active))
        return d->active;
    d->active = d->FirstLeaf(d->root.get());
    return d->active;
}

THTMLViewer* TFrameViewer::FrameDocument(const std::string& frameName) const {
    if (frameName.empty())
        return nullptr;
    const FrameNode* node = d->FindByName(d->root.get(), frameName);
    return node ? node->viewer : nullptr;
}

TDynamicStringArray TFrameViewer::FrameNames() const {
    TDynamicStringArray names;
    std::function<void(const FrameNode*)> walk = [&](const FrameNode* n) {
        if (n != d->root.get() && !n->spec.Nested)
            names.push_back(n->name);
        for (const auto& c : n->children)
            walk(c.get());
    };
    walk(d->root.get());
    return names;
}

bool TFrameViewer::HasFrames() const {
    return d->root->splitter != nullptr;
}

// --- History

void TFrameViewer::SetHistoryMaxCount(int count) {
    m_historyMaxCount = std::max(0, count);
    d->history.SetMaxCount(m_historyMaxCount);
}

int TFrameViewer::HistoryPosition() const {
    return d->history.Position();
}

void TFrameViewer::SetHistoryPosition(int index) {
    if (index < 0 || index >= d->history.Count())
        return;
    d->RememberScroll();
    d->history.SetPosition(index);
    const HistoryState state = d->history.Current();
    d->Restore(d->root.get(), state.root, 0);
    d->title = state.title;
    d->AfterNavigation(d->root.get());
}

TDynamicStringArray TFrameViewer::HistoryFiles() const {
    TDynamicStringArray files;
    for (const HistoryState& s : d->history.Entries())
        files.push_back(s.file);
    return files;
}

TDynamicStringArray TFrameViewer::HistoryTitles() const {
    TDynamicStringArray titles;
    for (const HistoryState& s : d->history.Entries())
        titles.push_back(s.title);
    return titles;
}

bool TFrameViewer::BackButtonEnabled() const {
    return d->history.CanGoBack();
}
bool TFrameViewer::FwdButtonEnabled() const {
    return d->history.CanGoForward();
}

void TFrameViewer::HistoryGoBack() {
    if (BackButtonEnabled())
        SetHistoryPosition(HistoryPosition() + 1);
}

void TFrameViewer::HistoryGoForward() {
    if (FwdButtonEnabled())
        SetHistoryPosition(HistoryPosition() - 1);
}

void TFrameViewer::ClearHistory() {
    d->history.Clear();
}

// --- Visited links

void TFrameViewer::SetVisitedMaxCount(int count) {
    m_visitedMaxCount = std::max(0, count);
    d->visited->SetMaxCount(m_visitedMaxCount);
}

void TFrameViewer::AddVisited(const std::string& fileName) {
    d->visited->Add(fileName);
}

const TDynamicStringArray& TFrameViewer::Visited() const {
    return d->visited->Names();
}

void TFrameViewer::RefreshVisitedMarks() {
    d->ForEachLeaf([](THTMLViewer* v) { v->RefreshVisitedMarks(); });
}

// --- Selection and forms

QString TFrameViewer::SelectedText() const {
    return ActiveDocument()->SelectedText();
}
void TFrameViewer::SelectAllText() {
    ActiveDocument()->SelectAllText();
}
void TFrameViewer::CopySelection() {
    ActiveDocument()->CopySelection();
}

std::vector<THtmlFormControl> TFrameViewer::FormControls() const {
    std::vector<THtmlFormControl> all;
    d->ForEachLeaf([&](THTMLViewer* v) {
        const auto list = v->FormControls();
        all.insert(all.end(), list.begin(), list.end());
    });
    return all;
}

// --- Appearance

#define CARMANUAL_FRAME_SETTER(Setter, member, Type)                                               \
    void TFrameViewer::Setter(Type value) {                                                        \
        member = value;                                                                            \
        d->ForEachLeaf([this](THTMLViewer* v) { d->Appearance(v); });                              \
    }

CARMANUAL_FRAME_SETTER(SetDefFontName, m_defFontName, const std::string&)
CARMANUAL_FRAME_SETTER(SetDefFontColor, m_defFontColor, TColor)
CARMANUAL_FRAME_SETTER(SetDefFontSize, m_defFontSize, int)
CARMANUAL_FRAME_SETTER(SetDefHotSpotColor, m_defHotSpotColor, TColor)
CARMANUAL_FRAME_SETTER(SetDefVisitedLinkColor, m_defVisitedLinkColor, TColor)
CARMANUAL_FRAME_SETTER(SetDefOverLinkColor, m_defOverLinkColor, TColor)
CARMANUAL_FRAME_SETTER(SetDefBackground, m_defBackground, TColor)
CARMANUAL_FRAME_SETTER(SetFvOptions, m_options, unsigned)
CARMANUAL_FRAME_SETTER(SetImageCacheCount, m_imageCacheCount, int)
CARMANUAL_FRAME_SETTER(SetViewImages, m_viewImages, bool)
CARMANUAL_FRAME_SETTER(SetNoSelect, m_noSelect, bool)

#undef CARMANUAL_FRAME_SETTER

void TFrameViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
}

} // namespace carmanual
