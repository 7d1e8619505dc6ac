#include "mainform.h"

#include "ansi.h"
#include "archive.h"
#include "commandrules.h"
#include "dispatcher.h"
#include "effcar.h"
#include "fontwarmup.h"
#include "generalsettings.h"
#include "htmlframe.h"
#include "instancelock.h"
#include "pathinputbox.h"
#include "paths.h"
#include "pictures.h"
#include "piston.h"
#include "programfonts.h"
#include "qtansi.h"
#include "settingsstore.h"
#include "skinscreen.h"
#include "sound.h"
#include "textmsg.h"
#include "treeviews.h"
#include "windowanimator.h"
#include "windowshape.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace carmanual {

namespace {

// When the first frame is not painted this soon, start-up goes on anyway.
constexpr int kStartupFallbackMs = 250;

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
    m_animator = std::make_unique<TWindowAnimator>(
        // The frame is drawn whole whatever the shape, so a new shape only
        // shows more or less of it: nothing is painted again (where the shape
        // does not cut the drawing, ApplyWindowShape repaints).
        [this](const QRegion& region) { ApplyWindowShape(this, region); },
        [this] { return SkinRegion(); });
    m_fonts = std::make_unique<TProgramFonts>();
    TSkinScreen::THandlers handlers;
    handlers.Move = [this](QPoint p) { FormMouseMove(p); };
    handlers.Press = [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
        FormMouseDown(b, m, p);
    };
    handlers.Release = [this](QPoint p) { FormMouseUp(p); };
    m_skin = std::make_unique<TSkinScreen>(this, std::move(handlers));
    m_elements.SetBlocked([this](const RSwthOne& sw) { return m_components->TreeRuleBlocks(sw); });
    CreateComponents();
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TMainForm::CreateComponents() {
    TMainComposition::THost host;
    host.Window = this;
    host.Description = &m_description;
    host.Shell = m_services.Shell;
    host.CurrentScreen = [this] { return m_currentScreen; };
    host.RunCommand = [this](const std::string& command) {
        RunCommand(command, std::string(), TCallOrigin::Program, TElementKind::Button, 0);
    };
    host.MouseOffSkin = [this] { FormMouseMove(QPoint(-1, -1)); };
    host.GoToHistoryEntry = [this](int entry) { m_dispatcher->GoToHistoryEntry(entry); };
    host.ChapterHintsChanged = [this] { ApplyHints(); };
    host.OptionsClosed = [this] { ApplyHints(); };
    m_components = std::make_unique<TMainComposition>(std::move(host));
    m_dispatcher = std::make_unique<TCommandDispatcher>(*this, *m_components, m_services);
}

bool TMainForm::CarEffectRunning() const {
    return m_carEffect && m_carEffect->Running();
}

bool TMainForm::IsAnimating() const {
    return m_animator && m_animator->Running();
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
    m_switchStates = TSwitchStates(m_description);
    m_fontWarmup =
        std::make_unique<TFontWarmup>(TSkinScreen::FontFamilies(m_description, m_currentScreen));
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            m_components->HidePopups();
    });

    if (m_description.HasVertexMain) {
        m_region = PolygonRegion(m_description.VertexMain);
        m_hasRegion = !m_region.isEmpty();
    }

    // Settings: the store of this title.
    m_settings = m_services.OpenSettings ? m_services.OpenSettings(m_title) : nullptr;
    if (!m_settings)
        m_settings = std::make_unique<TMemorySettingsStore>();
    m_components->SetSettings(m_settings.get());

    // Codecs come with the system's media framework; nothing to install here.
    setAcceptDrops(true);

    m_currentScreen = 0;
    RestoreSwitchStates();
    BuildScreen();
    setFixedSize(m_background.size());

    // The first frame needs the screen's pictures, its text fields, its
    // panels and the piston. What the first screen does not show is built
    // once that frame is on the display and the window has opened
    // (FinishStartup), in the same order as ever; a click or key that comes
    // sooner completes it first.
    const auto firstFrame = TMainComposition::FirstFrameStage(m_description, m_currentScreen);
    if (firstFrame == TMainComposition::TStage::All)
        FinishStartup();
    else
        m_components->Build(firstFrame);
    m_piston = TPiston::Create(this);
    ShowPiston(m_currentScreen != kDocumentScreen);

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
    m_components->BuildOptions();
    m_components->Build(TMainComposition::TStage::All);
    m_fonts->Add();
    RunScreenSwitchCommands(false);
    ApplyHints();
    m_skin->EnsurePictures();
    emit StartupCompleted();
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
        ApplyWindowShape(this, SkinRegion());
        show();
        raise();
        activateWindow();
    } else {
        ApplyWindowShape(this, QRegion());
        show();
        raise();
        activateWindow();
        // What the first screen does not show is built once the window is
        // open: built sooner, it would hold up the steps of the animation.
        m_animator->Open(width(), height(), [this] { FinishStartup(); });
    }
    // Background music belongs to the music player, which plugs in here.
}

