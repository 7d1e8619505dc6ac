#pragma once
// The items of one contents tree, read from its tree file, and every lookup
// the tree's window makes on them: the item of a page, captions, chapter
// steps and their tool tips, the page asked for by a screen command.
//
// Tree file: Windows-1251 text, one item per line. The number of TABs that
// begin a line is its depth; the text up to the first ';' (trimmed) is the
// item's page, relative to the program folder or absolute; the text after it
// up to the next ';' (trimmed) is the caption; a line without ';' is all
// page, an item without a caption. A line of blanks, with neither page nor
// caption, is not an item and is skipped. Lines end at CR, LF or CR LF.
//
// Items are kept in file order, which is also the tree's depth-first order.
// Every lookup that runs on each navigation (the item of a page, the
// neighbouring chapters) is answered from tables built once at load, in
// constant time; only the caption search walks the items.

#include "comprstream.h"
#include "pageindex.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

struct RTreeItem {
    std::string Caption;                // Windows-1251
    std::string File;                   // as written in the tree file, trimmed
    std::int32_t Parent = -1;           // index of the parent item; -1 at top level
    std::int32_t Level = 0;             // 0 at top level
    std::int32_t Row = 0;               // position among its parent's children (or the top level)
    std::vector<std::int32_t> Children; // indexes, in file order
};

// The texts of the "nextchapter" and "prevchapter" buttons' tool tips.
struct TChapterHints {
    std::string Next; // "parent : caption", "caption", or "Последний раздел"
    std::string Prev; // likewise, or "Первый раздел"
};

// What showing the tree on the document screen does about the pending page.
struct TPendingPageTarget {
    std::int32_t Item = -1; // item to focus and select; -1: nothing to do
    std::string Page;       // page to open: the item's, or the pending page with its anchor
};

class TContentsTree final {
public:
    TContentsTree() : TContentsTree(std::string()) {}
    // programDir (with trailing backslash) is where page names without a
    // drive are taken from.
    explicit TContentsTree(std::string programDir);

    // Reads the tree file programDir + file from the archive or the disk. A
    // missing or unreadable file gives an empty tree.
    static TContentsTree Load(std::string_view file, std::string programDir);
    // Reads the items from the text of a tree file.
    static TContentsTree Parse(std::string_view text, std::string programDir);
    static TContentsTree Parse(TComprStream& stream, std::string programDir);

    // Adds the item of one line after the items read so far; false when the
    // line is not an item.
    bool AddLine(std::string_view line);
    // Lines of the file that were not items.
    std::size_t SkippedLines() const { return m_skipped; }

    std::int32_t Count() const { return static_cast<std::int32_t>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    // Throws std::out_of_range for an index outside the tree.
    const RTreeItem& Item(std::int32_t index) const;
    const std::vector<RTreeItem>& Items() const { return m_items; }
    const std::vector<std::int32_t>& TopLevel() const { return m_topLevel; }
    const std::string& ProgramDirectory() const { return m_programDir; }

    // The item's page as a full name; empty for an item without a page (or
    // an index outside the tree).
    std::string ResolvedFile(std::int32_t index) const;

    // The first item, in tree order, of the page (anchor and letter case
    // ignored). An item written with a folder must name the page's full
    // path; an item written as a bare file name also stands for that name in
    // any folder, as tree files of older manuals rely on. -1 when none.
    // Constant time on average.
    std::int32_t FindPage(std::string_view document) const;

    // The page that selecting the item opens: nothing (empty) for an item
    // without a page or for the page already shown.
    std::string PageToOpen(std::int32_t index, std::string_view currentDocument) const;

    // Caption search: from the item after focused (the first item when
    // focused is -1) to the last, then from the first on, the first item
    // whose caption contains the text, letter case ignored. -1 for none or
    // an empty text.
    std::int32_t FindCaption(std::string_view text, std::int32_t focused) const;

    // The chapter after (before) the selected item: the nearest item, in tree
    // order, whose page is written differently from the selected item's
    // (compared as written, letter case included). Items without a page and
    // runs of items of the same page are passed over. With nothing
    // selected (-1) the first item; at the last (first) chapter the selected
    // item itself, so the selection stays. -1 only for an empty tree.
    std::int32_t NextChapter(std::int32_t selected) const;
    std::int32_t PrevChapter(std::int32_t selected) const;
    // The same without the fallbacks: -1 when there is no such chapter.
    std::int32_t NextChapterOf(std::int32_t item) const;
    std::int32_t PrevChapterOf(std::int32_t item) const;

    // Tool tips of the chapter buttons while the item is selected; with
    // nothing selected they describe the neighbours of the first item.
    TChapterHints ChapterHints(std::int32_t selected) const;

    // The document named by the last screen command that named one. It stays
    // set: every later showing of the tree on the document screen opens it
    // again.
    void SetPendingPage(std::string page) { m_pendingPage = std::move(page); }
    const std::string& PendingPage() const { return m_pendingPage; }
    // The item of the pending page and the page to open; Item -1 when there
    // is no pending page or no item for it.
    TPendingPageTarget PendingPageTarget() const;

    // "Последний раздел", "Первый раздел" in Windows-1251.
    static const std::string& LastChapterHint();
    static const std::string& FirstChapterHint();

private:
    std::string CaptionWithParent(std::int32_t index) const;
    void IndexItem(std::int32_t index);
    // The page key of an item's file into m_scratch.
    void ItemKey(std::string_view file);
    void LinkChapter(std::int32_t index);

    std::string m_programDir;
    std::vector<RTreeItem> m_items;
    std::vector<std::int32_t> m_topLevel;
    // The last item's ancestors by level, so a line finds its parent at once.
    std::vector<std::int32_t> m_path;
    std::string m_dirKey; // page key of the program folder, with its backslash
    std::string m_scratch;
    TPageIndex m_byPage;     // full page key -> first item
    TPageIndex m_byFileName; // file name key -> first item written without a folder
    // Per item its neighbouring chapters, kept up to date line by line.
    std::vector<std::int32_t> m_nextChapter;
    std::vector<std::int32_t> m_prevChapter;
    std::int32_t m_lastWithPage = -1;
    std::vector<std::int32_t> m_waitingWithPage; // no next chapter yet, all of one page
    std::vector<std::int32_t> m_waitingWithout;  // no next chapter yet, no page
    std::size_t m_skipped = 0;
    std::string m_pendingPage;
};

} // namespace carmanual
