#include "contentstree.h"

#include "ansi.h"
#include "archive.h"
#include "pagenames.h"
#include "syntax.h"

#include <algorithm>
#include <stdexcept>

namespace carmanual {

TContentsTree::TContentsTree(std::string programDir)
    : m_programDir(std::move(programDir)), m_dirKey(PageKey(JoinRelativePath(m_programDir, ""))) {}

TContentsTree TContentsTree::Load(std::string_view file, std::string programDir) {
    const std::string name = ResolvePagePath(file, programDir);
    TContentsTree tree(std::move(programDir));
    if (name.empty() || !ArchiveFileExists(name))
        return tree;
    try {
        TComprStream stream(name);
        return Parse(stream, tree.m_programDir);
    } catch (const std::exception&) {
        // A damaged archive member reads as a missing file: an empty tree.
        return tree;
    }
}

TContentsTree TContentsTree::Parse(TComprStream& stream, std::string programDir) {
    return Parse(std::string_view(stream.Bytes()).substr(stream.Position()), std::move(programDir));
}

TContentsTree TContentsTree::Parse(std::string_view text, std::string programDir) {
    TContentsTree tree(std::move(programDir));
    const auto breaks = std::max(std::count(text.begin(), text.end(), '\n'),
                                 std::count(text.begin(), text.end(), '\r'));
    const std::size_t lines = static_cast<std::size_t>(breaks) + 1;
    tree.m_items.reserve(lines);
    tree.m_nextChapter.reserve(lines);
    tree.m_prevChapter.reserve(lines);
    tree.m_byPage.Reserve(lines);
    // Tree files come from Windows editors (CR LF) and from elsewhere (LF);
    // both end a line, so a file saved either way gives the same items.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        tree.AddLine(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return tree;
}

bool TContentsTree::AddLine(std::string_view line) {
    if (line.empty())
        return false;
    // A line without ';' is all file: an item without a caption.
    const std::size_t semicolon = line.find(';');
    // As StringAt reads them: up to ';' (or a NUL byte), trimmed.
    const auto field = [line](std::size_t from) {
        std::size_t end = from;
        while (end < line.size() && line[end] != ';' && line[end] != '\0')
            ++end;
        std::size_t begin = from;
        while (begin < end && static_cast<unsigned char>(line[begin]) <= 0x20)
            ++begin;
        while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 0x20)
            --end;
        return line.substr(begin, end - begin);
    };
    const std::string_view file = field(0);
    const std::string_view caption =
        semicolon == std::string_view::npos ? std::string_view() : field(semicolon + 1);
    // A line of blanks shows nothing and opens nothing: not an item.
    if (file.empty() && caption.empty()) {
        ++m_skipped;
        return false;
    }
    const std::size_t depth = line.find_first_not_of('\t') == std::string_view::npos
                                  ? line.size()
                                  : line.find_first_not_of('\t');

    // Deeper than the previous item: its child (however many TABs more);
    // shallower: a sibling of the previous item's ancestor at that depth;
    // equal: its sibling. m_path holds the previous item's ancestors.
    std::int32_t level = 0;
    if (!m_items.empty() && depth > 0) {
        const std::size_t deepest = static_cast<std::size_t>(m_items.back().Level) + 1;
        level = static_cast<std::int32_t>(std::min(depth, deepest));
    }
    const std::int32_t index = Count();
    RTreeItem item;
    item.Caption = caption;
    item.File = file;
    item.Level = level;
    item.Parent = level == 0 ? -1 : m_path[static_cast<std::size_t>(level - 1)];
    std::vector<std::int32_t>& siblings =
        item.Parent < 0 ? m_topLevel : m_items[static_cast<std::size_t>(item.Parent)].Children;
    item.Row = static_cast<std::int32_t>(siblings.size());
    siblings.push_back(index);
    m_path.resize(static_cast<std::size_t>(level));
    m_path.push_back(index);
    m_items.push_back(std::move(item));
    IndexItem(index);
    LinkChapter(index);
    return true;
}

const RTreeItem& TContentsTree::Item(std::int32_t index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("tree item index");
    return m_items[static_cast<std::size_t>(index)];
}

void TContentsTree::ItemKey(std::string_view file) {
    // Most items name a page below the program folder without "..": their
    // key is the folder's key and the folded name, built without the
    // allocations of the general rule.
    const std::string_view page = StripAnchor(file);
    const bool simple = !IsAbsolutePage(page) && !page.empty() && page[0] != '\\' &&
                        page[0] != '/' && file.find("..") == std::string_view::npos;
    if (!simple) {
        m_scratch = PageKey(ResolvePagePath(file, m_programDir));
        return;
    }
    std::size_t end = page.size();
    while (end > 0 && static_cast<unsigned char>(page[end - 1]) <= 0x20)
        --end;
    m_scratch.assign(m_dirKey);
    m_scratch.append(page.data(), end);
    FoldPathFrom(m_scratch, m_dirKey.size());
}

void TContentsTree::IndexItem(std::int32_t index) {
    const std::string& file = m_items[static_cast<std::size_t>(index)].File;
    if (file.empty())
        return;
    ItemKey(file);
    m_byPage.Add(m_scratch, index);
    const std::string_view name = StripAnchor(file);
    if (!HasFolderPart(name)) {
        // FileNameKey without its allocation: the name is the whole page.
        std::size_t end = name.size();
        while (end > 0 && static_cast<unsigned char>(name[end - 1]) <= 0x20)
            --end;
        m_scratch.assign(name.data(), end);
        FoldPathFrom(m_scratch, 0);
        m_byFileName.Add(m_scratch, index);
    }
}