void TMainForm::RunCommand(const std::string& command, const std::string& sound, TCallOrigin origin,
                           TElementKind kind, int index) {
    FinishStartup();
    m_dispatcher->Run(command, sound, origin, kind, index);
}

// ------------------------------------------------------------------ screens

QRegion TMainForm::SkinRegion() const {
    return m_hasRegion ? m_region : QRegion(rect());
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A changed scale factor may have dropped the mask: apply it again.
    if (!IsAnimating() && !m_animator->Closing())
        ApplyWindowShape(this, SkinRegion());
}

void TMainForm::BuildScreen() {
    m_background = TSkinScreen::LoadBackground(m_description, m_currentScreen,
                                               width() > 0 ? size() : QSize(800, 600));
    m_skin->Build(m_currentScreen, m_description, m_background, m_elements, m_switchStates,
                  [this](TElementKind kind, int index) { return ElementHint(kind, index); });
}

QString TMainForm::ElementHint(TElementKind kind, int index) const {
    const TGeneralSettings* settings = m_components->GeneralSettings();
    if (!settings || !settings->Hint || index < 0)
        return QString();
    const std::size_t s = static_cast<std::size_t>(m_currentScreen);
    const std::size_t i = static_cast<std::size_t>(index);
    switch (kind) {
    case TElementKind::Button:
        if (s < m_description.Buttons.size() && i < m_description.Buttons[s].size())
            return FromAnsi(m_components->ButtonHint(m_description.Buttons[s][i]));
        break;
    case TElementKind::SwitchOne:
        if (s < m_description.Switches.size() && i < m_description.Switches[s].size())
            return FromAnsi(m_description.Switches[s][i].Hint);
        break;
    case TElementKind::SwitchGroup:
        if (s < m_description.Groups.size() && i < m_description.Groups[s].size())
            return FromAnsi(m_description.Groups[s][i].Hint);
        break;
    case TElementKind::None:
        break;
    }
    return QString();
}

void TMainForm::ApplyHints() {
    const TGeneralSettings* settings = m_components->GeneralSettings();
    if (TPathInputBox* box = m_components->PathInputBox())
        box->SetHintsShown(settings && settings->Hint);
    m_skin->SetHints([this](TElementKind kind, int index) { return ElementHint(kind, index); });
}

void TMainForm::ShowPiston(bool show) {
    if (m_piston)
        m_piston->Show(show);
}

void TMainForm::HideForEffect(bool hide) {
    if (m_currentScreen == 0)
        ShowPiston(!hide);
    else
        m_components->HideForEffect(m_currentScreen, hide);
}

