#include "mainform.h"

#include "ansi.h"
#include "archive.h"
#include "commandrules.h"
#include "instancelock.h"
#include "paths.h"
#include "pictures.h"
#include "qtansi.h"
#include "runmode.h"
#include "settingsstore.h"
#include "shellopen.h"
#include "sound.h"
#include "windowdirectory.h"
#include "windowshape.h"

#include "captions.h"
#include "controlpopupwindow.h"
#include "effbtncar.h"
#include "effcar.h"
#include "fontwarmup.h"
#include "formoptions.h"
#include "frameviewer.h"
#include "generalsettings.h"
#include "htmlframe.h"
#include "panelbkgrd.h"
#include "pathinputbox.h"
#include "scalebar.h"
#include "statusline.h"
#include "supertimer.h"
#include "textmsg.h"
#include "treechoice.h"
#include "treeviews.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <iostream>

namespace carmanual {

namespace {

// When the first frame is not painted this soon, start-up goes on anyway.
constexpr int kStartupFallbackMs = 250;

// Strict hit test: a point on an element's border is outside it.
template <typename T> bool Hit(const T& e, QPoint p) {
    return e.Left < p.x() && p.x() < e.Right && e.Top < p.y() && p.y() < e.Bottom;
}

QRect ElementRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

bool HasSound(const std::string& sound) {
    return !sound.empty() && sound != "no";
}

} // namespace

TMainForm::TMainForm(TMainServices services) : QWidget(nullptr), m_services(std::move(services)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    if (ShapeNeedsTranslucency())
        setAttribute(Qt::WA_TranslucentBackground);
    m_carEffect = std::make_unique<TEffCar>(this);
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    FormDestroy();
}

const TGeneralSettings* TMainForm::GeneralSettings() const {
    return m_options ? &m_options->Settings() : nullptr;
}

bool TMainForm::CarEffectRunning() const {
    return m_carEffect && m_carEffect->Running();
}

bool TMainForm::IsAnimating() const {
    return m_animTimer && m_animTimer->Enabled();
}

// ---------------------------------------------------------------- start-up

TMainForm::TCreateResult TMainForm::FormCreate(const QStringList& arguments) {
    m_exitButton = -1;
    m_startedWithParameters = !arguments.isEmpty();
    std::vector<std::string> args;
    for (const QString& a : arguments)
        args.push_back(a.toStdString());
    const TRunModeChoice choice = ChooseRunMode(args);
    // The thesaurus and document windows are plain, framed windows; what
    // they show is built by their own modes. Closing one ends its process.
    if (choice.Mode == TRunMode::Thesaurus) {
        m_mode = TRunMode::Thesaurus;
        setWindowFlags(Qt::Window);
        setWindowTitle(QStringLiteral("Тезаурус"));
        resize(640, 480);
        return TCreateResult::Shown;
    }
    if (choice.Mode == TRunMode::Help) {
        m_mode = TRunMode::Help;
        setWindowFlags(Qt::Window);
        setWindowTitle(choice.HelpCaption ? QStringLiteral("Помощь")
                                          : QStringLiteral("Увеличенная картинка"));
        resize(800, 600);
        return TCreateResult::Shown;
    }
    m_mode = TRunMode::Skinned;
    return CreateSkinned();
}

TMainForm::TCreateResult TMainForm::CreateSkinned() {
    TDynamicStringArray lines;
    if (!LoadStructLines(lines))
        return TCreateResult::NoManual;
    m_title = ReadTitleFile();
    ReadWindowKeywords(lines, m_description);

    m_instanceLock = std::make_unique<TInstanceLock>(FromAnsi(m_title));
    if (!m_instanceLock->TryAcquire()) {
        m_alreadyRunning = true;
        m_startedWithParameters = true; // no dialog window, no closing animation
        return TCreateResult::AlreadyRunning;
    }
    QGuiApplication::setApplicationDisplayName(FromAnsi(m_title));
    setWindowTitle(FromAnsi(m_title));

    ReadElements(lines, m_description);
    m_fontWarmup = std::make_unique<TFontWarmup>(FirstScreenFontFamilies());
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive && OnDeactivate)
            OnDeactivate();
    });

    if (m_description.HasVertexMain) {
        m_region = PolygonRegion(m_description.VertexMain);
        m_hasRegion = !m_region.isEmpty();
    }

    // Settings: the store of this title.
    m_settings = m_services.OpenSettings ? m_services.OpenSettings(m_title) : nullptr;
    if (!m_settings)
        m_settings = std::make_unique<TMemorySettingsStore>();

    // Codecs come with the system's media framework; nothing to install here.
    setAcceptDrops(true);

    m_currentScreen = 0;
    LoadBackground();
    if (!m_background.isNull())
        setFixedSize(m_background.size());
    else
        setFixedSize(800, 600);
    BuildScreenElements();
    RestoreSwitchStates();

    // The first frame needs the screen's pictures, its text fields, its
    // panels and the piston. What the first screen does not show is built
    // once that frame is on the display and the window has opened
    // (FinishStartup), in the same order as ever; a click or key that comes
    // sooner completes it first.
    m_textMsg = TTextMsg::CreateTextFields(m_description.Texts, this);
    const TComponentStage firstScreen = FirstScreenComponents();
    if (firstScreen == TComponentStage::All)
        FinishStartup();
    else
        BuildComponents(firstScreen);
    CreatePiston();

    // The start clip window is not part of this build: the window opens at once.
    ShowMainWindow();
    if (!m_startupFinished) {
        // The first paint starts the rest, or the end of the opening
        // animation; this covers a window system that never exposes the
        // window (its shape still empty, say).
        QTimer::singleShot(kStartupFallbackMs, this, [this] {
            if (!IsAnimating())
                FinishStartup();
        });
    }
    return TCreateResult::Shown;
}

