// The main window's dispatcher, screen changes, keys, closing and the saved
// switch states.

#include "mainform.h"

#include "ansi.h"
#include "archive.h"
#include "busy.h"
#include "commandrules.h"
#include "controlpopupwindow.h"
#include "effbtncar.h"
#include "effcar.h"
#include "formoptions.h"
#include "frameviewer.h"
#include "generalsettings.h"
#include "htmlfavorite.h"
#include "htmlframe.h"
#include "panelbkgrd.h"
#include "pathinputbox.h"
#include "paths.h"
#include "qtansi.h"
#include "settingsstore.h"
#include "shellopen.h"
#include "sound.h"
#include "supertimer.h"
#include "syntax.h"
#include "textmsg.h"
#include "treeviews.h"
#include "windowdirectory.h"
#include "windowshape.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

namespace carmanual {

namespace {

// A window that refuses to close must not keep the closing step going.
constexpr int kMaxCloseRounds = 5;

bool IsButton(TElementKind kind) {
    return kind == TElementKind::Button;
}

} // namespace

void TMainForm::RunCommand(const std::string& command, const std::string& sound, TCallOrigin origin,
                           TElementKind kind, int index) {
    FinishStartup();
    if (IsBusy())
        return;
    if (RunSpecialCommand(command))
        return;
    const TCommandRule rule = MatchCommandRule(command);
    if (rule == TCommandRule::Exit) {
        WindowHandle handle;
        if (FindTopWindowByTitle(m_title, handle)) {
            if (IsButton(kind))
                m_exitButton = index;
            TWindowDirectory::CloseWindow(handle);
        } else {
            if (IsButton(kind))
                m_exitButton = index;
            close();
        }
        return;
    }
    if (origin == TCallOrigin::User)
        PlayButtonSound(sound);

    switch (rule) {
    case TCommandRule::Screen: {
        const int screen = ScreenIndexOfName(command);
        // A screen the description does not have is ignored, as plain numbers are.
        if (screen >= 0 && screen < m_description.ScreenCount()) {
            // The page after '=' is shown by the main tree once the screen is there.
            if (m_mainTree)
                m_mainTree->SetPendingPage(ValueAfterFirstEq(command));
            ChangeScreen(screen, kind, index);
        }
        break;
    }
    case TCommandRule::Run: {
        const std::string file = ValueAfterFirstEq(command);
        const std::string params = ValueAfterLastEq(command);
        if (file.empty() || !m_services.Shell)
            break;
        QString native = FindDiskFile(file);
        if (native.isEmpty())
            native = NativeName(file);
        const std::size_t slash = file.rfind('\\');
        QString workDir;
        if (slash != std::string::npos) {
            const auto dir = FindOnDisk(file.substr(0, slash + 1), DiskKind::Directory);
            if (dir)
                workDir = QString::fromStdString(dir->string());
        }
        QStringList args;
        if (!params.empty()) {
            const QString p = FindDiskFile(params);
            args = p.isEmpty() ? SplitParameters(FromAnsi(params)) : QStringList{p};
        }
        m_services.Shell->Open(native, args, workDir);
        break;
    }
    case TCommandRule::About:
        if (OnAbout)
            OnAbout();
        break;
    case TCommandRule::Minimize:
        showMinimized();
        if (IsButton(kind) && index >= 0 && static_cast<std::size_t>(index) < m_btnPics.size()) {
            m_btnPics[static_cast<std::size_t>(index)].Hover = false;
            m_btnPics[static_cast<std::size_t>(index)].Pressed = false;
            m_btnPics[static_cast<std::size_t>(index)].Effect->CancelFade();
            update();
        }
        break;
    case TCommandRule::Options:
        if (m_options)
            m_options->ShowOptions();
        break;
    case TCommandRule::Html: {
        const std::string page = ValueAfterFirstEq(command);
        if (m_html) {
            if (m_html->CurrentViewerIndex() >= 0)
                m_history.RegisterChapter(static_cast<std::size_t>(m_html->CurrentViewerIndex()),
                                          page);
            m_html->ShowInPanel(HtmlPanelNumber(command), page);
        }
        break;
    }
    case TCommandRule::AddToFavorite:
        AddToFavorites();
        break;
    case TCommandRule::Tree1:
    case TCommandRule::Tree2:
    case TCommandRule::OnTree:
    case TCommandRule::OffTree:
        TreeCommand(rule);
        break;
    case TCommandRule::HistoryBack:
        ShowButtonPopup(-1, kind, index, true);
        break;
    case TCommandRule::HistoryForward:
        ShowButtonPopup(-2, kind, index, false);
        break;
    case TCommandRule::ShowFavorite:
        ShowButtonPopup(-3, kind, index, false);
        break;
    case TCommandRule::DeleteFromFavorite:
        ShowButtonPopup(-4, kind, index, false);
        break;
    case TCommandRule::ContextMenu:
        if (m_popups && kind == TElementKind::Button)
            m_popups->ShowPopup(ContextMenuNumber(command), QCursor::pos());
        break;
    case TCommandRule::NextChapter:
        if (TTreeViews* tree = TTreeViews::Choose(m_mainTree, m_altTree))
            tree->NextChapter();
        break;
    case TCommandRule::PrevChapter:
        if (TTreeViews* tree = TTreeViews::Choose(m_mainTree, m_altTree))
            tree->PrevChapter();
        break;
    case TCommandRule::Back:
        StepHistory(THistoryDirection::Back);
        break;
    case TCommandRule::Forward:
        StepHistory(THistoryDirection::Forward);
        break;
    case TCommandRule::CopyHtml:
        if (m_html)
            m_html->CopyPageFiles();
        break;
    case TCommandRule::PrintHtml:
        if (m_html)
            m_html->PrintPage();
        break;
    case TCommandRule::TopHtml:
        if (m_html)
            m_html->ScrollToTop();
        break;
    case TCommandRule::Help:
        FormKeyDown(Qt::Key_F1, Qt::NoModifier);
        break;
    case TCommandRule::ScreenNumber: {
        const int screen = ScreenIndexOfCommand(command);
        if (screen >= 0 && screen < m_description.ScreenCount())
            ChangeScreen(screen, kind, index);
        break;
    }
    default:
        // Pages, trees, history, favourites, search, players, slides, fonts
        // and printing are served by their components; without them these
        // commands do nothing.
        break;
    }
}

void TMainForm::StepHistory(THistoryDirection direction) {
    if (!m_html || !m_html->CurrentViewer())
        return;
    const int viewerIndex = m_html->CurrentViewerIndex();
    // Entries whose page is gone are stepped over; at the end of the history
    // the step only beeps.
    const auto target =
        HistoryStepTarget(direction, HistorySnapshot(viewerIndex),
                          [](std::string_view name) { return ArchiveFileExists(name); });
    if (!target) {
        QApplication::beep();
        return;
    }
    GoToHistoryEntry(*target);
}

void TMainForm::GoToHistoryEntry(int entry) {
    TFrameViewer* viewer = m_html ? m_html->CurrentViewer() : nullptr;
    if (!viewer)
        return;
    const int viewerIndex = m_html->CurrentViewerIndex();
    const std::string before = viewer->CurrentDocument();
    m_html->GoToHistory(entry);
    const std::string after = viewer->CurrentDocument();
    // The switch of the chapter now shown is pressed.
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s >= m_description.Switches.size())
        return;
    const auto presses =
        m_history.SwitchesToPress(static_cast<std::size_t>(viewerIndex), before, after,
                                  m_description.Switches[s], m_description.Groups[s]);
    // The switch follows with its state and picture only, as a Shift-click
    // gives them: its own command would jump to the chapter's first page and
    // lose the entry the step landed on.
    for (const TSwitchPress& press : presses)
        FormMouseDown(Qt::LeftButton, Qt::ShiftModifier, QPoint(press.X, press.Y));
}

