#include "dispatcher.h"

#include "archive.h"
#include "busy.h"
#include "commandrules.h"
#include "composition.h"
#include "controlpopupwindow.h"
#include "formoptions.h"
#include "frameviewer.h"
#include "generalsettings.h"
#include "htmlfavorite.h"
#include "htmlframe.h"
#include "mainform.h"
#include "paths.h"
#include "qtansi.h"
#include "shellopen.h"
#include "sound.h"
#include "syntax.h"
#include "treeviews.h"

#include <QApplication>

namespace carmanual {

namespace {

bool PageExists(std::string_view name) {
    return ArchiveFileExists(name);
}

} // namespace

TCommandDispatcher::TCommandDispatcher(TMainForm& window, TMainComposition& components,
                                       const TMainServices& services)
    : m_window(window), m_components(components), m_services(services) {}

void TCommandDispatcher::Run(const std::string& command, const std::string& sound,
                             TCallOrigin origin, TElementKind kind, int index) {
    if (IsBusy())
        return;
    if (RunPageCommand(command))
        return;
    const TCommandRule rule = MatchCommandRule(command);
    if (rule == TCommandRule::Exit) {
        m_window.Exit(kind, index);
        return;
    }
    if (origin == TCallOrigin::User)
        PlayButtonSound(sound);

    if (!RunWindowRule(rule, command, kind, index) && !RunPageRule(rule, command, kind, index))
        RunNavigationRule(rule, command, kind);
}

bool TCommandDispatcher::RunWindowRule(TCommandRule rule, const std::string& command,
                                       TElementKind kind, int index) {
    const TInterfaceDescription& description = m_window.Description();
    switch (rule) {
    case TCommandRule::Screen: {
        const int screen = ScreenIndexOfName(command);
        // A screen the description does not have is ignored, as plain numbers are.
        if (screen >= 0 && screen < description.ScreenCount()) {
            // The page after '=' is shown by the main tree once the screen is there.
            if (TTreeViews* tree = m_components.MainTree())
                tree->SetPendingPage(ValueAfterFirstEq(command));
            m_window.ChangeScreen(screen, kind, index);
        }
        return true;
    }
    case TCommandRule::ScreenNumber: {
        const int screen = ScreenIndexOfCommand(command);
        if (screen >= 0 && screen < description.ScreenCount())
            m_window.ChangeScreen(screen, kind, index);
        return true;
    }
    case TCommandRule::Run:
        RunProgram(command);
        return true;
    case TCommandRule::About:
        if (m_window.OnAbout)
            m_window.OnAbout();
        return true;
    case TCommandRule::Minimize:
        m_window.Minimize(kind, index);
        return true;
    case TCommandRule::Options:
        if (TFormOptions* options = m_components.Options())
            options->ShowOptions();
        return true;
    case TCommandRule::Help:
        ShowScreenHelp();
        return true;
    default:
        return false;
    }
}

bool TCommandDispatcher::RunPageRule(TCommandRule rule, const std::string& command,
                                     TElementKind kind, int index) {
    THtmlFrame* html = m_components.HtmlFrame();
    switch (rule) {
    case TCommandRule::Html:
        if (html) {
            const std::string page = ValueAfterFirstEq(command);
            if (html->CurrentViewerIndex() >= 0)
                m_components.History().RegisterChapter(
                    static_cast<std::size_t>(html->CurrentViewerIndex()), page);
            html->ShowInPanel(HtmlPanelNumber(command), page);
        }
        return true;
    case TCommandRule::CopyHtml:
        if (html)
            html->CopyPageFiles();
        return true;
    case TCommandRule::PrintHtml:
        if (html)
            html->PrintPage();
        return true;
    case TCommandRule::TopHtml:
        if (html)
            html->ScrollToTop();
        return true;
    case TCommandRule::Back:
        StepHistory(THistoryDirection::Back);
        return true;
    case TCommandRule::Forward:
        StepHistory(THistoryDirection::Forward);
        return true;
    case TCommandRule::HistoryBack:
        ShowButtonPopup(popuptype::HistoryBack, kind, index, true);
        return true;
    case TCommandRule::HistoryForward:
        ShowButtonPopup(popuptype::HistoryForward, kind, index, false);
        return true;
    case TCommandRule::ShowFavorite:
        ShowButtonPopup(popuptype::Favorite, kind, index, false);
        return true;
    case TCommandRule::DeleteFromFavorite:
        ShowButtonPopup(popuptype::DeleteFavorite, kind, index, false);
        return true;
    case TCommandRule::AddToFavorite:
        m_components.AddToFavorites();
        return true;
    default:
        return false;
    }
}

void TCommandDispatcher::RunNavigationRule(TCommandRule rule, const std::string& command,
                                           TElementKind kind) {
    switch (rule) {
    case TCommandRule::ContextMenu:
        if (TControlPopupWindow* popups = m_components.Popups();
            popups && kind == TElementKind::Button)
            popups->ShowPopup(NumberedMenu(ContextMenuNumber(command)), QCursor::pos());
        break;
    case TCommandRule::Tree1:
    case TCommandRule::Tree2:
    case TCommandRule::OnTree:
    case TCommandRule::OffTree:
        m_components.TreeCommand(rule);
        break;
    case TCommandRule::NextChapter:
        if (TTreeViews* tree = m_components.ChosenTree())
            tree->NextChapter();
        break;
    case TCommandRule::PrevChapter:
        if (TTreeViews* tree = m_components.ChosenTree())
            tree->PrevChapter();
        break;
    default:
        // Search, players, slides, fonts, archives and the other windows
        // are served by their components; without them these commands do
        // nothing.
        break;
    }
}

void TCommandDispatcher::ShowScreenHelp() {
    if (m_window.CurrentScreen() == 0)
        m_window.ShowHelpTopic("Topic12");
    else if (m_window.CurrentScreen() == kDocumentScreen)
        m_window.ShowHelpTopic("Topic13");
}

void TCommandDispatcher::PlayButtonSound(const std::string& sound) {
    const TGeneralSettings* settings = m_components.GeneralSettings();
    if (!m_services.Sound || sound.empty() || sound == "no" || !settings || !settings->Wav)
        return;
    m_services.Sound->PlayAsync(ProgramDir() + sound);
}

bool TCommandDispatcher::RunPageCommand(const std::string& command) {
    // A favourite opens its page at the place it was read at.
    if (const auto target = ParseHtmlPosCommand(command)) {
        THtmlFrame* html = m_components.HtmlFrame();
        if (html && html->OpenPage(target->Document))
            if (TFrameViewer* viewer = html->CurrentViewer())
                viewer->ActiveDocument()->ScrollToY(target->ScrollY);
        return true;
    }
    // Items of the history popups carry "history=" and the entry's index.
    if (const auto entry = HistoryCommandIndex(command)) {
        GoToHistoryEntry(*entry);
        return true;
    }
    return false;
}

void TCommandDispatcher::RunProgram(const std::string& command) {
    const std::string file = ValueAfterFirstEq(command);
    const std::string params = ValueAfterLastEq(command);
    if (file.empty() || !m_services.Shell)
        return;
    QString native = FindDiskFile(file);
    if (native.isEmpty())
        native = NativeName(file);
    // The program starts in its own folder.
    const std::size_t slash = file.rfind('\\');
    QString workDir;
    if (slash != std::string::npos) {
        if (const auto dir = FindOnDisk(file.substr(0, slash + 1), DiskKind::Directory))
            workDir = QString::fromStdString(dir->string());
    }
    QStringList args;
    if (!params.empty()) {
        const QString p = FindDiskFile(params);
        args = p.isEmpty() ? SplitParameters(FromAnsi(params)) : QStringList{p};
    }
    m_services.Shell->Open(native, args, workDir);
}

void TCommandDispatcher::ShowButtonPopup(TPopupType type, TElementKind kind, int index,
                                         bool rightCorner) {
    TControlPopupWindow* popups = m_components.Popups();
    if (!popups || kind != TElementKind::Button || index < 0 ||
        static_cast<std::size_t>(index) >= m_window.Elements().ButtonCount())
        return;
    const QRect button = m_window.ButtonRect(index);
    const QPoint corner(rightCorner ? button.right() : button.left(), button.bottom());
    popups->ShowPopup(type, m_window.mapToGlobal(corner));
}

void TCommandDispatcher::StepHistory(THistoryDirection direction) {
    THtmlFrame* html = m_components.HtmlFrame();
    if (!html || !html->CurrentViewer())
        return;
    // Entries whose page is gone are stepped over; at the end of the history
    // the step only beeps.
    const auto target = HistoryStepTarget(
        direction, m_components.HistorySnapshot(html->CurrentViewerIndex()), PageExists);
    if (!target) {
        QApplication::beep();
        return;
    }
    GoToHistoryEntry(*target);
}

void TCommandDispatcher::GoToHistoryEntry(int entry) {
    if (IsBusy())
        return;
    THtmlFrame* html = m_components.HtmlFrame();
    TFrameViewer* viewer = html ? html->CurrentViewer() : nullptr;
    if (!viewer)
        return;
    const int viewerIndex = html->CurrentViewerIndex();
    const std::string before = viewer->CurrentDocument();
    html->GoToHistory(entry);
    const std::string after = viewer->CurrentDocument();
    // The switch of the chapter now shown follows with its state and
    // picture only: its own command would jump to the chapter's first page
    // and lose the entry the step landed on.
    const int screen = m_window.CurrentScreen();
    const auto presses = m_components.History().SwitchesToPress(
        static_cast<std::size_t>(viewerIndex), before, after,
        m_window.SwitchStates().Switches(m_window.Description(), screen),
        m_window.SwitchStates().Groups(m_window.Description(), screen));
    for (const TSwitchPress& press : presses)
        m_window.FollowSwitch(QPoint(press.X, press.Y));
}

} // namespace carmanual
