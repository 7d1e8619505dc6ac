#pragma once
// The main window: a borderless, shaped window drawn entirely from the
// manual's skin. Everything it shows and every command behind its buttons
// and switches comes from the description (Struct.txt) in the archive.
//
// The window keeps the window's own concerns: the run mode, the screens and
// their pictures, painting, the mouse, keys, the shape and its animations,
// closing. Its components are built and connected by TMainComposition; the
// commands of the skin are run by TCommandDispatcher.

#include "composition.h"
#include "description.h"
#include "runmode.h"
#include "screenelements.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace carmanual {

class ISettingsStore;
class ISoundPlayer;
class IShellOpen;
class TCommandDispatcher;
class TControlPopupWindow;
class TEffCar;
class TFontWarmup;
class TFormOptions;
class THtmlFavorite;
class THtmlFrame;
class TInstanceLock;
class TPanelBkgrd;
class TPathInputBox;
class TPiston;
class TProgramFonts;
class TSkinScreen;
class TStatusLine;
class TTextMsg;
class TTreeViews;
class TWindowAnimator;
struct TGeneralSettings;

// What the window needs from the operating system, passed in so tests can
// substitute recording doubles.
struct TMainServices {
    ISoundPlayer* Sound = nullptr;
    IShellOpen* Shell = nullptr;
    // The settings store of the manual's title; made once the title is known.
    std::function<std::unique_ptr<ISettingsStore>(const std::string& title)> OpenSettings;
};

class TMainForm final : public QWidget {
    Q_OBJECT

public:
    using TRunMode = carmanual::TRunMode;
    enum class TCreateResult { Shown, Terminate, AlreadyRunning, NoManual };

    explicit TMainForm(TMainServices services);
    ~TMainForm() override;

    // Builds the window from the command line's arguments (without the
    // program name). Anything but Shown means the application ends.
    TCreateResult FormCreate(const QStringList& arguments);
    // Shows the window with the opening animation and starts the music.
    void ShowMainWindow();
    // Builds what the first screen does not show: the options dialog, the
    // components, the program's fonts, then runs the first screen's switch
    // commands. Runs once, after the first frame is painted, or sooner when
    // input or a caller needs it.
    void FinishStartup();
    bool StartupFinished() const { return m_startupFinished; }

    // The dispatcher of every command text of the skin.
    void RunCommand(const std::string& command, const std::string& sound, TCallOrigin origin,
                    TElementKind kind, int index);

    // Saves the switch states and frees what the window holds; called once
    // when the application's event loop has ended.
    void FormDestroy();

    // --- Window operations of the commands ---
    void ChangeScreen(int screen, TElementKind kind, int index);
    // "exit": the element that ran it is remembered for its sound.
    void Exit(TElementKind kind, int index);
    void Minimize(TElementKind kind, int index);
    void ShowHelpTopic(const std::string& topic);
    // A button of the screen shown, in window pixels.
    QRect ButtonRect(int index) const;
    // A switch follows the page: a press with Shift, which changes its state
    // and picture without running its command.
    void FollowSwitch(QPoint pos);

    // --- The skin's mouse handlers, in window coordinates (also reached
    // through the hot-spot controls), and the key handler: the window sees
    // keys before its child controls. ---
    void FormMouseMove(QPoint pos);
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void FormMouseUp(QPoint pos);
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

    void SaveSwitchStates();
    void RestoreSwitchStates();
    // Hides the animated piston or the background panel while the about
    // box's effect plays.
    void HideForEffect(bool hide);

    // --- Read by the components and the tests ---
    TRunMode RunMode() const { return m_mode; }
    const std::string& Title() const { return m_title; }
    int CurrentScreen() const { return m_currentScreen; }
    bool StartedWithParameters() const { return m_startedWithParameters; }
    bool AlreadyRunning() const { return m_alreadyRunning; }
    const TInterfaceDescription& Description() const { return m_description; }
    TSwitchStates& SwitchStates() { return m_switchStates; }
    const TScreenElements& Elements() const { return m_elements; }
    const QImage& BackgroundBitmap() const { return m_background; }
    ISettingsStore* Settings() const { return m_settings.get(); }
    int ExitButton() const { return m_exitButton; }
    bool IsAnimating() const;
    const TMainServices& Services() const { return m_services; }
    TMainComposition& Components() { return *m_components; }
    const TMainComposition& Components() const { return *m_components; }
    TFormOptions* Options() const { return m_components->Options(); }
    THtmlFrame* HtmlFrame() const { return m_components->HtmlFrame(); }
    TTextMsg* TextMsg() const { return m_components->TextMsg(); }
    TPathInputBox* PathInputBox() const { return m_components->PathInputBox(); }
    THtmlFavorite* Favorites() const { return m_components->Favorites(); }
    TControlPopupWindow* Popups() const { return m_components->Popups(); }
    TTreeViews* MainTree() const { return m_components->MainTree(); }
    TTreeViews* AltTree() const { return m_components->AltTree(); }

    // Hand-over points of components that plug into the window later.
    std::function<void()> OnAbout;                       // the about box
    std::function<void(const std::string&)> OnHelpTopic; // help viewer

signals:
    // A screen change has finished (components show their own elements).
    void ScreenChanged(int screen);
    // Everything start-up builds is there (FinishStartup has run).
    void StartupCompleted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TCreateResult CreateSkinned();
    void CreateComponents();
    void BuildScreen();
    void ApplyHints();
    QString ElementHint(TElementKind kind, int index) const;
    void Execute(const TMouseOutcome& outcome);
    void DragWindow(QPoint pos);
    void RunScreenSwitchCommands(bool screenChange);
    void ClickTreeSwitches(std::string_view command);
    void ClosingStep();
    QRegion SkinRegion() const;
    bool CarEffectRunning() const;
    void ShowPiston(bool show);

    TMainServices m_services;
    TRunMode m_mode = TRunMode::Skinned;
    std::string m_title;
    bool m_startedWithParameters = false;
    bool m_alreadyRunning = false;
    bool m_destroyed = false;
    int m_currentScreen = 0;
    int m_exitButton = -1;

    TInterfaceDescription m_description;
    TSwitchStates m_switchStates;
    TScreenElements m_elements;
    std::unique_ptr<ISettingsStore> m_settings;
    std::unique_ptr<TInstanceLock> m_instanceLock;
    std::unique_ptr<TMainComposition> m_components;
    std::unique_ptr<TCommandDispatcher> m_dispatcher;

    QImage m_background; // the screen's background with its idle pictures
    QImage m_frame;      // the last composed frame, reused between paints
    std::unique_ptr<TSkinScreen> m_skin;
    bool m_startupFinished = false;
    bool m_startupPosted = false;
    QRegion m_region; // the skin's shape; empty: the whole window
    bool m_hasRegion = false;

    std::unique_ptr<TEffCar> m_carEffect;
    std::unique_ptr<TWindowAnimator> m_animator;
    std::unique_ptr<TPiston> m_piston;
    std::unique_ptr<TProgramFonts> m_fonts;
    std::unique_ptr<TFontWarmup> m_fontWarmup;
    const QEvent* m_previewedKey = nullptr; // the key press last seen by the preview
    quint64 m_previewedKeyTime = 0;
    QPointer<QWidget> m_previewedReceiver;

    // Manual dragging where the platform offers no system move.
    bool m_dragging = false;
    QPoint m_dragOffset;
};

} // namespace carmanual