void TMainForm::CreateFavorites() {
    // One store of bookmarks for the whole run, whatever screens have a
    // favourites list: the lists of each screen show it as they are built.
    if (m_settings && !m_favorites && (m_html || m_description.HasPopups()))
        m_favorites = std::make_unique<THtmlFavorite>(*m_settings, nullptr);
}

void TMainForm::ShowButtonPopup(std::int32_t type, TElementKind kind, int index, bool rightCorner) {
    if (!m_popups || kind != TElementKind::Button || index < 0)
        return;
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s >= m_description.Buttons.size() ||
        static_cast<std::size_t>(index) >= m_description.Buttons[s].size())
        return;
    const RBtn& b = m_description.Buttons[s][static_cast<std::size_t>(index)];
    m_popups->ShowPopup(type, mapToGlobal(QPoint(rightCorner ? b.Right : b.Left, b.Bottom)));
}

void TMainForm::TreeCommand(TCommandRule rule) {
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

void TMainForm::AddToFavorites() {
    TFrameViewer* viewer = m_html ? m_html->CurrentViewer() : nullptr;
    THtmlFavorite* favorites = Favorites();
    if (!favorites || !viewer || !viewer->isVisible())
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
    favorites->AddCurrentPage(title, viewer->CurrentDocument(),
                              viewer->ActiveDocument()->ScrollPos());
}

bool TMainForm::RunSpecialCommand(const std::string& command) {
    // A favourite opens its page at the place it was read at.
    if (const auto target = ParseHtmlPosCommand(command)) {
        if (m_html && !IsBusy() && m_html->OpenPage(target->Document))
            if (TFrameViewer* viewer = m_html->CurrentViewer())
                viewer->ActiveDocument()->ScrollToY(target->ScrollY);
        return true;
    }
    // Items of the history popups carry "history=" and the entry's index.
    if (const auto entry = HistoryCommandIndex(command)) {
        if (!IsBusy())
            GoToHistoryEntry(*entry);
        return true;
    }
    return false;
}

void TMainForm::ChangeScreen(int screen, TElementKind kind, int index) {
    // The element that carried the command forgets its hover and press.
    const std::size_t old = static_cast<std::size_t>(m_currentScreen);
    if (index >= 0) {
        const std::size_t i = static_cast<std::size_t>(index);
        if (kind == TElementKind::SwitchOne && old < m_description.Switches.size() &&
            i < m_description.Switches[old].size())
            m_description.Switches[old][i].Hover = false;
        else if (kind == TElementKind::SwitchGroup && old < m_description.Groups.size() &&
                 i < m_description.Groups[old].size())
            m_description.Groups[old][i].Hover = false;
        else if (kind == TElementKind::Button && i < m_btnPics.size()) {
            m_btnPics[i].Hover = false;
            m_btnPics[i].Pressed = false;
            m_btnPics[i].Effect->CancelFade();
        }
    }
    // Hover belongs to the screen being left.
    if (old < m_description.Switches.size()) {
        for (RSwthOne& sw : m_description.Switches[old])
            sw.Hover = false;
        for (RSwthGrp& g : m_description.Groups[old])
            g.Hover = false;
    }
    m_currentScreen = screen;
    // The hourglass only: the switch commands below must still run.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;
    LoadBackground();
    BuildScreenElements();
    ApplyHints();
    if (m_pathBox)
        m_pathBox->ShowPathBoxes(screen);
    emit ScreenChanged(screen);
    ShowPiston(screen != 1);
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
    if (TTreeViews* tree = TTreeViews::Choose(m_mainTree, m_altTree); tree && m_html)
        if (TFrameViewer* viewer = m_html->CurrentViewer())
            tree->SyncWithPage(viewer->CurrentDocument());
    ShowPanelBkgrd();
    RunScreenSwitchCommands(true);
    const std::size_t s = static_cast<std::size_t>(screen);
    if (s < m_description.Groups.size()) {
        auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (groups[i].State && groups[i].Command != "3d") {
                const std::string go = groups[i].Command;
                RunCommand(go, std::string(), TCallOrigin::Program, TElementKind::SwitchGroup,
                           static_cast<int>(i));
                if (m_currentScreen != screen)
                    break; // a command changed the screen again
            }
        }
    }
    update();
    // The hover and press pictures of the new screen, once it is painted.
    QTimer::singleShot(0, this, [this] { EnsureElementPictures(); });
}

