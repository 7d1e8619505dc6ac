#include "treechoice.h"

#include "commandrules.h"

namespace carmanual {

TTreePlan PlanTrees(std::size_t treeElementCount) {
    TTreePlan plan;
    if (treeElementCount == 1)
        plan.MainElement = 0;
    else if (treeElementCount == 2)
        plan.AlternateElement = 1;
    return plan;
}

TTreeKind ChooseTree(TTreePresence main, TTreePresence alternate) {
    if (main.Exists && main.Visible)
        return TTreeKind::Main;
    if (alternate.Exists && alternate.Visible)
        return TTreeKind::Alternate;
    if (main.Exists)
        return TTreeKind::Main;
    if (alternate.Exists)
        return TTreeKind::Alternate;
    return TTreeKind::None;
}

TTreeKind ChooseTreeForSearch(TTreePresence main, TTreePresence alternate) {
    if (alternate.Exists && alternate.Visible)
        return TTreeKind::Alternate;
    if (main.Exists)
        return TTreeKind::Main;
    if (alternate.Exists)
        return TTreeKind::Alternate;
    return TTreeKind::None;
}

void ApplyScreen(TTreeFlags& tree, std::int32_t screen) {
    if (!tree.Exists)
        return;
    if (screen == kDocumentScreen) {
        // A tree that "offtree" hid stays hidden: showing it here would leave
        // "offtree" unable to hide it again until an "ontree".
        tree.Visible = !tree.TreeHidden;
        tree.ScreenHidden = false;
    } else if (screen == 0) {
        tree.Visible = false;
        tree.ScreenHidden = true;
        tree.TreeHidden = false;
    }
}

bool MakeCurrent(TTreeFlags& current, TTreeFlags& other) {
    if (current.Exists) {
        if (!current.TreeHidden)
            current.Visible = true;
        current.ScreenHidden = false;
    }
    if (other.Exists) {
        if (!other.TreeHidden)
            other.Visible = false;
        other.ScreenHidden = true;
    }
    return current.Exists && current.Visible;
}

bool SetTreeHidden(TTreeFlags& tree, bool hidden) {
    if (!tree.Exists)
        return false;
    if (hidden)
        tree.Visible = false;
    else if (!tree.ScreenHidden)
        tree.Visible = true;
    tree.TreeHidden = hidden;
    return tree.Visible;
}

} // namespace carmanual
