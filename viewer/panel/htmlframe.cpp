#include "htmlframe.h"

#include "filecopy.h"
#include "fontform.h"
#include "frameviewer.h"
#include "htmlurl.h"
#include "linkrules.h"
#include "qtansi.h"
#include "shellopen.h"
#include "statusline.h"
#include "textmsg.h" // before statusline.h, which assigns a QPointer<TTextMsg> inline

#include "ansi.h"
#include "archive.h"
#include "paths.h"
#include "settingsstore.h"
#include "syntax.h"
#include "windowfinder.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace carmanual {

namespace {

QString& ZipSaveDirValue() {
    static QString folder;
    return folder;
}

const std::string& PictureWindowCaption() {
    static const std::string caption = Utf8ToAnsi("Увеличенная картинка");
    return caption;
}

QString CopiedText() {
    return QStringLiteral("Файл скопирован");
}
QString SerialCopiedText() {
    return QStringLiteral("Серийный номер скопирован");
}
QString RefusedText(const std::string& name) {
    return QStringLiteral("Файл не скопирован: имя \"%1\" ведёт за пределы каталога")
        .arg(FromAnsi(name));
}

bool IsLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

QString TrimLineBreaks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsLineBreak(text.at(begin)))
        ++begin;
    while (end > begin && IsLineBreak(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

void PutOnClipboard(const QString& selected) {
    const QString text = TrimLineBreaks(selected);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

bool ShowsAltText(const THtmlPicture& picture) {
    return picture.HasAlt && !picture.Alt.trimmed().isEmpty();
}

// The native file a manual name stands for: the disk's spelling when the
// file exists, else the name as written.
QString NativeFile(const std::string& manualName) {
    const QString found = FindDiskFile(manualName);
    return found.isEmpty() ? NativeName(manualName) : found;
}

} // namespace

const QString& ZipSaveDir() {
    return ZipSaveDirValue();
}
void SetZipSaveDir(const QString& folder) {
    ZipSaveDirValue() = folder;
}

std::string LinkStatusText(const TFrameViewer& viewer, const std::string& target,
                           const std::string& url,
                           const std::optional<std::string>& pathBoxFolder) {
    if (url.empty())
        return {};
    std::string text;
    if (url.front() == '#') {
        text = viewer.CurrentDocument() + url;
    } else {
        const TUrlParts parts = SplitUrl(url);
        const std::string protocol = LowerAnsiText(parts.Protocol);
        if (!protocol.empty() && protocol != "file") {
            if (protocol == "copy") {
                const std::string source = viewer.ExpandLinkTarget(parts.Host);
                text = pathBoxFolder ? Utf8ToAnsi("Копирование файла \"") + source +
                                           Utf8ToAnsi("\" в каталог \"") + *pathBoxFolder + "\""
                                     : source;
            } else {
                text = url;
            }
        } else {
            text = viewer.ExpandLinkTarget(url);
        }
    }
    if (!target.empty())
        return "Url: " + text + "  Target: " + target;
    return text;
}

// --- Construction ---

THtmlFrame::THtmlFrame(const TDynamicHtmlArray& elements, THtmlFrameServices services)
    : m_services(std::move(services)), m_elements(elements) {
    for (const RHTML& element : m_elements) {
        if (std::find(m_viewerScreens.begin(), m_viewerScreens.end(), element.Screen) ==
            m_viewerScreens.end())
            m_viewerScreens.push_back(element.Screen);
    }
    m_rarListing.assign(m_viewerScreens.size(), false);
    m_inDocumentPane.assign(m_viewerScreens.size(), false);
    if (m_services.Settings)
        m_font = ReadPageFont(*m_services.Settings);

    for (std::size_t i = 0; i < m_viewerScreens.size(); ++i) {
        auto* viewer = new TFrameViewer(m_services.MainWindow);
        viewer->hide();
        viewer->setGeometry(0, 0, 0, 0);
        ApplyPageFont(*viewer, m_font);
        viewer->SetFvOptions(fvNoBorder | fvOverLinksActive);
        viewer->SetDefOverLinkColor(kOverLinkColor);
        viewer->SetHistoryMaxCount(kHistoryMaxCount);
        viewer->SetVisitedMaxCount(kVisitedMaxCount);
        viewer->SetImageCacheCount(0);
        InstallHandlers(viewer);
        m_viewers.emplace_back(viewer);
        if (m_viewerScreens[i] == kDocumentScreen && m_services.SetDocumentPane) {
            m_services.SetDocumentPane(viewer);
            viewer->hide();
            m_inDocumentPane[i] = true;
        }
    }

    m_hintTimer.setInterval(kHintInterval);
    connect(&m_hintTimer, &QTimer::timeout, this, &THtmlFrame::HintTimerTick);
    m_hintWindow = new QLabel(m_services.MainWindow, Qt::ToolTip);
    m_hintWindow->setObjectName(QStringLiteral("HintWindow"));
    m_hintWindow->setWordWrap(true);
    m_hintWindow->setMargin(2);
    m_hintWindow->setStyleSheet(
        QStringLiteral("QLabel { background-color: rgb(%1, %2, %3); color: black; "
                       "border: 1px solid black; }")
            .arg(kHintColor & 0xFF)
            .arg((kHintColor >> 8) & 0xFF)
            .arg((kHintColor >> 16) & 0xFF));
    m_hintWindow->hide();
}

THtmlFrame::~THtmlFrame() {
    SaveFontSettings();
    m_hintTimer.stop();
    delete m_hintWindow.data();
    for (const QPointer<TFrameViewer>& viewer : m_viewers)
        delete viewer.data();
}

std::unique_ptr<THtmlFrame> BuildHtmlFrame(const TDynamicHtmlArray& elements,
                                           THtmlFrameServices services) {
    if (elements.empty())
        return nullptr;
    auto frame = std::make_unique<THtmlFrame>(elements, std::move(services));
    frame->ShowScreenPage();
    return frame;
}

void THtmlFrame::InstallHandlers(TFrameViewer* viewer) {
    viewer->OnHotSpotTargetClick = [this, viewer](QWidget*, const std::string& target,
                                                  const std::string& url, bool& handled) {
        HotSpotClick(viewer, target, url, handled);
    };
    viewer->OnHotSpotTargetCovered = [this, viewer](QWidget*, const std::string& target,
                                                    const std::string& url) {
        HotSpotCovered(viewer, target, url);
    };
    viewer->OnHistoryChange = [this, viewer](QWidget*) { HistoryChanged(viewer); };
    viewer->OnMouseMove = [this](QWidget* sender, Qt::KeyboardModifiers, int x, int y) {
        if (auto* document = qobject_cast<THTMLViewer*>(sender))
            ViewerMouseMove(document, x, y);
    };
    viewer->OnMouseDown = [this](QWidget* sender, Qt::MouseButton button,
                                 Qt::KeyboardModifiers shift, int x, int y) {
        if (auto* document = qobject_cast<THTMLViewer*>(sender))
            ViewerMouseDown(document, button, shift, x, y);
    };
    viewer->OnMouseUp = [](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {};
    viewer->OnKeyDown = [this](QWidget* sender, int key, Qt::KeyboardModifiers shift,
                               bool& handled) {
        if (auto* document = qobject_cast<THTMLViewer*>(sender))
            ViewerKeyDown(document, key, shift, handled);
    };
    viewer->OnPrintHeader = [](QWidget*, QPainter& canvas, int pageNumber, int pageWidth) {
        PageHeader(canvas, pageNumber, pageWidth);
    };
}

// --- Screens and panels ---

int THtmlFrame::CurrentScreen() const {
    return m_services.CurrentScreen ? m_services.CurrentScreen() : 0;
}

int THtmlFrame::ViewerIndexOfScreen(int screen) const {
    const auto it = std::find(m_viewerScreens.begin(), m_viewerScreens.end(), screen);
    return it == m_viewerScreens.end() ? -1 : static_cast<int>(it - m_viewerScreens.begin());
}

TFrameViewer* THtmlFrame::Viewer(int index) const {
    if (index < 0 || index >= ViewerCount())
        return nullptr;
    return m_viewers[static_cast<std::size_t>(index)].data();
}

int THtmlFrame::ViewerScreen(int index) const {
    if (index < 0 || index >= ViewerCount())
        return -1;
    return m_viewerScreens[static_cast<std::size_t>(index)];
}

int THtmlFrame::ViewerIndexOf(const TFrameViewer* viewer) const {
    for (std::size_t i = 0; i < m_viewers.size(); ++i) {
        if (viewer && m_viewers[i].data() == viewer)
            return static_cast<int>(i);
    }
    return -1;
}

TFrameViewer* THtmlFrame::CurrentViewer() const {
    return Viewer(ViewerIndexOfScreen(CurrentScreen()));
}

void THtmlFrame::PlaceViewer(TFrameViewer* viewer, int element) {
    const int index = ViewerIndexOf(viewer);
    if (index >= 0 && m_inDocumentPane[static_cast<std::size_t>(index)])
        return; // the background panel's splitter sizes it
    if (viewer->parentWidget() != m_services.MainWindow)
        viewer->setParent(m_services.MainWindow);
    if (m_fillClient && viewer->parentWidget()) {
        viewer->setGeometry(viewer->parentWidget()->rect());
        return;
    }
    const RHTML& e = m_elements.at(static_cast<std::size_t>(element));
    viewer->setGeometry(e.Left, e.Top, e.Right - e.Left, e.Bottom - e.Top);
}

void THtmlFrame::ShowScreenPage() {
    const int screen = CurrentScreen();
    const auto element = std::find_if(m_elements.begin(), m_elements.end(),
                                      [screen](const RHTML& e) { return e.Screen == screen; });
    const int viewerIndex = ViewerIndexOfScreen(screen);
    TFrameViewer* shown = nullptr;
    if (element != m_elements.end() && viewerIndex >= 0) {
        m_currentElement = static_cast<int>(element - m_elements.begin());
        m_currentViewerIndex = viewerIndex;
        TFrameViewer* viewer = Viewer(viewerIndex);
        if (viewer) {
            try {
                if (!viewer->HistoryFiles().empty())
                    viewer->ActiveDocument()->ScrollToY(0);
                else
                    viewer->LoadDocument(element->File);
                PlaceViewer(viewer, m_currentElement);
                viewer->show();
                shown = viewer;
            } catch (...) {
                viewer->hide();
            }
        }
    } else {
        m_currentViewerIndex = -1;
    }
    // Showing the screen already shown keeps its page.
    if (TFrameViewer* previous = Viewer(ViewerIndexOfScreen(m_shownScreen));
        previous && previous != shown && m_shownScreen != screen)
        previous->hide();
    m_shownScreen = screen;
}

void THtmlFrame::LoadOrGoToHistory(TFrameViewer* viewer, const std::string& file) {
    const TDynamicStringArray files = viewer->HistoryFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (AnsiSameText(files[i], file)) {
            viewer->SetHistoryPosition(static_cast<int>(i));
            return;
        }
    }
    viewer->LoadDocument(file);
}

bool THtmlFrame::ShowInPanel(int number, const std::string& file) {
    const auto element = std::find_if(m_elements.begin(), m_elements.end(),
                                      [number](const RHTML& e) { return e.Number == number; });
    if (element == m_elements.end())
        return false;
    const int elementIndex = static_cast<int>(element - m_elements.begin());
    const int viewerIndex = ViewerIndexOfScreen(element->Screen);
    TFrameViewer* viewer = Viewer(viewerIndex);
    if (!viewer)
        return false;
    const std::string name = file.empty() ? element->File : file;
    try {
        LoadOrGoToHistory(viewer, name);
        if (element->Screen == CurrentScreen()) {
            PlaceViewer(viewer, elementIndex);
            // A named anchor is where the reader is sent; any other page
            // starts at its top.
            if (name.find('#') == std::string::npos)
                viewer->ActiveDocument()->ScrollToY(0);
            viewer->show();
            m_currentElement = elementIndex;
            m_currentViewerIndex = viewerIndex;
        }
        // A page of a hidden screen stays hidden, ready for its screen.
        return true;
    } catch (...) {
        viewer->hide();
        return false;
    }
}

bool THtmlFrame::OpenPage(const std::string& file) {
    TFrameViewer* viewer = CurrentViewer();
    if (!viewer || viewer->isHidden())
        return false;
    try {
        const TDynamicStringArray files = viewer->HistoryFiles();
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (AnsiSameText(files[i], file)) {
                viewer->SetHistoryPosition(static_cast<int>(i));
                viewer->ActiveDocument()->ScrollToY(0);
                return true;
            }
        }
        viewer->AddVisited(file);
        // The new page is marked as it is laid out; only a page that stays
        // (the load failed) is marked again, since that costs a layout.
        try {
            viewer->LoadDocument(file);
        } catch (...) {
            viewer->RefreshVisitedMarks();
            throw;
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool THtmlFrame::OpenContentsPage(const std::string& file) {
    TFrameViewer* viewer = CurrentViewer();
    if (viewer && !viewer->isHidden())
        return OpenPage(file);
    // The panel of the screen shown: the element the viewer was placed for.
    if (m_currentElement < 0 || static_cast<std::size_t>(m_currentElement) >= m_elements.size() ||
        m_elements[static_cast<std::size_t>(m_currentElement)].Screen != CurrentScreen())
        return false;
    return ShowInPanel(m_elements[static_cast<std::size_t>(m_currentElement)].Number, file);
}

void THtmlFrame::GoToHistory(int index) {
    if (TFrameViewer* viewer = CurrentViewer()) {
        try {
            viewer->SetHistoryPosition(index);
        } catch (...) {
        }
    }
}

bool THtmlFrame::RarListingOf(const TFrameViewer* viewer) const {
    const int index = ViewerIndexOf(viewer);
    return index >= 0 && m_rarListing[static_cast<std::size_t>(index)];
}

bool THtmlFrame::IsRarListing() const {
    return RarListingOf(CurrentViewer());
}

void THtmlFrame::SetRarListing(bool listing) {
    SetRarListing(ViewerIndexOf(CurrentViewer()), listing);
}

void THtmlFrame::SetRarListing(int viewerIndex, bool listing) {
    if (viewerIndex >= 0 && static_cast<std::size_t>(viewerIndex) < m_rarListing.size())
        m_rarListing[static_cast<std::size_t>(viewerIndex)] = listing;
}

void THtmlFrame::SelectAll() {
    if (TFrameViewer* viewer = CurrentViewer(); viewer && !viewer->isHidden())
        viewer->SelectAllText();
}

void THtmlFrame::ScrollToTop() {
    if (TFrameViewer* viewer = CurrentViewer())
        viewer->ActiveDocument()->ScrollToY(0);
}

void THtmlFrame::FillClient() {
    TFrameViewer* viewer = CurrentViewer();
    if (!viewer || viewer->isHidden())
        return;
    m_fillClient = true;
    if (QWidget* parent = viewer->parentWidget();
        parent && !m_inDocumentPane[static_cast<std::size_t>(ViewerIndexOf(viewer))]) {
        parent->installEventFilter(this);
        viewer->setGeometry(parent->rect());
    }
}

void THtmlFrame::RestoreRect() {
    TFrameViewer* viewer = CurrentViewer();
    if (!viewer || viewer->isHidden())
        return;
    m_fillClient = false;
    if (QWidget* parent = viewer->parentWidget())
        parent->removeEventFilter(this);
    if (m_currentElement >= 0)
        PlaceViewer(viewer, m_currentElement);
}

bool THtmlFrame::eventFilter(QObject* watched, QEvent* event) {
    if (m_fillClient && event->type() == QEvent::Resize) {
        TFrameViewer* viewer = CurrentViewer();
        if (viewer && viewer->parentWidget() == watched)
            viewer->setGeometry(viewer->parentWidget()->rect());
    }
    return QObject::eventFilter(watched, event);
}

// --- Copying ---

void THtmlFrame::ShowStatus(const QString& text) {
    if (m_services.StatusLine)
        m_services.StatusLine->ShowStatus(text);
}

std::optional<std::string> THtmlFrame::PathBoxFolder() const {
    if (!m_services.CurrentPathBoxFolder)
        return std::nullopt;
    std::optional<std::string> folder = m_services.CurrentPathBoxFolder();
    if (folder && folder->empty())
        return std::nullopt;
    if (folder && folder->back() != '\\')
        *folder += '\\';
    return folder;
}

THtmlFrame::TCopyResult THtmlFrame::CopyIntoPathBox(const std::string& source,
                                                    const std::string& relative) {
    const std::optional<std::string> folder = PathBoxFolder();
    if (!folder)
        return TCopyResult::Failed;
    const std::optional<std::string> target = TargetInFolder(*folder, relative);
    if (!target) {
        // A page may not write outside the folder the reader chose.
        ShowStatus(RefusedText(relative));
        return TCopyResult::Refused;
    }
    const bool done =
        target->back() == '\\' ? CreateManualFolder(*target) : CopyManualFile(source, *target);
    return done ? TCopyResult::Copied : TCopyResult::Failed;
}

void THtmlFrame::CopyPageFiles() {
    TFrameViewer* viewer = CurrentViewer();
    if (!viewer || viewer->isHidden())
        return;
    const std::string document = viewer->CurrentDocument();
    if (document.empty() || !PathBoxFolder())
        return;
    bool refused = CopyIntoPathBox(document, ManualFileName(document)) == TCopyResult::Refused;

    // The pictures and styles a saved page keeps beside it.
    const std::size_t dot = document.rfind('.');
    const std::size_t slash = document.rfind('\\');
    const std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                                 ? document.substr(0, dot)
                                 : document;
    const std::string companion = stem + ".files";
    if (FindOnDisk(companion, DiskKind::Directory)) {
        const std::string documentFolder = FolderOf(document);
        TDynamicStringArray masks{"*.*"};
        TDynamicStringArray items;
        ScanDirectory(companion, masks, true, items, true);
        for (const std::string& item : items) {
            const std::optional<std::string> relative = RelativeToFolder(documentFolder, item);
            const TCopyResult result =
                relative ? CopyIntoPathBox(item, *relative) : CopyIntoPathBox(item, item);
            refused = refused || result == TCopyResult::Refused;
        }
    }
    if (!refused) // a refusal stays on the status line
        ShowStatus(CopiedText());
}

void THtmlFrame::CopyFormText(const std::string& controlName) {
    TFrameViewer* viewer = CurrentViewer();
    if (!viewer)
        return;
    for (const THtmlFormControl& control : viewer->FormControls()) {
        auto* combo = qobject_cast<QComboBox*>(control.Control);
        if (!combo || !AnsiSameText(control.Name, controlName) || combo->currentIndex() < 0)
            continue;
        QGuiApplication::clipboard()->setText(combo->currentText());
        ShowStatus(SerialCopiedText());
    }
}

void THtmlFrame::CopySelectedText() {
    if (TFrameViewer* viewer = CurrentViewer())
        PutOnClipboard(viewer->SelectedText());
}

// --- Printing ---

void THtmlFrame::PrintPage(const std::string& file) {
    try {
        if (!file.empty()) {
            auto viewer = std::make_unique<TPrintFrameViewer>(m_services.MainWindow);
            viewer->hide();
            viewer->setGeometry(0, 0, 0, 0);
            ApplyPageFont(*viewer, m_font);
            viewer->SetHistoryMaxCount(0);
            viewer->SetImageCacheCount(0);
            viewer->SetFvOptions(fvNoLinkUnderline);
            viewer->SetViewImages(true);
            viewer->OnPrintHeader = [](QWidget*, QPainter& canvas, int pageNumber, int pageWidth) {
                PageHeader(canvas, pageNumber, pageWidth);
            };
            viewer->LoadDocument(file);
            if (m_services.OnPrintPreview)
                m_services.OnPrintPreview(
                    {viewer->ActiveDocument(), PicturePage, PrintWidth, PrintHeight});
            PicturePage = false;
            return;
        }
        TFrameViewer* viewer = CurrentViewer();
        if (!viewer)
            return;
        const std::string ext = LowerAnsiText(LinkExtension(viewer->CurrentDocument()));
        PicturePage = ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg";
        if (m_services.OnPrintPreview)
            m_services.OnPrintPreview(
                {viewer->ActiveDocument(), PicturePage, PictureWidth, PictureHeight});
    } catch (...) {
        // Printing reports nothing.
    }
}

void THtmlFrame::PageHeader(QPainter& canvas, int pageNumber, int pageWidth) {
    canvas.save();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    canvas.setFont(font);
    canvas.setBackgroundMode(Qt::TransparentMode);
    canvas.setPen(Qt::black);
    const QString text = QStringLiteral("Страница %1").arg(pageNumber);
    const QFontMetrics metrics(font, canvas.device());
    const int width = metrics.horizontalAdvance(text);
    const int right = pageWidth - 50;
    canvas.drawText(QRect(right - width, 40, width, metrics.height()),
                    Qt::AlignRight | Qt::AlignTop, text);
    canvas.restore();
}

// --- Fonts ---

void THtmlFrame::ChooseFonts() {
    TFrameViewer* current = CurrentViewer();
    const TPageFont shown = current ? PageFontOf(*current) : m_font;
    TFontForm form(m_services.MainWindow);
    form.SetFontName(shown.Name);
    form.SetFontColor(shown.Color);
    form.SetFontSize(shown.Size);
    form.SetHotSpotColor(shown.HotSpotColor);
    form.SetBackground(shown.Background);
    const bool ok =
        m_services.RunFontForm ? m_services.RunFontForm(form) : form.exec() == QDialog::Accepted;
    if (!ok)
        return;
    TPageFont chosen;
    chosen.Name = form.GetFontName();
    chosen.Color = form.FontColor();
    chosen.Size = form.Size();
    chosen.HotSpotColor = form.HotSpotColor();
    chosen.Background = form.GetBackground();
    m_font = chosen;
    for (const QPointer<TFrameViewer>& viewer : m_viewers) {
        if (viewer)
            ApplyPageFont(*viewer, chosen);
    }
    if (current && !current->CurrentDocument().empty()) {
        try {
            current->ReloadDocument();
        } catch (...) {
        }
    }
}

void THtmlFrame::SaveFontSettings() {
    if (!m_services.Settings)
        return;
    TFrameViewer* viewer = CurrentViewer();
    if (!viewer) {
        for (const QPointer<TFrameViewer>& candidate : m_viewers) {
            if (candidate) {
                viewer = candidate.data();
                break;
            }
        }
    }
    WritePageFont(*m_services.Settings, viewer ? PageFontOf(*viewer) : m_font);
}

// --- Links ---

void THtmlFrame::MarkVisited(TFrameViewer* viewer, const std::string& expanded, bool& handled) {
    handled = true;
    viewer->AddVisited(expanded);
    viewer->RefreshVisitedMarks();
}

void THtmlFrame::HotSpotClick(TFrameViewer* viewer, const std::string& target,
                              const std::string& url, bool& handled) {
    handled = false;
    if (!viewer)
        return;
    try {
        const std::string expanded = LowerAnsiText(viewer->ExpandLinkTarget(url));
        const bool listing = RarListingOf(viewer);
        const TLinkAction action = ChooseLinkAction(target, url, expanded, listing);
        switch (action) {
        case TLinkAction::EnlargedPicture:
            MarkVisited(viewer, expanded, handled);
            EnlargedPicture(viewer, expanded);
            return;
        case TLinkAction::ShellUrl:
            MarkVisited(viewer, expanded, handled);
            if (m_services.Shell)
                m_services.Shell->Open(FromAnsi(url), {}, {});
            return;
        case TLinkAction::PrintLinked: {
            handled = true;
            // The pseudo-protocol goes in whatever letter case it was written.
            std::string rest = url;
            if (const std::size_t at = LowerAnsiText(rest).find("printhtml:");
                at != std::string::npos)
                rest.erase(at, 10);
            const std::string file = viewer->ExpandLinkTarget(rest);
            viewer->AddVisited(file);
            viewer->RefreshVisitedMarks();
            PrintPage(file);
            return;
        }
        case TLinkAction::CopyFile:
            MarkVisited(viewer, expanded, handled);
            CopyFileLink(viewer, url);
            return;
        case TLinkAction::CopyFormText:
            MarkVisited(viewer, expanded, handled);
            CopyFormText(url.size() > 9 ? url.substr(9) : std::string());
            return;
        default:
            break;
        }
        const bool anchor = !url.empty() && url.front() == '#';
        // A file of a listed archive is unpacked beside the listing first.
        if (listing && !anchor && !ArchiveFileExists(WithoutAnchor(expanded)) &&
            m_services.OnExtractListedArchive)
            m_services.OnExtractListedArchive();
        if (action == TLinkAction::OtherFile) {
            MarkVisited(viewer, expanded, handled);
            OtherFile(viewer, expanded);
        } else if (action == TLinkAction::PageInListing) {
            OpenPage(expanded);
            handled = true;
        }
    } catch (...) {
        // A link that fails does nothing more.
    }
}

void THtmlFrame::EnlargedPicture(TFrameViewer*, const std::string& expanded) {
    const std::string file = WithoutAnchor(expanded);
    if (!ArchiveFileExists(file))
        return;
    WindowHandle window;
    if (FindTopWindowByTitle(PictureWindowCaption(), window) && m_services.OnQueryPictureWindow &&
        m_services.OnQueryPictureWindow(window, expanded))
        return;
    if (!m_services.Shell)
        return;
    const QString program = m_services.ProgramFile.isEmpty()
                                ? QCoreApplication::applicationFilePath()
                                : m_services.ProgramFile;
    const QString document = NativeFile(file) + FromAnsi(expanded.substr(file.size()));
    m_services.Shell->Open(program, {document}, {});
}

void THtmlFrame::CopyFileLink(TFrameViewer* viewer, const std::string& url) {
    const std::string source =
        LowerAnsiText(viewer->ExpandLinkTarget(url.size() > 5 ? url.substr(5) : std::string()));
    // Without a path box there is no folder to copy to.
    if (!PathBoxFolder())
        return;
    CopyIntoPathBox(source, ManualFileName(source));
}

void THtmlFrame::OtherFile(TFrameViewer* viewer, const std::string& expanded) {
    std::string file = expanded;
    if (!RarListingOf(viewer))
        file = ReplaceForeignDrive(file, ProgramDrive());
    const std::string name = WithoutAnchor(file);
    switch (ChooseFileAction(file)) {
    case TFileAction::SaveZip:
        SaveZip(name);
        return;
    case TFileAction::ListRar:
        if (m_services.OnOpenArchiveListing)
            m_services.OnOpenArchiveListing(name, viewer->CurrentDocument());
        return;
    case TFileAction::PlayWav:
        if (m_services.OnPlaySound)
            m_services.OnPlaySound(name);
        return;
    case TFileAction::RunProgram:
    case TFileAction::ShellOpen: {
        if (!m_services.Shell)
            return;
        // Programs and documents start with their own folder current.
        const QString native = NativeFile(name);
        m_services.Shell->Open(native, {}, QFileInfo(native).absolutePath());
        return;
    }
    }
}

void THtmlFrame::SaveZip(const std::string& file) {
    const QString start = ZipSaveDir().isEmpty()
                              ? FromAnsi(ManualFileName(file))
                              : ZipSaveDir() + QLatin1Char('/') + FromAnsi(ManualFileName(file));
    const QString filter = QStringLiteral("Zip файлы (*.zip);;Все файлы (*.*)");
    const QString chosen =
        m_services.ChooseSaveFile
            ? m_services.ChooseSaveFile(m_services.MainWindow, start, filter)
            : QFileDialog::getSaveFileName(m_services.MainWindow, QString(), start, filter);
    if (chosen.isEmpty())
        return;
    SetZipSaveDir(QFileInfo(chosen).absolutePath());
    CopyManualFileTo(file, std::filesystem::path(chosen.toStdString()));
}

void THtmlFrame::HotSpotCovered(TFrameViewer* viewer, const std::string& target,
                                const std::string& url) {
    if (!m_services.OnLinkStatus || !viewer)
        return;
    if (url.empty() || RarListingOf(viewer)) {
        m_services.OnLinkStatus(QString());
        return;
    }
    try {
        m_services.OnLinkStatus(FromAnsi(LinkStatusText(*viewer, target, url, PathBoxFolder())));
    } catch (...) {
    }
}

void THtmlFrame::HistoryChanged(TFrameViewer* viewer) {
    if (m_services.OnHistoryChange)
        m_services.OnHistoryChange(viewer, ViewerIndexOf(viewer));
}

// --- Mouse and keys ---

void THtmlFrame::ViewerMouseMove(THTMLViewer* sender, int x, int y) {
    const std::optional<THtmlPicture> picture = sender->ObjectAt(x, y);
    if (!picture) {
        m_hintImage.reset();
    } else if (!(m_hintImage && *m_hintImage == *picture && m_hintViewer == sender) &&
               !m_hintTimer.isActive() && ShowsAltText(*picture)) {
        m_hintTicks = 0;
        m_hintTimer.start();
    }
    m_hintViewer = sender;
    if (m_services.OnMouseOverPage)
        m_services.OnMouseOverPage();
}

void THtmlFrame::HintTimerTick() {
    ++m_hintTicks;
    const QPoint cursor = m_services.CursorPos ? m_services.CursorPos() : QCursor::pos();
    std::optional<THtmlPicture> picture;
    if (m_hintViewer) {
        const QPoint at = m_hintViewer->mapFromGlobal(cursor);
        picture = m_hintViewer->ObjectAt(at.x(), at.y());
    }
    if (!picture) {
        m_hintImage.reset();
        HideHint();
        return;
    }
    if (m_hintTicks >= 21) {
        HideHint();
        return;
    }
    const bool same = m_hintImage && *m_hintImage == *picture;
    if (m_hintTicks < 2 || (m_hintShown && same))
        return;
    if (!ShowsAltText(*picture)) {
        HideHint();
        return;
    }
    const QFontMetrics metrics(m_hintWindow->font());
    const int margins = 2 * (m_hintWindow->margin() + 1);
    const QRect text = metrics.boundingRect(QRect(0, 0, kHintMaxWidth - margins, 10000),
                                            Qt::TextWordWrap, picture->Alt);
    m_hintWindow->setText(picture->Alt);
    m_hintWindow->setFixedSize(text.width() + margins, text.height() + margins);
    m_hintWindow->move(cursor + QPoint(0, 18));
    m_hintWindow->show();
    m_hintShown = true;
    if (!same) {
        m_hintTicks = 2;
        m_hintImage = picture;
    }
}

void THtmlFrame::HideHint() {
    m_hintTimer.stop();
    if (m_hintWindow)
        m_hintWindow->hide();
    m_hintShown = false;
}

void THtmlFrame::ViewerMouseDown(THTMLViewer* sender, Qt::MouseButton button,
                                 Qt::KeyboardModifiers shift, int x, int y) {
    if (m_services.OnHidePopups)
        m_services.OnHidePopups();
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (button == Qt::RightButton && held == Qt::NoModifier && m_services.OnContextPopup)
        m_services.OnContextPopup(sender->mapToGlobal(QPoint(x, y)));
}

void THtmlFrame::ViewerKeyDown(THTMLViewer* sender, int key, Qt::KeyboardModifiers shift,
                               bool& handled) {
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((key == Qt::Key_C || key == Qt::Key_Insert) && held == Qt::ControlModifier) {
        PutOnClipboard(sender->SelectedText());
        handled = true;
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_services.OnEnterKey)
        m_services.OnEnterKey();
}

} // namespace carmanual