void TMainForm::RunScreenSwitchCommands(bool screenChange) {
    const int screen = m_currentScreen;
    const std::size_t s = static_cast<std::size_t>(screen);
    if (s >= m_description.Switches.size())
        return;
    // On a screen change the pass is made twice, so a switch whose command
    // depends on another switch's sees that one's command done.
    const int passes = screenChange ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        auto& switches = m_description.Switches[s];
        for (std::size_t i = 0; i < switches.size(); ++i) {
            const RSwthOne& sw = switches[i];
            if (screenChange && sw.CommandDown == "3d")
                continue;
            const std::string command = sw.State ? sw.CommandDown : sw.CommandUp;
            RunCommand(command, std::string(), TCallOrigin::Program, TElementKind::SwitchOne,
                       static_cast<int>(i));
            if (m_currentScreen != screen)
                return;
        }
    }
    if (!screenChange) {
        auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (groups[i].State) {
                const std::string go = groups[i].Command;
                RunCommand(go, std::string(), TCallOrigin::Program, TElementKind::SwitchGroup,
                           static_cast<int>(i));
                if (m_currentScreen != screen)
                    return;
            }
        }
    }
}

// --------------------------------------------------------------------- keys

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Key preview: the window sees keys meant for its own children first.
        // A key its target leaves unhandled goes on to the target's parents
        // through here again; it is previewed once.
        auto* w = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool passedOn = event == m_previewedKey && key->timestamp() == m_previewedKeyTime &&
                              m_previewedReceiver && w && w->isAncestorOf(m_previewedReceiver);
        if (w && (w == this || isAncestorOf(w)) && w->isWindow() == (w == this) && !passedOn) {
            m_previewedKey = event;
            m_previewedKeyTime = key->timestamp();
            m_previewedReceiver = w;
            if (FormKeyDown(key->key(), key->modifiers()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    FinishStartup();
    if (CarEffectRunning())
        return false;
    const Qt::KeyboardModifiers mods =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Only the chapter keys are taken from the control that has the focus;
    // every other key goes on to it after its action here.
    if (key == Qt::Key_Escape) {
        if (m_startedWithParameters || m_mode != TRunMode::Skinned) {
            QApplication::quit();
            return true;
        }
        // The search dialog and the popups close here once they are present.
        if (OnDeactivate)
            OnDeactivate();
        return false;
    }
    if (key == Qt::Key_F1) {
        if (m_currentScreen == 0)
            ShowHelpTopic("Topic12");
        else if (m_currentScreen == 1)
            ShowHelpTopic("Topic13");
        return false;
    }
    // The page keys work on the document screen (or in a document window).
    if (!m_html || !(m_currentScreen == 1 || m_startedWithParameters))
        return false;
    if (mods == Qt::ShiftModifier && key == Qt::Key_Z)
        ClickTreeSwitches("tree1");
    else if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_Z)
        ClickTreeSwitches("offtree");
    else if (mods == Qt::ShiftModifier && key == Qt::Key_Up) {
        RunCommand("prevchapter", std::string(), TCallOrigin::Program, TElementKind::None, -1);
        return true;
    } else if (mods == Qt::ShiftModifier && key == Qt::Key_Down) {
        RunCommand("nextchapter", std::string(), TCallOrigin::Program, TElementKind::None, -1);
        return true;
    } else if (mods == Qt::ShiftModifier && key == Qt::Key_Home)
        RunCommand("1", std::string(), TCallOrigin::Program, TElementKind::None, -1);
    else if (mods == Qt::ControlModifier && key == Qt::Key_I)
        AddToFavorites();
    else if (mods == Qt::ControlModifier && key == Qt::Key_P)
        m_html->PrintPage();
    else if (mods == Qt::ControlModifier && key == Qt::Key_A)
        m_html->SelectAll();
    // Shift+T (thesaurus) and Ctrl+F (the search page) belong to windows
    // that plug in later.
    return false;
}

void TMainForm::ClickTreeSwitches(std::string_view command) {
    // A left click on each switch that shows or hides the tree, as the
    // mouse would give it; the positions are taken first, since a click may
    // rebuild the screen.
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s >= m_description.Switches.size())
        return;
    std::vector<QPoint> points;
    for (const RSwthOne& sw : m_description.Switches[s])
        if (AnsiSameText(sw.CommandUp, command) || AnsiSameText(sw.CommandDown, command))
            points.emplace_back(sw.Left + 1, sw.Top + 1);
    const int screen = m_currentScreen;
    for (const QPoint p : points) {
        if (m_currentScreen != screen)
            break;
        FormMouseDown(Qt::LeftButton, Qt::NoModifier, p);
        FormMouseUp(p);
    }
}