QStringList TMainForm::FirstScreenFontFamilies() const {
    QStringList families;
    auto add = [&families](const std::string& name) {
        const QString family = FromAnsi(name);
        if (!family.isEmpty() && !families.contains(family, Qt::CaseInsensitive))
            families.push_back(family);
    };
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s < m_description.Buttons.size())
        for (const RBtn& b : m_description.Buttons[s])
            if (!b.Caption.empty())
                add(b.FontName);
    if (s < m_description.Switches.size())
        for (const RSwthOne& sw : m_description.Switches[s])
            add(sw.FontName);
    if (s < m_description.Groups.size())
        for (const RSwthGrp& g : m_description.Groups[s])
            add(g.FontName);
    for (const RText& t : m_description.Texts)
        if (t.Screen == m_currentScreen)
            add(t.Font);
    return families;
}

TMainForm::TComponentStage TMainForm::FirstScreenComponents() const {
    auto onScreen = [this](const auto& elements) {
        return std::any_of(elements.begin(), elements.end(),
                           [this](const auto& e) { return e.Screen == m_currentScreen; });
    };
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    const bool switches =
        (s < m_description.Switches.size() && !m_description.Switches[s].empty()) ||
        (s < m_description.Groups.size() && !m_description.Groups[s].empty());
    const bool panels = onScreen(m_description.HtmlPanels) || onScreen(m_description.PathInputs) ||
                        onScreen(m_description.FindTexts) || onScreen(m_description.Clips) ||
                        onScreen(m_description.Images);
    if (!panels)
        return TComponentStage::None;
    // The switches' start-up commands may change what the panels show (a
    // page, a folder): their first frame waits for everything.
    if (switches || onScreen(m_description.Clips) || onScreen(m_description.Images))
        return TComponentStage::All;
    if (onScreen(m_description.PathInputs) || onScreen(m_description.FindTexts))
        return TComponentStage::PathBoxes;
    return TComponentStage::PagePanels;
}

void TMainForm::FinishStartup() {
    if (m_startupFinished || m_mode != TRunMode::Skinned || !m_settings)
        return;
    m_startupFinished = true;
    m_fontWarmup.reset();

    // The icon: the window system takes it at any time, and converting it
    // for the window costs the first frame time.
    if (!m_description.Icon.empty()) {
        const QImage icon = LoadPicture(ProgramDir() + m_description.Icon);
        if (!icon.isNull())
            QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    }
    const bool anyImages = !m_description.Images.empty();
    m_options = new TFormOptions(*m_settings, anyImages, this);
    connect(m_options, &QDialog::finished, this, [this] { ApplyHints(); });
    connect(m_options, &TFormOptions::chooseFontsRequested, this, [this] {
        if (m_html)
            m_html->ChooseFonts();
    });

    BuildComponents(TComponentStage::All);
    AddProgramFonts();
    RunScreenSwitchCommands(false);

    bool anySound = false;
    for (const auto& screen : m_description.Buttons)
        for (const RBtn& b : screen)
            anySound = anySound || b.Sound != "no";
    const std::string& rolic = m_description.Rolic;
    m_options->EnableCheckBoxes(!rolic.empty() && rolic != "no", anySound);
    if (m_description.BgSoundDef.empty())
        m_options->SetBGSound(false); // for this run only
    m_options->SwitchOffAnimation();  // for this run only
    ApplyHints();
    EnsureElementPictures();
    emit StartupCompleted();
}

void TMainForm::CreatePiston() {
    // The animated piston on every screen but the document screen.
    const std::string gif = ProgramDir() + "piston.gif";
    try {
        TComprStream stream(gif);
        m_pistonData = new QBuffer(this);
        m_pistonData->setData(
            QByteArray(stream.Bytes().data(), static_cast<qsizetype>(stream.Size())));
        m_pistonData->open(QIODevice::ReadOnly);
        m_pistonMovie = new QMovie(m_pistonData, QByteArray(), this);
        if (m_pistonMovie->isValid()) {
            m_piston = new QLabel(this);
            m_piston->setAttribute(Qt::WA_TransparentForMouseEvents);
            m_piston->setMovie(m_pistonMovie);
            m_pistonMovie->jumpToFrame(0);
            m_piston->move(583, 470);
            m_piston->resize(m_pistonMovie->currentImage().size());
            ShowPiston(m_currentScreen != 1);
        }
    } catch (const EFOpenError&) {
    }
}