std::string TContentsTree::ResolvedFile(std::int32_t index) const {
    if (index < 0 || index >= Count())
        return {};
    return ResolvePagePath(m_items[static_cast<std::size_t>(index)].File, m_programDir);
}

std::int32_t TContentsTree::FindPage(std::string_view document) const {
    const std::string key = PageKey(ResolvePagePath(document, m_programDir));
    if (key.empty())
        return -1;
    const std::int32_t item = m_byPage.Find(key);
    return item >= 0 ? item : m_byFileName.Find(FileNameKey(key));
}

std::string TContentsTree::PageToOpen(std::int32_t index, std::string_view currentDocument) const {
    if (index < 0 || index >= Count() || Item(index).File.empty())
        return {};
    std::string page = ResolvedFile(index);
    // An item that names an anchor jumps to it even on the page shown.
    const bool anchored = StripAnchor(page).size() != page.size();
    if (!anchored && SamePage(page, currentDocument))
        return {};
    return page;
}

std::int32_t TContentsTree::FindCaption(std::string_view text, std::int32_t focused) const {
    const std::int32_t n = Count();
    if (text.empty() || n == 0)
        return -1;
    const std::string wanted = FoldCaption(text);
    const std::int32_t start = focused >= 0 && focused < n ? focused + 1 : 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t index = (start + i) % n;
        if (CaptionContains(m_items[static_cast<std::size_t>(index)].Caption, wanted))
            return index;
    }
    return -1;
}

void TContentsTree::LinkChapter(std::int32_t index) {
    // prev: the last earlier item with a page other than this one's. With w
    // the last earlier item that has a page at all, that is w itself when its
    // page differs and otherwise w's own prev (w has this item's page).
    const RTreeItem& item = m_items[static_cast<std::size_t>(index)];
    std::int32_t prev = -1;
    if (m_lastWithPage >= 0) {
        const std::size_t w = static_cast<std::size_t>(m_lastWithPage);
        prev = m_items[w].File != item.File ? m_lastWithPage : m_prevChapter[w];
    }
    m_prevChapter.push_back(prev);
    m_nextChapter.push_back(-1);

    // next is settled for the items still waiting when an item with another
    // page comes; the waiting items always share one page (or have none), so
    // each item is settled once.
    if (item.File.empty()) {
        m_waitingWithout.push_back(index);
        return;
    }
    for (const std::int32_t waiting : m_waitingWithout)
        m_nextChapter[static_cast<std::size_t>(waiting)] = index;
    m_waitingWithout.clear();
    if (m_lastWithPage >= 0 &&
        m_items[static_cast<std::size_t>(m_lastWithPage)].File != item.File) {
        for (const std::int32_t waiting : m_waitingWithPage)
            m_nextChapter[static_cast<std::size_t>(waiting)] = index;
        m_waitingWithPage.clear();
    }
    m_waitingWithPage.push_back(index);
    m_lastWithPage = index;
}

std::int32_t TContentsTree::NextChapterOf(std::int32_t item) const {
    if (item < 0 || item >= Count())
        return -1;
    return m_nextChapter[static_cast<std::size_t>(item)];
}

std::int32_t TContentsTree::PrevChapterOf(std::int32_t item) const {
    if (item < 0 || item >= Count())
        return -1;
    return m_prevChapter[static_cast<std::size_t>(item)];
}

std::int32_t TContentsTree::NextChapter(std::int32_t selected) const {
    if (Empty())
        return -1;
    if (selected < 0 || selected >= Count())
        return 0;
    const std::int32_t next = NextChapterOf(selected);
    return next >= 0 ? next : selected;
}

std::int32_t TContentsTree::PrevChapter(std::int32_t selected) const {
    if (Empty())
        return -1;
    if (selected < 0 || selected >= Count())
        return 0;
    const std::int32_t prev = PrevChapterOf(selected);
    return prev >= 0 ? prev : selected;
}

std::string TContentsTree::CaptionWithParent(std::int32_t index) const {
    const RTreeItem& item = Item(index);
    if (item.Parent < 0)
        return item.Caption;
    return Item(item.Parent).Caption + " : " + item.Caption;
}

TChapterHints TContentsTree::ChapterHints(std::int32_t selected) const {
    std::int32_t reference = selected;
    if (reference < 0 || reference >= Count())
        reference = Empty() ? -1 : 0;
    const std::int32_t next = NextChapterOf(reference);
    const std::int32_t prev = PrevChapterOf(reference);
    TChapterHints hints;
    hints.Next = next >= 0 ? CaptionWithParent(next) : LastChapterHint();
    hints.Prev = prev >= 0 ? CaptionWithParent(prev) : FirstChapterHint();
    return hints;
}

TPendingPageTarget TContentsTree::PendingPageTarget() const {
    TPendingPageTarget target;
    if (Trim(m_pendingPage).empty())
        return target;
    target.Item = FindPage(m_pendingPage);
    if (target.Item < 0)
        return target;
    const bool anchored = m_pendingPage.find('#') != std::string::npos;
    target.Page =
        anchored ? ResolvePagePath(m_pendingPage, m_programDir) : ResolvedFile(target.Item);
    return target;
}

const std::string& TContentsTree::LastChapterHint() {
    static const std::string text = Utf8ToAnsi("Последний раздел");
    return text;
}

const std::string& TContentsTree::FirstChapterHint() {
    static const std::string text = Utf8ToAnsi("Первый раздел");
    return text;
}

} // namespace carmanual
