#pragma once
// The main window: a borderless, shaped window drawn entirely from the
// manual's skin. Everything it shows and every command behind its buttons
// and switches comes from the description (Struct.txt) in the archive.

#include "commandrules.h"
#include "description.h"
#include "historychapters.h"
#include "htmlfavorite.h"
#include "mycontrol.h"
#include "runmode.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMovie;
class QBuffer;

namespace carmanual {

class ISettingsStore;
class ISoundPlayer;
class IShellOpen;
class TSuperTimer;
class TEffBtnCar;
class TEffCar;
class TInstanceLock;
class TFormOptions;
class TFontWarmup;
class TPanelBkgrd;
class TTextMsg;
class TStatusLine;
class TScaleBar;
class TPathInputBox;
class THtmlFrame;
class TControlPopupWindow;
class TTreeViews;
class THtmlFavorite;
class IFavoriteList;
struct TGeneralSettings;

// What the window needs from the operating system, passed in so tests can
// substitute recording doubles.
struct TMainServices {
    ISoundPlayer* Sound = nullptr;
    IShellOpen* Shell = nullptr;
    // The settings store of the manual's title; made once the title is known.
    std::function<std::unique_ptr<ISettingsStore>(const std::string& title)> OpenSettings;
};

// Where a command comes from, and what kind of element carries it.
enum class TCallOrigin { User = 0, Program = 1 };
enum class TElementKind { Button = 0, SwitchOne = 1, SwitchGroup = 2, None = -1 };

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

    // Read by the components and the tests.
    TRunMode RunMode() const { return m_mode; }
    const std::string& Title() const { return m_title; }
    int CurrentScreen() const { return m_currentScreen; }
    bool StartedWithParameters() const { return m_startedWithParameters; }
    bool AlreadyRunning() const { return m_alreadyRunning; }
    const TInterfaceDescription& Description() const { return m_description; }
    TInterfaceDescription& Description() { return m_description; }
    const QImage& BackgroundBitmap() const { return m_background; }
    TFormOptions* Options() const { return m_options; }
    TPanelBkgrd* PanelBkgrd() const { return m_panelBkgrd; }
    THtmlFrame* HtmlFrame() const { return m_html.get(); }
    TTextMsg* TextMsg() const { return m_textMsg.get(); }
    TStatusLine* StatusLine() const { return m_statusLine; }
    TPathInputBox* PathInputBox() const { return m_pathBox.get(); }
    THtmlFavorite* Favorites() const;
    TControlPopupWindow* Popups() const { return m_popups.get(); }
    TTreeViews* MainTree() const { return m_mainTree; }
    TTreeViews* AltTree() const { return m_altTree; }
    ISettingsStore* Settings() const { return m_settings.get(); }
    int ExitButton() const { return m_exitButton; }
    bool IsAnimating() const;
    // Hides the animated piston or the background panel while the about
    // box's effect plays.
    void HideForEffect(bool hide);

    // The skin's mouse handlers, in window coordinates (also reached through
    // the hot-spot controls).
    void FormMouseMove(QPoint pos);
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void FormMouseUp(QPoint pos);
    // The key handler; the window sees keys before its child controls.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

    void SaveSwitchStates();
    void RestoreSwitchStates();
    void ChangeScreen(int screen, TElementKind kind, int index);
    void ShowHelpTopic(const std::string& topic);

    // Hand-over points of components that plug into the window later.
    std::function<void()> OnAbout;                       // the about box
    std::function<void(const std::string&)> OnHelpTopic; // help viewer
    std::function<void()> OnDeactivate; // popups close when the application deactivates
    // The history popups and the contents tree follow the page shown.
    std::function<void(const THistoryUpdate&)> OnHistoryUpdated;

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
    struct TBtnPic {
        QImage Up, Move, Down;
        bool Hover = false;
        bool Pressed = false;
        TMyControl* Control = nullptr;
        std::unique_ptr<TEffBtnCar> Effect;
    };
    struct TSwthPic {
        QImage Up, MoveUp, MoveDown, Down;
        TMyControl* Control = nullptr;
        std::unique_ptr<TEffBtnCar> Effect;
    };