void TMainForm::BuildComponents(TComponentStage upTo) {
    // In the order they build on each other: each may use the ones before.
    // The text fields come first and are already there: the first frame
    // shows them. A stage built for the first frame is not built again.
    if (m_componentsBuilt < TComponentStage::PagePanels && upTo >= TComponentStage::PagePanels)
        BuildPagePanels();
    if (m_componentsBuilt < TComponentStage::PathBoxes && upTo >= TComponentStage::PathBoxes) {
        // The search boxes come here once they are present; then the path boxes.
        if (!m_description.PathInputs.empty()) {
            m_pathBox = std::make_unique<TPathInputBox>(m_description.PathInputs, this, *m_settings,
                                                        m_currentScreen);
            connect(m_pathBox.get(), &TPathInputBox::mouseMovedOverBox, this,
                    [this] { FormMouseMove(QPoint(-1, -1)); });
        }
        m_componentsBuilt = TComponentStage::PathBoxes;
    }
    if (m_componentsBuilt < TComponentStage::All && upTo >= TComponentStage::All) {
        CreateFavorites();
        BuildPopupsAndTrees();
        m_scaleBar = std::make_unique<TScaleBar>("status_dn.bmp", "status_up.bmp", 1, 75, 33,
                                                 [this] { return m_currentScreen; });
        m_componentsBuilt = TComponentStage::All;
    }
}

void TMainForm::BuildPagePanels() {
    m_statusLine = new TStatusLine(m_textMsg.get(), this);
    m_panelBkgrd = new TPanelBkgrd(this, m_description.Splitters.empty()
                                             ? TPanelBkgrd::kDefaultSplitterColor
                                             : m_description.Splitters.front().Color);

    THtmlFrameServices pages;
    pages.MainWindow = this;
    pages.Settings = m_settings.get();
    pages.Shell = m_services.Shell;
    pages.StatusLine = m_statusLine;
    pages.CurrentScreen = [this] { return m_currentScreen; };
    pages.SetDocumentPane = [this](QWidget* pane) {
        m_panelBkgrd->SetClientPane(pane);
        ShowPanelBkgrd();
    };
    if (!m_description.PathInputs.empty())
        pages.CurrentPathBoxFolder = [this]() -> std::optional<std::string> {
            return m_pathBox ? m_pathBox->GetCurrentPath() : std::nullopt;
        };
    pages.OnMouseOverPage = [this] { FormMouseMove(QPoint(-1, -1)); };
    pages.OnHidePopups = [this] {
        if (OnDeactivate)
            OnDeactivate();
    };
    // The page's own menu on a right click; the controller is built later.
    pages.OnContextPopup = [this](QPoint globalPos) {
        if (m_popups)
            m_popups->ShowPopup(popuptype::ContextHtml, globalPos);
    };
    pages.OnHistoryChange = [this](TFrameViewer*, int viewerIndex) {
        OnPageHistoryChange(viewerIndex);
    };
    m_html = BuildHtmlFrame(m_description.HtmlPanels, std::move(pages));
    if (m_html) // listing pages of RAR archives are written to the temporary folder
        m_history = THistoryChapters(static_cast<std::size_t>(m_html->ViewerCount()), TempDir());
    m_componentsBuilt = TComponentStage::PagePanels;
}

void TMainForm::BuildPopupsAndTrees() {
    if (m_description.HasPopups()) {
        m_popups = std::make_unique<TControlPopupWindow>(
            m_description.Popups, this,
            [this](const std::string& command) {
                RunCommand(command, std::string(), TCallOrigin::Program, TElementKind::Button, 0);
            },
            m_favorites.get(), m_currentScreen);
        TPopupPageActions actions;
        actions.GoToHistory = [this](std::int32_t entry) { GoToHistoryEntry(entry); };
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
        OnDeactivate = [this] { m_popups->HideAll(); };
    }

    // With exactly one tree element the main tree is built; with exactly two
    // only the second, as the alternate tree.
    const TTreePlan plan = PlanTrees(m_description.Trees.size());
    auto makeTree = [this](const RTree& element) {
        auto* tree = new TTreeViews(m_panelBkgrd, element, ProgramDir(), m_currentScreen);
        tree->SetOpenPage([this](const std::string& page) {
            if (m_html)
                m_html->OpenContentsPage(page);
        });
        tree->SetCurrentDocument([this] {
            TFrameViewer* viewer = m_html ? m_html->CurrentViewer() : nullptr;
            return viewer ? viewer->CurrentDocument() : std::string();
        });
        connect(tree, &TTreeViews::Pressed, this, [this] {
            if (OnDeactivate)
                OnDeactivate();
        });
        connect(tree, &TTreeViews::MouseMoved, this, [this] { FormMouseMove(QPoint(-1, -1)); });
        connect(tree, &TTreeViews::ChapterHintsChanged, this, [this] { ApplyHints(); });
        m_panelBkgrd->SetTreePane(tree);
        return tree;
    };
    if (plan.MainElement >= 0)
        m_mainTree = makeTree(m_description.Trees[static_cast<std::size_t>(plan.MainElement)]);
    if (plan.AlternateElement >= 0)
        m_altTree = makeTree(m_description.Trees[static_cast<std::size_t>(plan.AlternateElement)]);
    if (TTreeViews* tree = TTreeViews::Choose(m_mainTree, m_altTree); tree && tree->IsShown())
        m_panelBkgrd->MoveSplitter(tree->width() + 1);
    ShowPanelBkgrd();
}

THtmlFavorite* TMainForm::Favorites() const {
    return m_favorites.get();
}