void TMainForm::ChangeScreen(int screen, TElementKind kind, int index) {
    // The element that carried the command forgets its hover and press;
    // hover belongs to the screen being left.
    m_elements.Forget(kind, index);
    m_skin->CancelFade(kind, index);
    m_elements.ForgetHover();
    m_currentScreen = screen;
    // The hourglass only: the switch commands below must still run.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;
    BuildScreen();
    ApplyHints();
    emit ScreenChanged(screen);
    ShowPiston(screen != kDocumentScreen);
    m_components->ShowForScreen(screen);
    RunScreenSwitchCommands(true);
    update();
    // The hover and press pictures of the new screen, once it is painted.
    QTimer::singleShot(0, this, [this] { m_skin->EnsurePictures(); });
}

void TMainForm::RunScreenSwitchCommands(bool screenChange) {
    const int screen = m_currentScreen;
    const std::size_t s = static_cast<std::size_t>(screen);
    if (s >= m_description.Switches.size())
        return;
    // On a screen change the switches' pass is made twice, so a switch whose
    // command depends on another switch's sees that one's command done; the
    // car view's "3d" is not run again.
    const int passes = screenChange ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const auto& switches = m_description.Switches[s];
        for (std::size_t i = 0; i < switches.size(); ++i) {
            const RSwthOne& sw = switches[i];
            if (screenChange && IsPlay3DCommand(sw.CommandDown))
                continue;
            const bool on = m_switchStates.SwitchOn(screen, static_cast<int>(i));
            RunCommand(on ? sw.CommandDown : sw.CommandUp, std::string(), TCallOrigin::Program,
                       TElementKind::SwitchOne, static_cast<int>(i));
            if (m_currentScreen != screen)
                return;
        }
    }
    const auto& groups = m_description.Groups[s];
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!m_switchStates.GroupOn(screen, static_cast<int>(i)))
            continue;
        if (screenChange && IsPlay3DCommand(groups[i].Command))
            continue;
        RunCommand(groups[i].Command, std::string(), TCallOrigin::Program,
                   TElementKind::SwitchGroup, static_cast<int>(i));
        if (m_currentScreen != screen)
            return; // a command changed the screen again
    }
}

void TMainForm::SaveSwitchStates() {
    if (m_settings)
        m_switchStates.Save(m_description, *m_settings);
}

void TMainForm::RestoreSwitchStates() {
    if (m_settings)
        m_switchStates.Restore(m_description, *m_settings);
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
    if (!m_skin->PicturesLoaded() && (m_elements.AnyActive() || m_skin->AnyFadeRunning()))
        m_skin->EnsurePictures();
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
        m_skin->Paint(p, m_elements);
        if (TTextMsg* texts = m_components->TextMsg())
            texts->PaintTextFields(p, m_currentScreen);
    }
    // The whole frame from its origin, clipped to what is asked for: at a
    // fractional scale factor a part drawn from its own corner could sample
    // the picture one pixel off its neighbours.
    painter.setClipRect(dirty, Qt::IntersectClip);
    painter.drawImage(QPoint(0, 0), m_frame);
}

// ------------------------------------------------------------------ closing

void TMainForm::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_animator->Stop();
    if (m_mode == TRunMode::Skinned && !m_alreadyRunning && m_settings) {
        const std::size_t s = static_cast<std::size_t>(m_currentScreen);
        const TGeneralSettings* settings = m_components->GeneralSettings();
        if (m_exitButton >= 0 && s < m_description.Buttons.size() &&
            static_cast<std::size_t>(m_exitButton) < m_description.Buttons[s].size()) {
            const std::string& sound =
                m_description.Buttons[s][static_cast<std::size_t>(m_exitButton)].Sound;
            if (HasSound(sound) && settings && settings->Wav && m_services.Sound)
                m_services.Sound->PlaySync(ProgramDir() + sound);
        }
        // Background music fades out here once the music player is present.
    }
    m_fonts->Remove();
    m_components->Destroy();
    if (m_mode == TRunMode::Skinned && !m_startedWithParameters && m_settings)
        SaveSwitchStates();
    m_skin->CancelFades();
}

} // namespace carmanual
