#include "composition.h"

#include "ansi.h"
#include "archive.h"
#include "commandrules.h"
#include "controlpopupwindow.h"
#include "formoptions.h"
#include "frameviewer.h"
#include "generalsettings.h"
#include "htmlfavorite.h"
#include "htmlframe.h"
#include "panelbkgrd.h"
#include "pathinputbox.h"
#include "paths.h"
#include "qtansi.h"
#include "scalebar.h"
#include "settingsstore.h"
#include "statusline.h"
#include "textmsg.h"
#include "treechoice.h"
#include "treeviews.h"

#include <QSplitter>

#include <algorithm>

namespace carmanual {

namespace {

bool PageExists(std::string_view name) {
    return ArchiveFileExists(name);
}

} // namespace

TMainComposition::TMainComposition(THost host)
    : m_host(std::move(host)), m_description(*m_host.Description) {}

TMainComposition::~TMainComposition() {
    Destroy();
}

int TMainComposition::Screen() const {
    return m_host.CurrentScreen ? m_host.CurrentScreen() : 0;
}

const TGeneralSettings* TMainComposition::GeneralSettings() const {
    return m_options ? &m_options->Settings() : nullptr;
}

TMainComposition::TStage TMainComposition::FirstFrameStage(const TInterfaceDescription& d,
                                                           int screen) {
    auto onScreen = [screen](const auto& elements) {
        return std::any_of(elements.begin(), elements.end(),
                           [screen](const auto& e) { return e.Screen == screen; });
    };
    const std::size_t s = static_cast<std::size_t>(screen);
    const bool switches = (s < d.Switches.size() && !d.Switches[s].empty()) ||
                          (s < d.Groups.size() && !d.Groups[s].empty());
    const bool panels = onScreen(d.HtmlPanels) || onScreen(d.PathInputs) || onScreen(d.FindTexts) ||
                        onScreen(d.Clips) || onScreen(d.Images);
    if (!panels)
        return TStage::TextFields;
    // The switches' start-up commands may change what the panels show (a
    // page, a folder): their first frame waits for everything.
    if (switches || onScreen(d.Clips) || onScreen(d.Images))
        return TStage::All;
    if (onScreen(d.PathInputs) || onScreen(d.FindTexts))
        return TStage::PathBoxes;
    return TStage::PagePanels;
}

void TMainComposition::Build(TStage upTo) {
    // In the order they build on each other: each may use the ones before.
    // A stage built for the first frame is not built again.
    if (m_built < TStage::TextFields && upTo >= TStage::TextFields) {
        m_textMsg = TTextMsg::CreateTextFields(m_description.Texts, m_host.Window);
        m_built = TStage::TextFields;
    }
    if (m_built < TStage::PagePanels && upTo >= TStage::PagePanels) {
        BuildPagePanels();
        m_built = TStage::PagePanels;
    }
    if (m_built < TStage::PathBoxes && upTo >= TStage::PathBoxes) {
        // The search boxes come here once they are present; then the path boxes.
        if (!m_description.PathInputs.empty() && m_host.Settings) {
            m_pathBox = std::make_unique<TPathInputBox>(m_description.PathInputs, m_host.Window,
                                                        *m_host.Settings, Screen());
            connect(m_pathBox.get(), &TPathInputBox::mouseMovedOverBox, this, [this] {
                if (m_host.MouseOffSkin)
                    m_host.MouseOffSkin();
            });
        }
        m_built = TStage::PathBoxes;
    }
    if (m_built < TStage::All && upTo >= TStage::All) {
        // One store of bookmarks for the whole run, whatever screens have a
        // favourites list: the lists of each screen show it as they are built.
        if (m_host.Settings && (m_html || m_description.HasPopups()))
            m_favorites = std::make_unique<THtmlFavorite>(*m_host.Settings, nullptr);
        BuildPopups();
        BuildTrees();
        m_scaleBar = std::make_unique<TScaleBar>("status_dn.bmp", "status_up.bmp", 1, 75, 33,
                                                 [this] { return Screen(); });
        m_built = TStage::All;
    }
}

void TMainComposition::BuildPagePanels() {
    m_statusLine = new TStatusLine(m_textMsg.get(), m_host.Window);
    m_panelBkgrd = new TPanelBkgrd(m_host.Window, m_description.Splitters.empty()
                                                      ? TPanelBkgrd::kDefaultSplitterColor
                                                      : m_description.Splitters.front().Color);

    THtmlFrameServices pages;
    pages.MainWindow = m_host.Window;
    pages.Settings = m_host.Settings;
    pages.Shell = m_host.Shell;
    pages.StatusLine = m_statusLine;
    pages.CurrentScreen = [this] { return Screen(); };
    pages.SetDocumentPane = [this](QWidget* pane) {
        m_panelBkgrd->SetClientPane(pane);
        ShowPanelBkgrd();
    };
    if (!m_description.PathInputs.empty())
        pages.CurrentPathBoxFolder = [this]() -> std::optional<std::string> {
            return m_pathBox ? m_pathBox->GetCurrentPath() : std::nullopt;
        };
    pages.OnMouseOverPage = [this] {
        if (m_host.MouseOffSkin)
            m_host.MouseOffSkin();
    };
    pages.OnHidePopups = [this] { HidePopups(); };
    // The page's own menu on a right click; the lists are built later.
    pages.OnContextPopup = [this](QPoint globalPos) {
        if (m_popups)
            m_popups->ShowPopup(popuptype::ContextHtml, globalPos);
    };
    pages.OnHistoryChange = [this](TFrameViewer*, int viewerIndex) {
        PageHistoryChanged(viewerIndex);
    };
    m_html = BuildHtmlFrame(m_description.HtmlPanels, std::move(pages));
    if (m_html) // listing pages of RAR archives are written to the temporary folder
        m_history = THistoryChapters(static_cast<std::size_t>(m_html->ViewerCount()), TempDir());
}

void TMainComposition::BuildPopups() {
    if (!m_description.HasPopups())
        return;
    m_popups = std::make_unique<TControlPopupWindow>(
        m_description.Popups, m_host.Window,
        [this](const std::string& command) {
            if (m_host.RunCommand)
                m_host.RunCommand(command);
        },
        m_favorites.get(), Screen());
    TPopupPageActions actions;
    actions.GoToHistory = [this](std::int32_t entry) {
        if (m_host.GoToHistoryEntry)
            m_host.GoToHistoryEntry(entry);
    };
    actions.OpenPage = [this](const std::string& page) {
        if (m_html)
            m_html->OpenPage(page);
    };
    actions.OpenPageAt = [this](const std::string& page, std::int32_t y) {
        if (m_html && m_html->OpenPage(page))
            if (TFrameViewer* viewer = m_html->CurrentViewer())
                viewer->ActiveDocument()->ScrollToY(y);
    };
    actions.CopySelection = [this] {
        if (m_html)
            m_html->CopySelectedText();
    };
    actions.AddToFavorites = [this] { AddToFavorites(); };
    actions.ChooseFonts = [this] {
        if (m_html)
            m_html->ChooseFonts();
    };
    actions.SelectAll = [this] {
        if (m_html)
            m_html->SelectAll();
    };
    actions.PrintPage = [this] {
        if (m_html)
            m_html->PrintPage();
    };
    m_popups->SetPageActions(std::move(actions));
}

TTreeViews* TMainComposition::MakeTree(const RTree& element) {
    auto* tree = new TTreeViews(m_panelBkgrd, element, ProgramDir(), Screen());
    tree->SetOpenPage([this](const std::string& page) {
        if (m_html)
            m_html->OpenContentsPage(page);
    });
    tree->SetCurrentDocument([this] {
        TFrameViewer* viewer = m_html ? m_html->CurrentViewer() : nullptr;
        return viewer ? viewer->CurrentDocument() : std::string();
    });
    connect(tree, &TTreeViews::Pressed, this, [this] { HidePopups(); });
    connect(tree, &TTreeViews::MouseMoved, this, [this] {
        if (m_host.MouseOffSkin)
            m_host.MouseOffSkin();
    });
    connect(tree, &TTreeViews::ChapterHintsChanged, this, [this] {
        if (m_host.ChapterHintsChanged)
            m_host.ChapterHintsChanged();
    });
    m_panelBkgrd->SetTreePane(tree);
    return tree;
}

void TMainComposition::BuildTrees() {
    if (!m_panelBkgrd)
        return;
    // With exactly one tree element the main tree is built; with exactly two
    // only the second, as the alternate tree.
    const TTreePlan plan = PlanTrees(m_description.Trees.size());
    if (plan.MainElement >= 0)
        m_mainTree = MakeTree(m_description.Trees[static_cast<std::size_t>(plan.MainElement)]);
    if (plan.AlternateElement >= 0)
        m_altTree = MakeTree(m_description.Trees[static_cast<std::size_t>(plan.AlternateElement)]);
    if (TTreeViews* tree = ChosenTree(); tree && tree->IsShown())
        m_panelBkgrd->MoveSplitter(tree->width() + 1);
    ShowPanelBkgrd();
}

void TMainComposition::BuildOptions() {
    if (m_options || !m_host.Settings)
        return;
    m_options = new TFormOptions(*m_host.Settings, !m_description.Images.empty(), m_host.Window);
    connect(m_options, &QDialog::finished, this, [this] {
        if (m_host.OptionsClosed)
            m_host.OptionsClosed();
    });
    connect(m_options, &TFormOptions::chooseFontsRequested, this, [this] {
        if (m_html)
            m_html->ChooseFonts();
    });
    bool anySound = false;
    for (const auto& screen : m_description.Buttons)
        for (const RBtn& b : screen)
            anySound = anySound || b.Sound != "no";
    const std::string& rolic = m_description.Rolic;
    m_options->EnableCheckBoxes(!rolic.empty() && rolic != "no", anySound);
    if (m_description.BgSoundDef.empty())
        m_options->SetBGSound(false); // for this run only
    m_options->SwitchOffAnimation();  // for this run only
}

void TMainComposition::ShowForScreen(int screen) {
    if (m_pathBox)
        m_pathBox->ShowPathBoxes(screen);
    if (m_popups)
        m_popups->ShowForScreen(screen);
    if (m_html)
        m_html->ShowScreenPage();
    RefreshHistoryPopups();
    if (m_altTree)
        m_altTree->ShowForScreen(screen);
    if (m_mainTree)
        m_mainTree->ShowForScreen(screen);
    // The tree follows the page its screen shows, also one loaded before the
    // tree was built or while another screen was shown.
    if (TTreeViews* tree = ChosenTree(); tree && m_html)
        if (TFrameViewer* viewer = m_html->CurrentViewer())
            tree->SyncWithPage(viewer->CurrentDocument());
    ShowPanelBkgrd();
}

THistorySnapshot TMainComposition::HistorySnapshot(int viewerIndex) const {
    THistorySnapshot snapshot;
    TFrameViewer* viewer = m_html ? m_html->Viewer(viewerIndex) : nullptr;
    if (!viewer)
        return snapshot;
    snapshot.Files = viewer->HistoryFiles();
    snapshot.Titles = viewer->HistoryTitles();
    snapshot.Position = viewer->HistoryPosition();
    snapshot.CurrentDocument = viewer->CurrentDocument();
    return snapshot;
}

void TMainComposition::PageHistoryChanged(int viewerIndex) {
    // The panel reports its first pages while it is still being built.
    if (!m_html || viewerIndex < 0)
        return;
    TFrameViewer* viewer = m_html->Viewer(viewerIndex);
    if (!viewer)
        return;
    if (m_history.ViewerCount() < static_cast<std::size_t>(m_html->ViewerCount()))
        m_history.SetViewerCount(static_cast<std::size_t>(m_html->ViewerCount()));
    std::optional<std::string> title;
    const std::string active = viewer->ActiveDocument()->DocumentTitle();
    if (!active.empty())
        title = active;
    const THistoryUpdate update = m_history.HistoryChanged(
        static_cast<std::size_t>(viewerIndex), HistorySnapshot(viewerIndex), title, PageExists);
    m_html->SetRarListing(viewerIndex, update.ArchiveListing);
    // The rest shows the page of the screen shown: a hidden screen's viewer
    // that loads a page changes none of it.
    if (viewerIndex != m_html->CurrentViewerIndex())
        return;
    if (m_textMsg && update.PageTitleText)
        m_textMsg->SetFieldText(FromAnsi(*update.PageTitleText), 1, true);
    if (m_popups)
        m_popups->SetHistoryPopups(update.Back, update.Forward);
    if (TTreeViews* tree = ChosenTree())
        tree->SyncWithPage(update.Document);
    if (OnHistoryUpdated)
        OnHistoryUpdated(update);
}

void TMainComposition::RefreshHistoryPopups() {
    // The lists of the screen shown list the history of its own viewer.
    if (!m_popups || !m_html || m_html->CurrentViewerIndex() < 0)
        return;
    const THistorySnapshot history = HistorySnapshot(m_html->CurrentViewerIndex());
    m_popups->SetHistoryPopups(BackPopupItems(history, PageExists),
                               ForwardPopupItems(history, PageExists));
}

void TMainComposition::AddToFavorites() {
    TFrameViewer* viewer = m_html ? m_html->CurrentViewer() : nullptr;
    if (!m_favorites || !viewer || !viewer->isVisible())
        return;
    const TDynamicStringArray titles = viewer->HistoryTitles();
    const int position = viewer->HistoryPosition();
    std::string title = position >= 0 && static_cast<std::size_t>(position) < titles.size()
                            ? titles[static_cast<std::size_t>(position)]
                            : std::string();
    if (title.empty())
        title = viewer->DocumentTitle();
    if (title.empty())
        title = Utf8ToAnsi("Без названия");
    m_favorites->AddCurrentPage(title, viewer->CurrentDocument(),
                                viewer->ActiveDocument()->ScrollPos());
}

TTreeViews* TMainComposition::ChosenTree() const {
    return TTreeViews::Choose(m_mainTree, m_altTree);
}

void TMainComposition::TreeCommand(TCommandRule rule) {
    auto splitterTo = [this](TTreeViews* tree) {
        if (tree && m_panelBkgrd)
            m_panelBkgrd->MoveSplitter(tree->width() + 1);
    };
    switch (rule) {
    case TCommandRule::Tree1:
        if (TTreeViews::MakeCurrent(m_altTree, m_mainTree))
            splitterTo(m_altTree);
        break;
    case TCommandRule::Tree2:
        if (TTreeViews::MakeCurrent(m_mainTree, m_altTree))
            splitterTo(m_mainTree);
        break;
    case TCommandRule::OnTree:
    case TCommandRule::OffTree:
        for (TTreeViews* tree : {m_mainTree, m_altTree})
            if (tree && tree->SetTreeHidden(rule == TCommandRule::OffTree))
                splitterTo(tree);
        break;
    default:
        break;
    }
}

std::string TMainComposition::ButtonHint(const RBtn& button) const {
    const TCommandRule rule = MatchCommandRule(button.Command);
    if (rule != TCommandRule::NextChapter && rule != TCommandRule::PrevChapter)
        return button.Hint;
    const TTreeViews* tree = ChosenTree();
    if (!tree)
        return button.Hint;
    return ToAnsi(rule == TCommandRule::NextChapter ? tree->NextChapterHint()
                                                    : tree->PrevChapterHint());
}

bool TMainComposition::TreeRuleBlocks(const RSwthOne& sw) const {
    if (!m_altTree || m_altTree->IsShown() || (m_mainTree && m_mainTree->IsShown()))
        return false;
    return AnsiSameText(sw.CommandUp, "tree2") || AnsiSameText(sw.CommandDown, "tree2");
}

void TMainComposition::OpenDroppedFile(const std::string& file) {
    auto has = [&file](const char* ext) { return file.find(ext) != std::string::npos; };
    if (has(".htm") || has(".txt") || has(".bmp") || has(".jpg") || has(".jpeg") || has(".gif") ||
        has(".png")) {
        if (m_html)
            m_html->OpenPage(file);
    } else if (has(".rar")) {
        // The archive listing opens here once the RAR lister is present.
    } else if (has(".wav") || has(".mp3") || has(".mpa")) {
        // The clip player plays dropped sounds once present.
    }
}

void TMainComposition::HidePopups() {
    if (m_popups)
        m_popups->HideAll();
}

void TMainComposition::ShowPanelBkgrd() {
    // The background panel belongs to the document screen and shows once a
    // tree or a page panel lies on it.
    if (m_panelBkgrd)
        m_panelBkgrd->setVisible(Screen() == kDocumentScreen &&
                                 m_panelBkgrd->Splitter()->count() > 0);
}

void TMainComposition::HideForEffect(int screen, bool hide) {
    if (screen == kDocumentScreen && m_panelBkgrd)
        m_panelBkgrd->setVisible(!hide && m_panelBkgrd->Splitter()->count() > 0);
}

void TMainComposition::Destroy() {
    // Components store their settings (page fonts, path-box texts) as they go.
    // The lists let go of the bookmarks before the bookmarks are stored.
    m_popups.reset();
    m_favorites.reset();
    m_html.reset();
    m_pathBox.reset();
}

} // namespace carmanual
