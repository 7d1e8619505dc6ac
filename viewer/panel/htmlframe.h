#pragma once
// The page panels of the main window: one frame viewer per screen that has
// page panel elements (_html), shown at the rectangle of the screen's element
// (on the document screen, in the background panel's client pane). Turns a
// click on a link into the action its protocol, pseudo-protocol or extension
// asks for, shows link status texts and picture hints, copies selected text,
// offered files and form texts, and keeps the default page font and colours
// in the settings store (read when built, written when destroyed).
//
// Names are manual names (Windows-1251, backslashes, drive letter). What the
// panel cannot do by itself (printing, sounds, RAR listings, the picture
// window's answer, popups, the chapters) it hands over through the
// std::function members of THtmlFrameServices; an empty one does nothing.

#include "commandrules.h"
#include "htmlviewer.h"
#include "pagefont.h"
#include "panelelements.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace carmanual {

class IShellOpen;
class ISettingsStore;
class TFontForm;
class TFrameViewer;
class TStatusLine;
struct WindowHandle;

// What the print preview is asked to show.
struct TPrintRequest {
    THTMLViewer* Document = nullptr; // the document to print (lives during the call)
    bool PicturePage = false;        // print it as a picture of Width x Height
    int Width = 0;
    int Height = 0;
};

struct THtmlFrameServices {
    // Parent of the viewers of every screen but the document screen; required.
    QWidget* MainWindow = nullptr;
    // Where the page font lives; must outlive the panel. Null: the defaults,
    // nothing stored.
    ISettingsStore* Settings = nullptr;
    // Opens URLs and files, starts programs and new instances; may be null.
    IShellOpen* Shell = nullptr;
    // "Файл скопирован" and the other messages; may be null.
    TStatusLine* StatusLine = nullptr;
    // The screen shown (0-based); empty: 0.
    std::function<int()> CurrentScreen;
    // Puts the document screen's viewer into the background panel's client
    // pane (TPanelBkgrd::SetClientPane), which then sizes it. Empty: that
    // viewer is placed on the main window at its element's rectangle.
    std::function<void(QWidget*)> SetDocumentPane;
    // The folder of the current screen's path box (TPathInputBox::
    // GetCurrentPath), ending in '\'; nothing when no box belongs to the
    // screen. Empty: the window has no path boxes.
    std::function<std::optional<std::string>()> CurrentPathBoxFolder;

    // --- Hand-overs to other components ---
    // The status bar of the standard window layout: link texts while the
    // mouse is over a link. Empty while the window has no status bar.
    std::function<void(const QString&)> OnLinkStatus;
    // The print preview, shown modally (printing: "printhtml", Ctrl+P, links
    // "printhtml:").
    std::function<void(const TPrintRequest&)> OnPrintPreview;
    // The RAR lister: list the archive (origin: the document holding the
    // link), and unpack the listed archive in place (a file of a listing that
    // does not exist yet).
    std::function<void(const std::string& archive, const std::string& origin)> OnOpenArchiveListing;
    std::function<void()> OnExtractListedArchive;
    // The clip player: play a sound file (end action 3).
    std::function<void(const std::string& file)> OnPlaySound;
    // The picture window query: send the window the document (anchor
    // included) and wait for its answer; when it accepts, show it and bring
    // it to the front, and return true. Empty or false: a new instance of
    // the program opens the document.
    std::function<bool(const WindowHandle& window, const std::string& document)>
        OnQueryPictureWindow;
    // The popup controller: hide every popup, and show the page's context
    // popup (type -5) at a screen point.
    std::function<void()> OnHidePopups;
    std::function<void(QPoint globalPos)> OnContextPopup;
    // The main window's mouse move at (-1, -1): skinned controls lose their
    // hover state when the mouse is over a page.
    std::function<void()> OnMouseOverPage;
    // Enter in a page: Enter in every visible find box.
    std::function<void()> OnEnterKey;
    // The engine's history event of a viewer (chapters, archive mode, page
    // title, history popups, contents tree).
    std::function<void(TFrameViewer* viewer, int viewerIndex)> OnHistoryChange;

