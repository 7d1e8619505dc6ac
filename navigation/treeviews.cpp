#include "treeviews.h"

#include "contentsmodel.h"
#include "pagenames.h"
#include "qtansi.h"
#include "syntax.h"
#include "treelist.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <algorithm>

namespace carmanual {
namespace {

QColor FromTColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// A text colour equal to its background would hide the selected caption:
// then black or white, whichever reads better on it.
QColor ReadableOn(const QColor& background, const QColor& text) {
    if (text != background)
        return text;
    return qGray(background.rgb()) > 128 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

TTreeViews::TTreeViews(QWidget* parent, const RTree& element, std::string programDir,
                       int currentScreen)
    : TTreeViews(parent, element, TContentsTree::Load(element.File, std::move(programDir)),
                 currentScreen) {}

TTreeViews::TTreeViews(QWidget* parent, const RTree& element, TContentsTree tree, int currentScreen)
    : QWidget(parent) {
    hide();
    m_model = new TContentsModel(std::move(tree), this);
    m_list = new TTreeList(this);
    m_list->setModel(m_model);
    const QColor select = FromTColor(element.ColorSelect);
    m_list->SetSelectionColors(select, ReadableOn(select, FromTColor(element.ColorSelectText)));

    // The vertical scroll bar stands on the tree's left, so the tree's and
    // the page's scroll bars do not meet at the splitter. The list keeps its
    // own bar (hidden) for its scrolling; this one follows it.
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->hide();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_scrollBar);
    layout->addWidget(m_list, 1);
    setFocusProxy(m_list);
    QScrollBar* inner = m_list->verticalScrollBar();
    connect(m_list, &TTreeList::GeometryUpdated, this, &TTreeViews::SyncScrollBar);
    connect(inner, &QScrollBar::rangeChanged, this, &TTreeViews::SyncScrollBar);
    connect(inner, &QScrollBar::valueChanged, m_scrollBar, &QScrollBar::setValue);
    connect(m_scrollBar, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TTreeViews::OnSelectionChanged);
    // Enter on the selected item, or a click on it, opens its page again
    // when another page is shown (or jumps to its anchor again).
    connect(m_list, &TTreeList::SelectedActivated, this, &TTreeViews::OpenSelected);
    connect(m_list, &TTreeList::Pressed, this, &TTreeViews::Pressed);
    connect(m_list, &TTreeList::Hovered, this, &TTreeViews::MouseMoved);

    // The element's right and bottom edges are window coordinates; the tree
    // starts at the background panel's top left.
    m_initialSize = QSize(std::max(kMinimumWidth, element.Right - kPanelLeft),
                          std::max(0, element.Bottom - kPanelTop));
    setMinimumWidth(kMinimumWidth);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    setGeometry(QRect(QPoint(0, 0), m_initialSize));

    m_flags.Exists = true;
    ShowForScreen(currentScreen);
    m_flags.TreeHidden = false;
    m_flags.ScreenHidden = false;
}

TTreeViews::~TTreeViews() = default;

const TContentsTree& TTreeViews::Tree() const {
    return m_model->Tree();
}

QColor TTreeViews::ColorSelect() const {
    return m_list->SelectColor();
}

QColor TTreeViews::ColorSelectText() const {
    return m_list->SelectTextColor();
}

QSize TTreeViews::sizeHint() const {
    return m_initialSize;
}

void TTreeViews::SetPendingPage(std::string page) {
    m_model->SetPendingPage(std::move(page));
}

const std::string& TTreeViews::PendingPage() const {
    return Tree().PendingPage();
}

std::int32_t TTreeViews::SelectedItem() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : TContentsModel::ItemOf(selected.first());
}

std::int32_t TTreeViews::FocusedItem() const {
    return TContentsModel::ItemOf(m_list->currentIndex());
}

std::string TTreeViews::CurrentDocument() const {
    return m_currentDocument ? m_currentDocument() : m_lastDocument;
}

void TTreeViews::HandOver(const std::string& page) {
    m_lastDocument = page;
    if (m_openPage)
        m_openPage(page);
}

void TTreeViews::ApplyVisibility() {
    setVisible(m_flags.Visible);
}

void TTreeViews::SyncScrollBar() {
    const QScrollBar* inner = m_list->verticalScrollBar();
    m_scrollBar->setRange(inner->minimum(), inner->maximum());
    m_scrollBar->setPageStep(inner->pageStep());
    m_scrollBar->setSingleStep(inner->singleStep());
    m_scrollBar->setValue(inner->value());
    m_scrollBar->setVisible(inner->maximum() > inner->minimum());
}

void TTreeViews::SelectItem(std::int32_t item, bool open) {
    const QModelIndex index = m_model->IndexOf(item);
    if (!index.isValid())
        return;
    m_selecting = true;
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_selecting = false;
    m_selectedFile = Tree().Item(item).File;
    m_list->scrollTo(index);
    if (open)
        OpenSelected();
    emit ChapterHintsChanged();
}

void TTreeViews::OnSelectionChanged() {
    if (m_selecting)
        return;
    // The reader's selection (mouse or keys): open the item's page.
    const std::int32_t item = SelectedItem();
    if (item < 0)
        return;
    m_selectedFile = Tree().Item(item).File;
    OpenSelected();
    emit ChapterHintsChanged();
}

void TTreeViews::OpenSelected() {
    const std::int32_t item = SelectedItem();
    if (item < 0)
        return;
    const std::string page = Tree().PageToOpen(item, CurrentDocument());
    if (!page.empty()) {
        m_selectedFile = page;
        HandOver(page);
    }
    m_list->scrollTo(m_model->IndexOf(item));
}

void TTreeViews::ShowForScreen(int screen) {
    ApplyScreen(m_flags, screen);
    ApplyVisibility();
    if (!m_flags.Visible)
        return;
    const TPendingPageTarget target = Tree().PendingPageTarget();
    if (target.Item < 0)
        return;
    SelectItem(target.Item, false);
    // An anchor is a place to go to even on the page shown.
    const bool anchored = StripAnchor(target.Page).size() != target.Page.size();
    if (anchored || !SamePage(target.Page, CurrentDocument())) {
        m_selectedFile = target.Page;
        HandOver(target.Page);
    }
}

bool TTreeViews::FindCaption(const QString& text) {
    const std::int32_t found = Tree().FindCaption(ToAnsi(text), FocusedItem());
    if (found < 0)
        return false;
    SelectItem(found, true);
    return true;
}

bool TTreeViews::SetTreeHidden(bool hidden) {
    const bool shown = carmanual::SetTreeHidden(m_flags, hidden);
    ApplyVisibility();
    return shown;
}

void TTreeViews::SyncWithPage(const std::string& document) {
    if (Trim(document).empty())
        return;
    m_lastDocument = document;
    const std::int32_t selected = SelectedItem();
    // Several items may name one page; the one the reader chose stays.
    const bool selectedShowsIt = selected >= 0 && SamePage(Tree().ResolvedFile(selected), document);
    if (!selectedShowsIt) {
        const std::int32_t item = Tree().FindPage(document);
        if (item >= 0)
            SelectItem(item, false);
    }
    emit ChapterHintsChanged();
}

bool TTreeViews::NextChapter() {
    const std::int32_t selected = SelectedItem();
    const std::int32_t next = Tree().NextChapter(selected);
    if (next < 0)
        return false;
    SelectItem(next, true);
    return next != selected;
}

bool TTreeViews::PrevChapter() {
    const std::int32_t selected = SelectedItem();
    const std::int32_t prev = Tree().PrevChapter(selected);
    if (prev < 0)
        return false;
    SelectItem(prev, true);
    return prev != selected;
}

QString TTreeViews::NextChapterHint() const {
    return FromAnsi(Tree().ChapterHints(SelectedItem()).Next);
}

QString TTreeViews::PrevChapterHint() const {
    return FromAnsi(Tree().ChapterHints(SelectedItem()).Prev);
}

TTreeViews* TTreeViews::Choose(TTreeViews* main, TTreeViews* alternate) {
    const auto presence = [](const TTreeViews* tree) {
        return TTreePresence{tree != nullptr, tree && tree->IsShown()};
    };
    switch (ChooseTree(presence(main), presence(alternate))) {
    case TTreeKind::Main:
        return main;
    case TTreeKind::Alternate:
        return alternate;
    case TTreeKind::None:
        break;
    }
    return nullptr;
}

bool TTreeViews::MakeCurrent(TTreeViews* current, TTreeViews* other) {
    if (current == other)
        other = nullptr;
    TTreeFlags absentCurrent;
    TTreeFlags absentOther;
    TTreeFlags& currentFlags = current ? current->m_flags : absentCurrent;
    TTreeFlags& otherFlags = other ? other->m_flags : absentOther;
    const bool shown = carmanual::MakeCurrent(currentFlags, otherFlags);
    // The other tree goes first, so the splitter never holds both.
    if (other)
        other->ApplyVisibility();
    if (current)
        current->ApplyVisibility();
    return shown;
}

} // namespace carmanual