THistorySnapshot TMainForm::HistorySnapshot(int viewerIndex) const {
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

void TMainForm::OnPageHistoryChange(int viewerIndex) {
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
        static_cast<std::size_t>(viewerIndex), HistorySnapshot(viewerIndex), title,
        [](std::string_view name) { return ArchiveFileExists(name); });
    m_html->SetRarListing(viewerIndex, update.ArchiveListing);
    // The rest shows the page of the screen shown: a hidden screen's viewer
    // that loads a page changes none of it.
    if (viewerIndex != m_html->CurrentViewerIndex())
        return;
    if (m_textMsg && update.PageTitleText)
        m_textMsg->SetFieldText(FromAnsi(*update.PageTitleText), 1, true);
    if (m_popups)
        m_popups->SetHistoryPopups(update.Back, update.Forward);
    if (TTreeViews* tree = TTreeViews::Choose(m_mainTree, m_altTree))
        tree->SyncWithPage(update.Document);
    if (OnHistoryUpdated)
        OnHistoryUpdated(update);
}

void TMainForm::RefreshHistoryPopups() {
    // The lists of the screen shown list the history of its own viewer.
    if (!m_popups || !m_html || m_html->CurrentViewerIndex() < 0)
        return;
    const THistorySnapshot history = HistorySnapshot(m_html->CurrentViewerIndex());
    const TPageExists exists = [](std::string_view name) { return ArchiveFileExists(name); };
    m_popups->SetHistoryPopups(BackPopupItems(history, exists), ForwardPopupItems(history, exists));
}

void TMainForm::LoadBackground() {
    m_background = QImage();
    if (m_currentScreen >= 0 && m_currentScreen < m_description.ScreenCount()) {
        const std::string& name =
            m_description.ScreenBackgrounds[static_cast<std::size_t>(m_currentScreen)];
        if (!name.empty())
            m_background = LoadPicture(ProgramDir() + name);
    }
    if (m_background.isNull()) {
        m_background = QImage(width() > 0 ? width() : 800, height() > 0 ? height() : 600,
                              QImage::Format_RGB32);
        m_background.fill(Qt::white);
    }
}

void TMainForm::AddProgramFonts() {
    TDynamicStringArray masks{"*.ttf"};
    TDynamicStringArray fonts;
    ScanDirectory(ProgramDir(), masks, false, fonts, false);
    for (const std::string& font : fonts) {
        const QString path = FindDiskFile(font);
        if (path.isEmpty())
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id >= 0)
            m_fontIds.push_back(id);
    }
}

void TMainForm::RemoveProgramFonts() {
    for (int id : m_fontIds)
        QFontDatabase::removeApplicationFont(id);
    m_fontIds.clear();
}

void TMainForm::ShowPiston(bool show) {
    if (!m_piston)
        return;
    m_piston->setVisible(show);
    if (show)
        m_pistonMovie->start();
    else
        m_pistonMovie->stop();
}

void TMainForm::HideForEffect(bool hide) {
    if (m_currentScreen == 0)
        ShowPiston(!hide);
    else if (m_currentScreen == 1 && m_panelBkgrd)
        m_panelBkgrd->setVisible(!hide && m_panelBkgrd->Splitter()->count() > 0);
}

void TMainForm::ShowPanelBkgrd() {
    // The background panel belongs to the document screen and shows once a
    // tree or a page panel lies on it.
    if (m_panelBkgrd)
        m_panelBkgrd->setVisible(m_currentScreen == 1 && m_panelBkgrd->Splitter()->count() > 0);
}

void TMainForm::ApplyHints() {
    const bool hints = GeneralSettings() && GeneralSettings()->Hint;
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    auto apply = [hints](TMyControl* c, const std::string& hint) {
        if (c)
            c->setToolTip(hints ? FromAnsi(hint) : QString());
    };
    if (m_pathBox)
        m_pathBox->SetHintsShown(hints);
    if (s >= m_description.Buttons.size())
        return;
    for (std::size_t i = 0; i < m_btnPics.size() && i < m_description.Buttons[s].size(); ++i)
        apply(m_btnPics[i].Control, ButtonHint(m_description.Buttons[s][i]));
    for (std::size_t i = 0; i < m_swthOnePics.size() && i < m_description.Switches[s].size(); ++i)
        apply(m_swthOnePics[i].Control, m_description.Switches[s][i].Hint);
    for (std::size_t i = 0; i < m_swthGrpPics.size() && i < m_description.Groups[s].size(); ++i)
        apply(m_swthGrpPics[i].Control, m_description.Groups[s][i].Hint);
}

std::string TMainForm::ButtonHint(const RBtn& button) const {
    // The chapter buttons name the neighbouring chapters of the contents.
    const TCommandRule rule = MatchCommandRule(button.Command);
    if (rule != TCommandRule::NextChapter && rule != TCommandRule::PrevChapter)
        return button.Hint;
    const TTreeViews* tree = TTreeViews::Choose(m_mainTree, m_altTree);
    if (!tree)
        return button.Hint;
    return ToAnsi(rule == TCommandRule::NextChapter ? tree->NextChapterHint()
                                                    : tree->PrevChapterHint());
}

// ------------------------------------------------------- opening animation

QRegion TMainForm::SkinRegion() const {
    return m_hasRegion ? m_region : QRegion(rect());
}

void TMainForm::SetWindowRegion(const QRegion& region) {
    // The frame is drawn whole whatever the shape, so a new shape only shows
    // more or less of it: nothing is painted again (where the shape does not
    // cut the drawing, ApplyWindowShape repaints). Repainting the window at
    // every step of the opening animation made each step cost a full frame.
    ApplyWindowShape(this, region);
}

