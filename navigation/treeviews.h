#pragma once
// The contents tree of the document screen: the manual's table of contents,
// read from the tree file a _tree element names, to the left of the page
// panel inside the background panel. Selecting an item opens its page;
// navigating otherwise moves the selection to the page shown without opening
// it again; it finds items by caption, steps to the next and previous chapter
// and gives the texts of the chapter buttons' tool tips.
//
// The window may hold a main and an alternate tree; the static Choose picks
// the one the tree operations act on, MakeCurrent runs "tree1"/"tree2".
// Items are looked up through the tree's own tables: following the page
// panel costs the same however long the contents are.

#include "contentstree.h"
#include "panelelements.h"
#include "treechoice.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class QScrollBar;

namespace carmanual {

class TContentsModel;
class TTreeList;

class TTreeViews final : public QWidget {
    Q_OBJECT

public:
    // Hands a page (full manual name, anchor kept) to the page panel.
    using TOpenPage = std::function<void(const std::string& page)>;
    // The page panel's current document (empty when none).
    using TCurrentDocument = std::function<std::string()>;

    // The background panel's place in the window: the element's right and
    // bottom edges are window coordinates, the tree's size is taken from them.
    static constexpr int kPanelLeft = 33;
    static constexpr int kPanelTop = 90;
    static constexpr int kMinimumWidth = 30;

    // Reads the tree file programDir + element.File (archive or disk; a
    // missing file gives an empty tree). parent: the background panel or any
    // widget; the tree starts hidden and takes currentScreen's visibility.
    TTreeViews(QWidget* parent, const RTree& element, std::string programDir,
               int currentScreen = 0);
    // The same with the items already read.
    TTreeViews(QWidget* parent, const RTree& element, TContentsTree tree, int currentScreen = 0);
    ~TTreeViews() override;
    Q_DISABLE_COPY_MOVE(TTreeViews)

    // --- Hand-over to the page panel ---
    void SetOpenPage(TOpenPage openPage) { m_openPage = std::move(openPage); }
    // Without it the tree takes the last page it followed or opened.
    void SetCurrentDocument(TCurrentDocument currentDocument) {
        m_currentDocument = std::move(currentDocument);
    }

    // --- Operations ---
    // A screen change: shown on the document screen (index 1) unless
    // "offtree" hid it, hidden on screen 0, unchanged on the others; when
    // shown, opens the pending page and selects its item.
    void ShowForScreen(int screen);
    // Selects and opens the next item, after the focused one and wrapping
    // around, whose caption contains the text (any letter case). False when
    // none does.
    bool FindCaption(const QString& text);
    // Opens the selected item's page unless it is the page shown.
    void OpenSelected();
    // "offtree" (true), "ontree" (false). Returns whether the tree is shown:
    // the background panel's splitter then goes to width() + 1.
    bool SetTreeHidden(bool hidden);
    // Selects the item of the document shown (the first item of that page,
    // unless the selected item already is one of it) without opening it, and
    // refreshes the chapter hints. An empty document changes nothing.
    void SyncWithPage(const std::string& document);
    // Select and open the next (previous) chapter: the nearest item in tree
    // order with another page. With nothing selected, the first item. At the
    // last (first) chapter the selection stays and its page is opened if
    // another page is shown. True when the selection moved.
    bool NextChapter();
    bool PrevChapter();

    // Tool tips of the "nextchapter" and "prevchapter" buttons for the
    // current selection: "parent : caption", "caption", "Последний раздел",
    // "Первый раздел".
    QString NextChapterHint() const;
    QString PrevChapterHint() const;

    // The document the last screen command named; it stays set.
    void SetPendingPage(std::string page);
    const std::string& PendingPage() const;

    // --- State ---
    // File of the item whose selection changed last; the full name once
    // opened.
    const std::string& SelectedFile() const { return m_selectedFile; }
    std::int32_t SelectedItem() const;
    std::int32_t FocusedItem() const;
    bool TreeHidden() const { return m_flags.TreeHidden; }
    bool ScreenHidden() const { return m_flags.ScreenHidden; }
    // Shown unless hidden by the screen, "offtree" or the other tree (the
    // background panel's own visibility aside).
    bool IsShown() const { return m_flags.Visible; }
    const TTreeFlags& Flags() const { return m_flags; }

    const TContentsTree& Tree() const;
    TContentsModel* Model() const { return m_model; }
    TTreeList* List() const { return m_list; }
    QColor ColorSelect() const;
    QColor ColorSelectText() const;
    QSize sizeHint() const override;

    // --- The two trees of the window (either may be null) ---
    // The tree the tree operations act on: the main tree when it is shown,
    // else the alternate tree when shown, else whichever exists.
    static TTreeViews* Choose(TTreeViews* main, TTreeViews* alternate);
    // "tree1" (current = alternate, other = main) and "tree2" (the reverse):
    // the current tree is shown unless "offtree" hid it, the other hidden.
    // True when the current tree is shown (the splitter then goes to its
    // width() + 1).
    static bool MakeCurrent(TTreeViews* current, TTreeViews* other);

signals:
    // A mouse button went down in the tree: the popup windows close.
    void Pressed();
    // The mouse moved over the tree: the window's own elements lose their
    // hover state.
    void MouseMoved();
    // The selection changed, so the chapter hints may have.
    void ChapterHintsChanged();

private:
    std::string CurrentDocument() const;
    void HandOver(const std::string& page);
    // Focuses and selects the item, shows it and, with open, opens its page.
    void SelectItem(std::int32_t item, bool open);
    void OnSelectionChanged();
    void ApplyVisibility();
    void SyncScrollBar();

    TContentsModel* m_model = nullptr;
    TTreeList* m_list = nullptr;
    QScrollBar* m_scrollBar = nullptr; // on the left, away from the page panel's
    QSize m_initialSize;
    TTreeFlags m_flags;
    std::string m_selectedFile;
    std::string m_lastDocument;
    TOpenPage m_openPage;
    TCurrentDocument m_currentDocument;
    bool m_selecting = false; // the selection is being set by the tree itself
};

} // namespace carmanual
