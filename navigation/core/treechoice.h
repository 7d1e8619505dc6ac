#pragma once
// Which contents trees the main window builds, which one an operation acts
// on, and how the flags of a tree follow the screen and the tree commands.
// The main window holds at most two trees: a main tree and an alternate one.

#include <cstddef>
#include <cstdint>

namespace carmanual {

enum class TTreeKind { None, Main, Alternate };

// The _tree elements the trees are built from: with exactly one element the
// main tree is built from it; with exactly two only the second is built, as
// the alternate tree; with none or more than two no tree is built.
struct TTreePlan {
    std::int32_t MainElement = -1;
    std::int32_t AlternateElement = -1;
};
TTreePlan PlanTrees(std::size_t treeElementCount);

struct TTreePresence {
    bool Exists = false;
    bool Visible = false;
};

// The tree that tree operations act on (selection following the page, chapter
// steps and their tool tips): the main tree when it exists and is visible,
// else the alternate tree when it exists and is visible, else whichever
// exists, the main tree first.
TTreeKind ChooseTree(TTreePresence main, TTreePresence alternate);

// The tree the search in the contents looks in: the alternate tree when it
// exists and is visible, else the main tree when it exists, else the
// alternate tree when it exists.
TTreeKind ChooseTreeForSearch(TTreePresence main, TTreePresence alternate);

// The visibility flags of one tree.
struct TTreeFlags {
    bool Exists = false;
    bool Visible = false;
    bool TreeHidden = false;   // hidden by "offtree"
    bool ScreenHidden = false; // not the tree in use: another screen, or the other tree chosen
};

// A screen change. On the document screen (index 1) the tree is shown unless
// "offtree" hid it; on the first screen (index 0) it is hidden and forgets
// "offtree"; other screens change nothing.
void ApplyScreen(TTreeFlags& tree, std::int32_t screen);

// "tree1" (the alternate tree becomes current) and "tree2" (the main tree):
// the current tree is shown unless "offtree" hid it, the other one is hidden.
// Returns true when the current tree is shown, so the splitter follows it.
bool MakeCurrent(TTreeFlags& current, TTreeFlags& other);

// "offtree" (true) and "ontree" (false). Returns true when the tree is shown.
bool SetTreeHidden(TTreeFlags& tree, bool hidden);

} // namespace carmanual