void TMainForm::ShowMainWindow() {
    // Centred on the screen the first time it is shown.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
    // CARMANUAL_NO_OPENING_ANIMATION=1 shows the window at once in its own
    // shape: start-up measurements time the first frame, not the animation.
    if (qEnvironmentVariableIntValue("CARMANUAL_NO_OPENING_ANIMATION") != 0) {
        SetWindowRegion(SkinRegion());
        show();
        raise();
        activateWindow();
    } else {
        StartOpeningAnimation();
    }
    // Background music belongs to the music player, which plugs in here.
}

void TMainForm::StartOpeningAnimation() {
    SetWindowRegion(QRegion());
    show();
    raise();
    activateWindow();
    m_animX = width() / 2;
    m_animY = height() / 2;
    m_animTimer = std::make_unique<TSuperTimer>();
    m_animTimer->SetInterval(1);
    // Steps keep to their millisecond: the first frame and the steps' own
    // work are taken off the following sleeps instead of adding up.
    m_animTimer->SetCompensate(true);
    m_animTimer->OnTimer = [this](TSuperTimer*) {
        const int w = width();
        const int h = height();
        if (m_animX < -(w / 2)) {
            m_animTimer->SetEnabled(false);
            // The growing ellipse ends by covering the window; the skin's own
            // shape takes over so the window keeps the outline it was drawn with.
            SetWindowRegion(SkinRegion());
            // What the first screen does not show is built now: built
            // sooner, it would hold up the steps of the animation.
            FinishStartup();
            return;
        }
        QRegion ellipse = EllipseRegion(m_animX, m_animY, w - m_animX, h - m_animY);
        SetWindowRegion(ellipse.intersected(SkinRegion()));
        m_animX -= 4;
        m_animY -= 2;
    };
    m_animTimer->SetEnabled(true);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A changed scale factor may have dropped the mask: apply it again.
    if (!IsAnimating() && !m_closing)
        ApplyWindowShape(this, SkinRegion());
}

// ---------------------------------------------------------------- elements

TMyControl* TMainForm::NewControl() {
    TMyControl::Handlers h;
    h.mouseMove = [this](QMouseEvent*, QPoint p) { FormMouseMove(p); };
    h.mouseDown = [this](QMouseEvent* e, QPoint p) {
        FormMouseDown(e->button(), e->modifiers(), p);
    };
    h.mouseUp = [this](QMouseEvent*, QPoint p) { FormMouseUp(p); };
    auto* control = new TMyControl(this, std::move(h));
    control->show();
    return control;
}

void TMainForm::PlaceControl(TMyControl* control, const QRect& rect, const std::string& hint) {
    const bool hints = GeneralSettings() && GeneralSettings()->Hint;
    control->Place(rect, hints ? FromAnsi(hint) : QString());
}

void TMainForm::BuildScreenElements() {
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    static TDynamicBtnArray noButtons;
    static TDynamicSwthOneArray noSwitches;
    static TDynamicSwthGrpArray noGroups;
    TDynamicBtnArray& buttons =
        s < m_description.Buttons.size() ? m_description.Buttons[s] : noButtons;
    TDynamicSwthOneArray& switches =
        s < m_description.Switches.size() ? m_description.Switches[s] : noSwitches;
    TDynamicSwthGrpArray& groups =
        s < m_description.Groups.size() ? m_description.Groups[s] : noGroups;

    auto resize = [this](auto& pics, std::size_t n) {
        while (pics.size() > n) {
            delete pics.back().Control;
            pics.pop_back();
        }
        while (pics.size() < n) {
            pics.emplace_back();
            pics.back().Control = NewControl();
            pics.back().Effect =
                std::make_unique<TEffBtnCar>(this, static_cast<int>(pics.size() - 1), 4);
        }
    };
    resize(m_btnPics, buttons.size());
    resize(m_swthOnePics, switches.size());
    resize(m_swthGrpPics, groups.size());

    // The idle pictures now: they are part of the screen. The hover and
    // press pictures follow once the screen is shown (EnsureElementPictures).
    m_elementPicturesLoaded = false;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        RBtn& b = buttons[i];
        TBtnPic& pic = m_btnPics[i];
        pic.Hover = false;
        pic.Pressed = false;
        pic.Effect->CancelFade();
        pic.Up = LoadPicture(ProgramDir() + b.FileUp);
        b.Right = b.Left + pic.Up.width();
        b.Bottom = b.Top + pic.Up.height();
        DrawButtonCaption(pic.Up, b, TPictureName::Up);
        pic.Move = QImage();
        pic.Down = QImage();
        PlaceControl(pic.Control, ElementRect(b.Left, b.Top, b.Right, b.Bottom), ButtonHint(b));
        pic.Effect->SetStep(b.Command.find("contextmenu") != std::string::npos ? 3 : 4);
    }
    auto loadSwitch = [this](auto& e, TSwthPic& pic, auto drawCaption) {
        pic.Effect->CancelFade();
        pic.Up = LoadPicture(ProgramDir() + e.FileUp);
        e.Right = e.Left + pic.Up.width();
        e.Bottom = e.Top + pic.Up.height();
        drawCaption(pic.Up, e, TPictureName::Up);
        pic.MoveUp = QImage();
        pic.MoveDown = QImage();
        pic.Down = QImage();
        PlaceControl(pic.Control, ElementRect(e.Left, e.Top, e.Right, e.Bottom), e.Hint);
        pic.Effect->SetStep(4);
    };
    for (std::size_t i = 0; i < switches.size(); ++i)
        loadSwitch(switches[i], m_swthOnePics[i], DrawSwitchCaption);
    for (std::size_t i = 0; i < groups.size(); ++i)
        loadSwitch(groups[i], m_swthGrpPics[i], DrawGroupCaption);

    // Idle pictures live in the background: the common paint is one copy.
    QPainter painter(&m_background);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        painter.drawImage(QPoint(buttons[i].Left, buttons[i].Top), m_btnPics[i].Up);
    for (std::size_t i = 0; i < switches.size(); ++i)
        painter.drawImage(QPoint(switches[i].Left, switches[i].Top), m_swthOnePics[i].Up);
    for (std::size_t i = 0; i < groups.size(); ++i)
        painter.drawImage(QPoint(groups[i].Left, groups[i].Top), m_swthGrpPics[i].Up);
}