    // --- Seams for tests; empty: the real thing ---
    // The save dialog of a ".zip" link: start path (native), filter (Qt
    // form); returns the chosen native file name, empty when cancelled.
    std::function<QString(QWidget* parent, const QString& startPath, const QString& filter)>
        ChooseSaveFile;
    // Runs the font dialog modally; true when it closed with OK.
    std::function<bool(TFontForm& form)> RunFontForm;
    // The mouse cursor in screen coordinates.
    std::function<QPoint()> CursorPos;
    // The program's own file, started for a picture no window shows.
    QString ProgramFile;
};

// The folder the last ".zip" was saved to (native), for the life of the
// process; empty at start.
const QString& ZipSaveDir();
void SetZipSaveDir(const QString& folder);

// The status text of a link (target and url as the engine reports them)
// for the viewer's current document; pathBoxFolder: the folder a "copy://"
// link copies to, nothing without a path box.
std::string LinkStatusText(const TFrameViewer& viewer, const std::string& target,
                           const std::string& url, const std::optional<std::string>& pathBoxFolder);

class THtmlFrame final : public QObject {
    Q_OBJECT

public:
    static constexpr int kDocumentScreen = carmanual::kDocumentScreen;
    static constexpr int kHintInterval = 200; // ms
    static constexpr int kHintMaxWidth = 300;
    static constexpr TColor kHintColor = 16777185; // red 225, green 255, blue 255
    static constexpr TColor kOverLinkColor = 255;  // red
    static constexpr int kHistoryMaxCount = 10;
    static constexpr int kVisitedMaxCount = 20;

    // Use BuildHtmlFrame.
    THtmlFrame(const TDynamicHtmlArray& elements, THtmlFrameServices services);
    // Writes the page font to the settings store.
    ~THtmlFrame() override;
    Q_DISABLE_COPY_MOVE(THtmlFrame)

    // --- Screens and panels ---
    // Shows the viewer of the current screen at its element's place (loading
    // the element's file, or scrolling the page already there to its top) and
    // hides the viewer of the screen shown before. Run after every screen
    // change.
    void ShowScreenPage();
    // Loads file (empty: the element's own file) into the viewer of the
    // element with that number: shown at that element's rectangle when the
    // element is on the current screen, loaded hidden otherwise (ready for
    // when its screen is shown). A file already in the viewer's history is
    // shown from there. False when no element has the number or loading
    // failed (the viewer is then hidden).
    bool ShowInPanel(int number, const std::string& file);
    // The viewer of the current screen, or null.
    TFrameViewer* CurrentViewer() const;
    // Loads file into the current viewer when it is visible (from the
    // history when it is there).
    bool OpenPage(const std::string& file);
    // A page chosen in the contents: OpenPage, or when the current viewer is
    // hidden (its first page failed to load) the page shown in the current
    // screen's panel, which shows the viewer again.
    bool OpenContentsPage(const std::string& file);
    void GoToHistory(int index);
    bool IsRarListing() const;
    void SetRarListing(bool listing);
    // The same for any viewer (a hidden screen's viewer that loaded a page).
    void SetRarListing(int viewerIndex, bool listing);
    void SelectAll();
    void ScrollToTop();
    // "copyhtml": the current page and its companion folder ("page.files")
    // into the path box's folder.
    void CopyPageFiles();
    // Print preview of a file (a hidden viewer loads it), or of the current
    // page when file is empty.
    void PrintPage(const std::string& file = {});
    // "copylist:": the selected item of the page's combo boxes of that name
    // to the clipboard.
    void CopyFormText(const std::string& controlName);
    // The font dialog; on OK every viewer takes the new font and the current
    // page is read again.
    void ChooseFonts();
    // The standard window layout: the current viewer fills its parent; back
    // to the skin: the element's rectangle again.
    void FillClient();
    void RestoreRect();
    // Puts the selection of the current page on the clipboard without its
    // leading and trailing line breaks (Ctrl+C, "copyclipboardhtml").
    void CopySelectedText();