void TMainForm::ShowHelpTopic(const std::string& topic) {
    if (OnHelpTopic)
        OnHelpTopic(topic);
}

// ------------------------------------------------------------------ closing

void TMainForm::closeEvent(QCloseEvent* event) {
    FinishStartup();
    if (m_mode != TRunMode::Skinned) {
        // A document, help or thesaurus window is the whole process.
        event->accept();
        QApplication::quit();
        return;
    }
    if (m_startedWithParameters) {
        event->accept();
        return;
    }
    event->ignore();
    if (!IsAnimating())
        ClosingStep();
}

void TMainForm::ClosingStep() {
    auto closeByTitle = [](const char* utf8Title, bool repeat) {
        const std::string title = Utf8ToAnsi(utf8Title);
        for (int round = 0; round < (repeat ? kMaxCloseRounds : 1); ++round) {
            WindowHandle handle;
            if (!FindTopWindowByTitle(title, handle) || !TWindowDirectory::CloseWindow(handle))
                break;
        }
    };
    closeByTitle("Помощь", false);
    closeByTitle("Тезаурус", false);
    for (const char* title :
         {"Электросхема", "Help System: Руководство по ремонту и эксплуатации автомобиля",
          "Справка: Руководство по ремонту и эксплуатации автомобиля",
          "Help Topics: Руководство по ремонту и эксплуатации автомобиля",
          "Руководство по ремонту и эксплуатации автомобиля"}) {
        // This window may carry that caption itself; it closes by its animation.
        if (Utf8ToAnsi(title) != m_title)
            closeByTitle(title, true);
    }
    if (m_options && m_options->isVisible())
        m_options->close();
    if (!m_startedWithParameters)
        closeByTitle("Увеличенная картинка", true);
    StartClosingAnimation();
}