void TMainForm::EnsureElementPictures() {
    if (m_elementPicturesLoaded)
        return;
    m_elementPicturesLoaded = true;
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s < m_description.Buttons.size()) {
        const auto& buttons = m_description.Buttons[s];
        for (std::size_t i = 0; i < buttons.size() && i < m_btnPics.size(); ++i) {
            const RBtn& b = buttons[i];
            TBtnPic& pic = m_btnPics[i];
            pic.Move = LoadPicture(ProgramDir() + b.FileMove);
            DrawButtonCaption(pic.Move, b, TPictureName::Move);
            pic.Down = LoadPicture(ProgramDir() + b.FileDown);
            DrawButtonCaption(pic.Down, b, TPictureName::Down);
        }
    }
    auto loadSwitch = [](const auto& e, TSwthPic& pic, auto drawCaption) {
        pic.MoveUp = LoadPicture(ProgramDir() + e.FileMoveUp);
        drawCaption(pic.MoveUp, e, TPictureName::MoveUp);
        pic.MoveDown = LoadPicture(ProgramDir() + e.FileMoveDown);
        drawCaption(pic.MoveDown, e, TPictureName::MoveDown);
        pic.Down = LoadPicture(ProgramDir() + e.FileDown);
        drawCaption(pic.Down, e, TPictureName::Down);
    };
    if (s < m_description.Switches.size()) {
        const auto& switches = m_description.Switches[s];
        for (std::size_t i = 0; i < switches.size() && i < m_swthOnePics.size(); ++i)
            loadSwitch(switches[i], m_swthOnePics[i], DrawSwitchCaption);
    }
    if (s < m_description.Groups.size()) {
        const auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size() && i < m_swthGrpPics.size(); ++i)
            loadSwitch(groups[i], m_swthGrpPics[i], DrawGroupCaption);
    }
}

bool TMainForm::ScreenShowsElementPictures() const {
    // Whether the frame as it stands needs more than the idle pictures.
    for (const TBtnPic& pic : m_btnPics)
        if (pic.Hover || pic.Pressed || pic.Effect->Running())
            return true;
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    auto any = [](const auto& elements, const std::vector<TSwthPic>& pics) {
        for (std::size_t i = 0; i < elements.size() && i < pics.size(); ++i)
            if (elements[i].State || elements[i].Hover || pics[i].Effect->Running())
                return true;
        return false;
    };
    return (s < m_description.Switches.size() && any(m_description.Switches[s], m_swthOnePics)) ||
           (s < m_description.Groups.size() && any(m_description.Groups[s], m_swthGrpPics));
}

// ----------------------------------------------------------------- painting