    TCreateResult CreateSkinned();
    void BuildScreenElements();
    void EnsureElementPictures();
    bool ScreenShowsElementPictures() const;
    // How far the components are built (BuildComponents): the text fields
    // are always there; the page panels (with the status line and the
    // background panel they build on), then the path boxes, then the rest.
    enum class TComponentStage { None, PagePanels, PathBoxes, All };
    // The stage the first frame needs.
    TComponentStage FirstScreenComponents() const;
    QStringList FirstScreenFontFamilies() const;
    void CreatePiston();
    void LoadBackground();
    TMyControl* NewControl();
    void PlaceControl(TMyControl* control, const QRect& rect, const std::string& hint);
    void StartFade(TEffBtnCar* effect, const QImage& from, const QImage& to, QPoint at);
    void DragWindow(QPoint pos);
    bool TreeRuleBlocks(const RSwthOne& sw) const;
    void RunScreenSwitchCommands(bool twice);
    void PlayButtonSound(const std::string& sound);
    void AddProgramFonts();
    void RemoveProgramFonts();
    void StartOpeningAnimation();
    void ClosingStep();
    void StartClosingAnimation();
    void ClosingTick();
    void SetWindowRegion(const QRegion& region);
    QRegion SkinRegion() const;
    void ApplyHints();
    // A button's tool tip: the described hint, or for the chapter buttons
    // the neighbouring chapter of the contents tree.
    std::string ButtonHint(const RBtn& button) const;
    void ShowPiston(bool show);
    void ShowPanelBkgrd();
    void BuildComponents(TComponentStage upTo);
    void BuildPagePanels();
    void OnPageHistoryChange(int viewerIndex);
    void RefreshHistoryPopups();
    THistorySnapshot HistorySnapshot(int viewerIndex) const;
    void StepHistory(THistoryDirection direction);
    // Shows a history entry of the page panel; the chapter switch follows.
    void GoToHistoryEntry(int entry);
    bool RunSpecialCommand(const std::string& command);
    void ClickTreeSwitches(std::string_view command);
    void AddToFavorites();
    void CreateFavorites();
    void BuildPopupsAndTrees();
    void ShowButtonPopup(std::int32_t type, TElementKind kind, int index, bool rightCorner);
    void TreeCommand(TCommandRule rule);
    void DropFile(const std::string& file);
    bool CarEffectRunning() const;
    const TGeneralSettings* GeneralSettings() const;

    TMainServices m_services;
    TRunMode m_mode = TRunMode::Skinned;
    std::string m_title;
    bool m_startedWithParameters = false;
    bool m_alreadyRunning = false;
    bool m_destroyed = false;
    int m_currentScreen = 0;
    int m_exitButton = -1;

    TInterfaceDescription m_description;
    std::unique_ptr<ISettingsStore> m_settings;
    std::unique_ptr<TInstanceLock> m_instanceLock;
    TFormOptions* m_options = nullptr;

    QImage m_background;
    QImage m_frame; // the last composed frame, reused between paints
    bool m_elementPicturesLoaded = false;
    bool m_startupFinished = false;
    bool m_startupPosted = false;
    TComponentStage m_componentsBuilt = TComponentStage::None;
    QRegion m_region; // the skin's shape; empty: the whole window
    bool m_hasRegion = false;
    std::vector<TBtnPic> m_btnPics;
    std::vector<TSwthPic> m_swthOnePics;
    std::vector<TSwthPic> m_swthGrpPics;

    std::unique_ptr<TEffCar> m_carEffect;
    std::unique_ptr<TSuperTimer> m_animTimer;
    int m_animX = 0;
    int m_animY = 0;
    bool m_closing = false;

    TPanelBkgrd* m_panelBkgrd = nullptr;
    std::unique_ptr<TTextMsg> m_textMsg;
    TStatusLine* m_statusLine = nullptr;
    std::unique_ptr<TPathInputBox> m_pathBox;
    std::unique_ptr<THtmlFrame> m_html;
    std::unique_ptr<TScaleBar> m_scaleBar;
    THistoryChapters m_history;
    std::unique_ptr<THtmlFavorite> m_favorites; // the bookmarks of the run
    std::unique_ptr<TControlPopupWindow> m_popups;
    TTreeViews* m_mainTree = nullptr;
    TTreeViews* m_altTree = nullptr;
    QLabel* m_piston = nullptr;
    QMovie* m_pistonMovie = nullptr;
    QBuffer* m_pistonData = nullptr;
    std::vector<int> m_fontIds;
    std::unique_ptr<TFontWarmup> m_fontWarmup;
    const QEvent* m_previewedKey = nullptr; // the key press last seen by the preview
    quint64 m_previewedKeyTime = 0;
    QPointer<QWidget> m_previewedReceiver;

    // Manual dragging where the platform offers no system move.
    bool m_dragging = false;
    QPoint m_dragOffset;
};

} // namespace carmanual