    // --- Engine events (installed on every viewer; public for the tests) ---
    void HotSpotClick(TFrameViewer* viewer, const std::string& target, const std::string& url,
                      bool& handled);
    void HotSpotCovered(TFrameViewer* viewer, const std::string& target, const std::string& url);
    void HistoryChanged(TFrameViewer* viewer);
    void ViewerMouseMove(THTMLViewer* sender, int x, int y);
    void ViewerMouseDown(THTMLViewer* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                         int x, int y);
    void ViewerKeyDown(THTMLViewer* sender, int key, Qt::KeyboardModifiers shift, bool& handled);
    void HintTimerTick();
    // Draws "Страница N" at the top right of a printed page.
    static void PageHeader(QPainter& canvas, int pageNumber, int pageWidth);

    // --- State ---
    int ViewerCount() const { return static_cast<int>(m_viewers.size()); }
    TFrameViewer* Viewer(int index) const;
    int ViewerScreen(int index) const;
    int ViewerIndexOf(const TFrameViewer* viewer) const;
    // The viewer index of the current screen's viewer, -1 when none.
    int CurrentViewerIndex() const { return m_currentViewerIndex; }
    int CurrentElement() const { return m_currentElement; }
    int ShownScreen() const { return m_shownScreen; }
    const std::vector<RHTML>& Elements() const { return m_elements; }
    const TPageFont& PageFont() const { return m_font; }
    // Writes the page font now (the destructor does it too).
    void SaveFontSettings();

    // Set by the print and query commands of other instances; a print of a
    // given file clears PicturePage.
    bool PicturePage = false;
    int PrintWidth = 0;
    int PrintHeight = 0;

    // The hint window of the picture ALT texts (tests read it).
    QLabel* HintWindow() const { return m_hintWindow.data(); }
    bool HintShown() const { return m_hintShown; }
    int HintTicks() const { return m_hintTicks; }
    bool HintTimerActive() const { return m_hintTimer.isActive(); }

private:
    void InstallHandlers(TFrameViewer* viewer);
    int ViewerIndexOfScreen(int screen) const;
    int CurrentScreen() const;
    void PlaceViewer(TFrameViewer* viewer, int element);
    void LoadOrGoToHistory(TFrameViewer* viewer, const std::string& file);
    void MarkVisited(TFrameViewer* viewer, const std::string& expanded, bool& handled);
    bool RarListingOf(const TFrameViewer* viewer) const;
    void ShowStatus(const QString& text);
    std::optional<std::string> PathBoxFolder() const;
    enum class TCopyResult { Copied, Failed, Refused };
    TCopyResult CopyIntoPathBox(const std::string& source, const std::string& relative);

    void EnlargedPicture(TFrameViewer* viewer, const std::string& expanded);
    void CopyFileLink(TFrameViewer* viewer, const std::string& url);
    void OtherFile(TFrameViewer* viewer, const std::string& expanded);
    void SaveZip(const std::string& file);
    void HideHint();

    THtmlFrameServices m_services;
    std::vector<RHTML> m_elements;
    std::vector<QPointer<TFrameViewer>> m_viewers;
    std::vector<int> m_viewerScreens;
    std::vector<bool> m_rarListing;
    std::vector<bool> m_inDocumentPane;
    TPageFont m_font;
    int m_currentViewerIndex = -1;
    int m_currentElement = -1;
    int m_shownScreen = -1;
    bool m_fillClient = false;

    QTimer m_hintTimer;
    QPointer<QLabel> m_hintWindow;
    std::optional<THtmlPicture> m_hintImage;
    QPointer<THTMLViewer> m_hintViewer;
    int m_hintTicks = 0;
    bool m_hintShown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Builds the page panels of the description's _html elements and shows the
// current screen's page; null when there are none. The first page loads
// before this returns, so OnHistoryChange runs before the caller holds the
// panel: hand-overs work on the viewer they are given.
std::unique_ptr<THtmlFrame> BuildHtmlFrame(const TDynamicHtmlArray& elements,
                                           THtmlFrameServices services);

} // namespace carmanual