void TMainForm::paintEvent(QPaintEvent* event) {
    if (m_mode == TRunMode::Skinned && !m_startupFinished && !m_startupPosted && !IsAnimating()) {
        // The first frame goes to the display when this event is done; the
        // rest of start-up follows it. While the window opens, the end of
        // the opening animation starts it instead.
        m_startupPosted = true;
        QTimer::singleShot(0, this, [this] { FinishStartup(); });
    }
    QPainter painter(this);
    if (m_mode != TRunMode::Skinned) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    if (ShapeNeedsTranslucency()) {
        // Masks do not cut drawing here: paint only inside the shape.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setClipRegion(mask().isEmpty() ? QRegion(rect()) : mask());
    }
    if (CarEffectRunning()) {
        m_carEffect->PaintFrame(painter);
        return;
    }
    if (!m_elementPicturesLoaded && ScreenShowsElementPictures())
        EnsureElementPictures();
    // Everything is composed at the skin's own size and drawn in one piece,
    // so element pictures meet without gaps at any scale factor. Only the
    // part asked for is composed, into a frame kept between paints.
    const QRect dirty = event->rect().intersected(m_background.rect());
    if (m_frame.size() != m_background.size() || m_frame.format() != m_background.format())
        m_frame = QImage(m_background.size(), m_background.format());
    {
        QPainter p(&m_frame);
        p.setClipRect(dirty);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(dirty.topLeft(), m_background, dirty);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const std::size_t s = static_cast<std::size_t>(m_currentScreen);
        if (s < m_description.Buttons.size()) {
            const auto& buttons = m_description.Buttons[s];
            for (std::size_t i = 0; i < m_btnPics.size() && i < buttons.size(); ++i) {
                const TBtnPic& pic = m_btnPics[i];
                const QPoint at(buttons[i].Left, buttons[i].Top);
                if (pic.Effect->Running())
                    pic.Effect->Paint(p);
                else if (pic.Pressed && pic.Hover)
                    p.drawImage(at, pic.Down);
                else if (pic.Hover)
                    p.drawImage(at, pic.Move);
            }
        }
        auto paintSwitches = [&p](const auto& elements, const std::vector<TSwthPic>& pics) {
            for (std::size_t i = 0; i < pics.size() && i < elements.size(); ++i) {
                const auto& e = elements[i];
                const TSwthPic& pic = pics[i];
                const QPoint at(e.Left, e.Top);
                if (pic.Effect->Running())
                    pic.Effect->Paint(p);
                else if (!e.State && e.Hover)
                    p.drawImage(at, pic.MoveUp);
                else if (e.State && e.Hover)
                    p.drawImage(at, pic.MoveDown);
                else if (e.State)
                    p.drawImage(at, pic.Down);
            }
        };
        if (s < m_description.Switches.size())
            paintSwitches(m_description.Switches[s], m_swthOnePics);
        if (s < m_description.Groups.size())
            paintSwitches(m_description.Groups[s], m_swthGrpPics);
        if (m_textMsg)
            m_textMsg->PaintTextFields(p, m_currentScreen);
    }
    // The whole frame from its origin, clipped to what is asked for: at a
    // fractional scale factor a part drawn from its own corner could sample
    // the picture one pixel off its neighbours.
    painter.setClipRect(dirty, Qt::IntersectClip);
    painter.drawImage(QPoint(0, 0), m_frame);
}

// ------------------------------------------------------------------- mouse

void TMainForm::StartFade(TEffBtnCar* effect, const QImage& from, const QImage& to, QPoint at) {
    // from and to are the elements' own pictures: loading fills them in place.
    EnsureElementPictures();
    if (effect)
        effect->StartCrossFade(from, to, at);
    update();
}

bool TMainForm::TreeRuleBlocks(const RSwthOne& sw) const {
    // While the alternate tree is hidden and the main tree absent or hidden,
    // a switch that would show the main tree does not react at all.
    if (!m_altTree || m_altTree->IsShown() || (m_mainTree && m_mainTree->IsShown()))
        return false;
    return AnsiSameText(sw.CommandUp, "tree2") || AnsiSameText(sw.CommandDown, "tree2");
}

void TMainForm::FormMouseMove(QPoint pos) {
    if (CarEffectRunning())
        return;
    if (m_dragging) {
        move(QCursor::pos() - m_dragOffset);
        return;
    }
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s >= m_description.Buttons.size())
        return;
    auto& buttons = m_description.Buttons[s];
    for (std::size_t i = 0; i < buttons.size() && i < m_btnPics.size(); ++i) {
        TBtnPic& pic = m_btnPics[i];
        const QPoint at(buttons[i].Left, buttons[i].Top);
        const bool inside = Hit(buttons[i], pos);
        if (inside && !pic.Hover) {
            StartFade(pic.Effect.get(), pic.Up, pic.Move, at);
            pic.Hover = true;
        } else if (!inside && pic.Hover) {
            StartFade(pic.Effect.get(), pic.Move, pic.Up, at);
            pic.Hover = false;
            pic.Pressed = false;
        }
    }
    auto& switches = m_description.Switches[s];
    for (std::size_t i = 0; i < switches.size() && i < m_swthOnePics.size(); ++i) {
        RSwthOne& sw = switches[i];
        TSwthPic& pic = m_swthOnePics[i];
        const QPoint at(sw.Left, sw.Top);
        const bool inside = Hit(sw, pos);
        if (inside && !sw.Hover) {
            if (TreeRuleBlocks(sw))
                continue;
            if (sw.State)
                StartFade(pic.Effect.get(), pic.Down, pic.MoveDown, at);
            else
                StartFade(pic.Effect.get(), pic.Up, pic.MoveUp, at);
            sw.Hover = true;
        } else if (!inside && sw.Hover) {
            if (sw.State)
                StartFade(pic.Effect.get(), pic.MoveDown, pic.Down, at);
            else
                StartFade(pic.Effect.get(), pic.MoveUp, pic.Up, at);
            sw.Hover = false;
        }
    }
    auto& groups = m_description.Groups[s];
    for (std::size_t i = 0; i < groups.size() && i < m_swthGrpPics.size(); ++i) {
        RSwthGrp& g = groups[i];
        const bool inside = Hit(g, pos);
        if (inside != g.Hover) {
            // Group members change at once, without a fade.
            m_swthGrpPics[i].Effect->CancelFade();
            g.Hover = inside;
            update(ElementRect(g.Left, g.Top, g.Right, g.Bottom));
        }
    }
}

