#pragma once
// The components of the skinned window, built in the order they build on
// each other and connected to each other here, in one place: the text
// fields, the status line, the background panel, the page panels, the path
// boxes, the bookmarks, the popup lists, the contents trees and the scale
// bar, then the options dialog. Every component is optional: one the
// description has no element for is not built, and the operations here do
// nothing without it. A new component is built in Build at its place in
// that order, takes what it needs from THost, and is reached by the command
// dispatcher through an accessor (see ARCHITECTURE.md).

#include "commandrules.h"
#include "historychapters.h"
#include "screenelements.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace carmanual {

class ISettingsStore;
class IShellOpen;
class TControlPopupWindow;
class TFormOptions;
class THtmlFavorite;
class THtmlFrame;
class TPanelBkgrd;
class TPathInputBox;
class TScaleBar;
class TStatusLine;
class TTextMsg;
class TTreeViews;
struct TGeneralSettings;

class TMainComposition final : public QObject {
    Q_OBJECT

public:
    // What the components need of the window they live in.
    struct THost {
        QWidget* Window = nullptr; // the parent of every component
        const TInterfaceDescription* Description = nullptr;
        ISettingsStore* Settings = nullptr;
        IShellOpen* Shell = nullptr;
        std::function<int()> CurrentScreen;
        // A command of the skin run as the program's own (popup entries).
        std::function<void(const std::string& command)> RunCommand;
        // The mouse is over a component: the skin's elements lose hover.
        std::function<void()> MouseOffSkin;
        // A history entry chosen in a history list.
        std::function<void(int entry)> GoToHistoryEntry;
        // The chapter buttons' tool tips have changed.
        std::function<void()> ChapterHintsChanged;
        // Options closed: the tool tips may have been switched on or off.
        std::function<void()> OptionsClosed;
    };

    // How far Build has gone: the text fields; then the page panels (with the
    // status line and background panel they build on); then the path boxes;
    // then the rest.
    enum class TStage { None, TextFields, PagePanels, PathBoxes, All };

    explicit TMainComposition(THost host);
    ~TMainComposition() override;
    Q_DISABLE_COPY_MOVE(TMainComposition)

    // The settings store of the manual, once its title is known.
    void SetSettings(ISettingsStore* settings) { m_host.Settings = settings; }

    // Builds every stage up to the one given that is not built yet.
    void Build(TStage upTo);
    TStage Built() const { return m_built; }
    // The stage the first frame of a screen needs: the components whose
    // elements it shows, everything when its switches' start-up commands may
    // change what they show.
    static TStage FirstFrameStage(const TInterfaceDescription& description, int screen);
    // The options dialog; it reads the settings.
    void BuildOptions();

    // The screen has changed: every component shows its own elements.
    void ShowForScreen(int screen);
    // The engine's history event of a page viewer.
    void PageHistoryChanged(int viewerIndex);
    THistorySnapshot HistorySnapshot(int viewerIndex) const;
    // Bookmarks the page shown (the current viewer's current entry).
    void AddToFavorites();
    // "tree1", "tree2", "ontree", "offtree".
    void TreeCommand(TCommandRule rule);
    // The tree the tree operations act on, or null.
    TTreeViews* ChosenTree() const;
    // A button's tool tip: its hint, or for the chapter buttons the
    // neighbouring chapter of the contents.
    std::string ButtonHint(const RBtn& button) const;
    void HidePopups();
    // Whether a single switch ignores the mouse: one that would show the
    // main tree while the alternate tree is hidden and the main tree absent
    // or hidden.
    bool TreeRuleBlocks(const RSwthOne& sw) const;
    // A file dropped on the window (its name lower-cased).
    void OpenDroppedFile(const std::string& file);
    // Hides the background panel while the about box's effect plays.
    void HideForEffect(int screen, bool hide);
    // Frees the components in the order that lets each store its settings.
    void Destroy();

    const TGeneralSettings* GeneralSettings() const;
    TTextMsg* TextMsg() const { return m_textMsg.get(); }
    TStatusLine* StatusLine() const { return m_statusLine; }
    TPanelBkgrd* PanelBkgrd() const { return m_panelBkgrd; }
    THtmlFrame* HtmlFrame() const { return m_html.get(); }
    TPathInputBox* PathInputBox() const { return m_pathBox.get(); }
    THtmlFavorite* Favorites() const { return m_favorites.get(); }
    TControlPopupWindow* Popups() const { return m_popups.get(); }
    TTreeViews* MainTree() const { return m_mainTree; }
    TTreeViews* AltTree() const { return m_altTree; }
    TFormOptions* Options() const { return m_options; }
    THistoryChapters& History() { return m_history; }

    // Hand-over: the history popups and the contents tree followed the page.
    std::function<void(const THistoryUpdate&)> OnHistoryUpdated;

private:
    void BuildPagePanels();
    void BuildPopups();
    void BuildTrees();
    TTreeViews* MakeTree(const RTree& element);
    void RefreshHistoryPopups();
    void ShowPanelBkgrd();
    int Screen() const;

    THost m_host;
    const TInterfaceDescription& m_description;
    TStage m_built = TStage::None;

    std::unique_ptr<TTextMsg> m_textMsg;
    TStatusLine* m_statusLine = nullptr;
    TPanelBkgrd* m_panelBkgrd = nullptr;
    std::unique_ptr<THtmlFrame> m_html;
    THistoryChapters m_history;
    std::unique_ptr<TPathInputBox> m_pathBox;
    std::unique_ptr<THtmlFavorite> m_favorites; // the bookmarks of the run
    std::unique_ptr<TControlPopupWindow> m_popups;
    TTreeViews* m_mainTree = nullptr;
    TTreeViews* m_altTree = nullptr;
    std::unique_ptr<TScaleBar> m_scaleBar;
    TFormOptions* m_options = nullptr;
};

} // namespace carmanual