void TMainForm::StartClosingAnimation() {
    m_closing = true;
    m_animX = 0;
    m_animY = 0;
    m_animTimer = std::make_unique<TSuperTimer>();
    m_animTimer->SetInterval(2);
    m_animTimer->OnTimer = [this](TSuperTimer*) { ClosingTick(); };
    m_animTimer->SetEnabled(true);
}

void TMainForm::ClosingTick() {
    const int w = width();
    const int h = height();
    QRegion region;
    if (m_animY <= h / 2 - 10) {
        region = RoundRectRegion(0, m_animY, w, h - m_animY, 20, 20);
        m_animY += 2;
    } else if (m_animX <= w / 2 - 10) {
        region = RoundRectRegion(m_animX, m_animY, w - m_animX, h - m_animY, 20, 20);
        m_animX += 3;
    } else if (m_animX <= w / 2) {
        region = EllipseRegion(m_animX, m_animY, w - m_animX, h - m_animY);
        m_animX += 1;
        m_animY += 1;
    } else {
        m_animTimer->SetEnabled(false);
        hide();
        QApplication::quit();
        return;
    }
    SetWindowRegion(region.intersected(SkinRegion()));
}

void TMainForm::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_animTimer.reset();
    if (m_mode == TRunMode::Skinned && !m_alreadyRunning && m_settings) {
        const std::size_t s = static_cast<std::size_t>(m_currentScreen);
        if (m_exitButton >= 0 && s < m_description.Buttons.size() &&
            static_cast<std::size_t>(m_exitButton) < m_description.Buttons[s].size()) {
            const std::string& sound =
                m_description.Buttons[s][static_cast<std::size_t>(m_exitButton)].Sound;
            if (!sound.empty() && sound != "no" && GeneralSettings() && GeneralSettings()->Wav &&
                m_services.Sound)
                m_services.Sound->PlaySync(ProgramDir() + sound);
        }
        // Background music fades out here once the music player is present.
    }
    RemoveProgramFonts();
    // Components store their settings (page fonts, path-box texts) as they go.
    // The lists let go of the bookmarks before the bookmarks are stored.
    m_popups.reset();
    m_favorites.reset();
    m_html.reset();
    m_pathBox.reset();
    if (m_mode == TRunMode::Skinned && !m_startedWithParameters && m_settings)
        SaveSwitchStates();
    for (auto& p : m_btnPics)
        if (p.Effect)
            p.Effect->CancelFade();
    for (auto& p : m_swthOnePics)
        if (p.Effect)
            p.Effect->CancelFade();
    for (auto& p : m_swthGrpPics)
        if (p.Effect)
            p.Effect->CancelFade();
}