void TMainForm::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos) {
    FinishStartup();
    if (OnDeactivate)
        OnDeactivate(); // open popups close on any click in the window
    if (CarEffectRunning())
        return;
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    if (s < m_description.Buttons.size()) {
        auto& buttons = m_description.Buttons[s];
        for (std::size_t i = 0; i < buttons.size() && i < m_btnPics.size(); ++i) {
            TBtnPic& pic = m_btnPics[i];
            if (Hit(buttons[i], pos) && !pic.Pressed) {
                pic.Hover = true;
                StartFade(pic.Effect.get(), pic.Move, pic.Down,
                          QPoint(buttons[i].Left, buttons[i].Top));
                pic.Pressed = true;
                return; // the command runs on release
            }
        }
        auto& switches = m_description.Switches[s];
        for (std::size_t i = 0; i < switches.size() && i < m_swthOnePics.size(); ++i) {
            RSwthOne& sw = switches[i];
            if (!Hit(sw, pos))
                continue;
            if (TreeRuleBlocks(sw))
                continue;
            TSwthPic& pic = m_swthOnePics[i];
            const QPoint at(sw.Left, sw.Top);
            std::string command;
            if (sw.State) {
                StartFade(pic.Effect.get(), pic.MoveDown, pic.MoveUp, at);
                command = sw.CommandUp;
            } else {
                StartFade(pic.Effect.get(), pic.MoveUp, pic.MoveDown, at);
                command = sw.CommandDown;
            }
            // Hover stays as the mouse left it: a press delivered by the
            // program (a history step) leaves the switch in its plain picture.
            sw.State = !sw.State;
            if (!(shift & Qt::ShiftModifier)) {
                const std::string sound = sw.Sound;
                RunCommand(command, sound, TCallOrigin::User, TElementKind::SwitchOne,
                           static_cast<int>(i));
            }
            return;
        }
        auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size() && i < m_swthGrpPics.size(); ++i) {
            RSwthGrp& g = groups[i];
            if (!Hit(g, pos))
                continue;
            if (g.State)
                return;
            for (std::size_t k = 0; k < groups.size(); ++k) {
                if (k != i && groups[k].Group == g.Group && groups[k].State) {
                    groups[k].State = false;
                    m_swthGrpPics[k].Effect->CancelFade();
                }
            }
            g.State = true;
            // Shift shows the plain "on" picture: the pointer is not counted as hovering.
            g.Hover = !(shift & Qt::ShiftModifier);
            update();
            if (!(shift & Qt::ShiftModifier)) {
                const std::string command = g.Command;
                const std::string sound = g.Sound;
                RunCommand(command, sound, TCallOrigin::User, TElementKind::SwitchGroup,
                           static_cast<int>(i));
            }
            return;
        }
    }
    // Any button held on a free spot moves the window.
    if (button != Qt::NoButton && !CarEffectRunning())
        DragWindow(pos);
}

void TMainForm::DragWindow(QPoint pos) {
    if (QWindow* w = windowHandle()) {
        if (w->startSystemMove())
            return;
    }
    // No system move (some X11 set-ups without a window manager): follow the
    // mouse ourselves until the button is released.
    m_dragging = true;
    m_dragOffset = pos;
    grabMouse();
}

void TMainForm::FormMouseUp(QPoint pos) {
    FinishStartup();
    if (m_dragging) {
        m_dragging = false;
        releaseMouse();
        return;
    }
    if (CarEffectRunning())
        return;
    const int screen = m_currentScreen;
    const std::size_t s = static_cast<std::size_t>(screen);
    if (s >= m_description.Buttons.size())
        return;
    for (std::size_t i = 0; i < m_description.Buttons[s].size() && i < m_btnPics.size(); ++i) {
        const RBtn& b = m_description.Buttons[s][i];
        if (!Hit(b, pos))
            continue;
        TBtnPic& pic = m_btnPics[i];
        const QPoint at(b.Left, b.Top);
        if (pic.Pressed) {
            pic.Pressed = false;
            const std::string command = b.Command;
            const std::string sound = b.Sound;
            const bool leavesScreen =
                command.rfind("screen2", 0) == 0 || command == "1" || command.rfind("exit", 0) == 0;
            if (!leavesScreen)
                StartFade(pic.Effect.get(), pic.Down, pic.Move, at);
            RunCommand(command, sound, TCallOrigin::User, TElementKind::Button,
                       static_cast<int>(i));
            if (m_currentScreen != screen)
                return;
        } else {
            StartFade(pic.Effect.get(), pic.Down, pic.Up, at);
        }
    }
    if (s < m_description.Groups.size()) {
        auto& groups = m_description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (Hit(groups[i], pos)) {
                groups[i].Hover = false;
                FormMouseMove(pos);
            }
        }
    }
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove(event->position().toPoint());
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
    FormMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
    FormMouseUp(event->position().toPoint());
}

void TMainForm::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click counts as a click of its own.
    mousePressEvent(event);
}

void TMainForm::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // The pointer left the window: nothing stays lit.
    if (!m_dragging)
        FormMouseMove(QPoint(-1, -1));
}

// ----------------------------------------------------------- drag and drop

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    FinishStartup();
    const auto urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    std::string file = FromNativePath(urls.first().toLocalFile().toStdString());
    file = file.substr(0, 199);
    DropFile(LowerLatin(file));
}

void TMainForm::DropFile(const std::string& file) {
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

// ------------------------------------------------------------------- sounds

void TMainForm::PlayButtonSound(const std::string& sound) {
    if (!m_services.Sound || !HasSound(sound) || !GeneralSettings() || !GeneralSettings()->Wav)
        return;
    m_services.Sound->PlayAsync(ProgramDir() + sound);
}

} // namespace carmanual