// ------------------------------------------------------- saved switch states

void TMainForm::SaveSwitchStates() {
    if (!m_settings)
        return;
    for (std::size_t s = 0; s < m_description.Switches.size(); ++s) {
        const auto& switches = m_description.Switches[s];
        for (std::size_t i = 0; i < switches.size(); ++i)
            if (switches[i].Store)
                m_settings->WriteBool(
                    SwitchStateValueName(false, static_cast<int>(s), static_cast<int>(i)),
                    switches[i].State);
    }
    for (std::size_t s = 0; s < m_description.Groups.size(); ++s) {
        const auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i)
            if (groups[i].Store)
                m_settings->WriteBool(
                    SwitchStateValueName(true, static_cast<int>(s), static_cast<int>(i)),
                    groups[i].State);
    }
}

void TMainForm::RestoreSwitchStates() {
    if (!m_settings)
        return;
    for (std::size_t s = 0; s < m_description.Switches.size(); ++s) {
        auto& switches = m_description.Switches[s];
        for (std::size_t i = 0; i < switches.size(); ++i) {
            switches[i].Hover = false;
            if (!switches[i].Store)
                continue;
            if (const auto v = m_settings->ReadBool(
                    SwitchStateValueName(false, static_cast<int>(s), static_cast<int>(i))))
                switches[i].State = *v;
        }
    }
    for (std::size_t s = 0; s < m_description.Groups.size(); ++s) {
        auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i) {
            groups[i].Hover = false;
            if (!groups[i].Store)
                continue;
            if (const auto v = m_settings->ReadBool(
                    SwitchStateValueName(true, static_cast<int>(s), static_cast<int>(i))))
                groups[i].State = *v;
        }
    }
}

} // namespace carmanual
