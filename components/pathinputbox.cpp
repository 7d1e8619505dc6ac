#include "pathinputbox.h"

#include "paths.h"
#include "qtansi.h"
#include "settingnames.h"
#include "settingsstore.h"
#include "syntax.h"

#include <QAction>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>

#include <filesystem>

namespace carmanual {

namespace {

// A folder drawn in code: the style's icon would make Qt read the desktop's
// icon theme, which costs a noticeable part of the program's start.
QIcon FolderIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(150, 110, 30));
    painter.setBrush(QColor(246, 196, 84));
    painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    painter.drawRect(QRectF(1.5, 2.5, 5, 2));
    return QIcon(pixmap);
}

} // namespace

namespace {

QString ChooseWithDialog(QWidget* parent, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Выберите папку"), startFolder);
}

std::filesystem::path PathOfQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::filesystem::path(
        std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

} // namespace

QString TPathInputBox::DisplayText(std::string_view manualName) {
    if (Trim(manualName).empty())
        return {};
    return NativeName(manualName);
}

std::string TPathInputBox::ManualName(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (t == QLatin1String("~") || t.startsWith(QLatin1String("~/")))
        t = QDir::homePath() + t.mid(1);
    if (t.startsWith(QLatin1Char('/')))
        return FromNativePath(PathOfQString(t));
    return ToAnsi(t);
}

TPathInputBox::TPathInputBox(const TDynamicPathInputArray& boxes, QWidget* mainWindow,
                             ISettingsStore& store, int currentScreen, TFolderChooser chooseFolder)
    : m_mainWindow(mainWindow), m_store(store),
      m_chooseFolder(chooseFolder ? std::move(chooseFolder) : TFolderChooser(ChooseWithDialog)) {
    CreatePathBoxes(boxes, currentScreen);
}

TPathInputBox::~TPathInputBox() {
    SaveTexts();
    for (TBox& box : m_boxes)
        delete box.Edit.data();
}

void TPathInputBox::CreatePathBoxes(const TDynamicPathInputArray& boxes, int currentScreen) {
    m_boxes.reserve(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const RPathInput& r = boxes[i];
        const int index = static_cast<int>(i);
        TBox box;
        box.Screen = r.Screen;
        box.Hint = FromAnsi(r.Hint);
        const std::optional<std::string> stored =
            m_store.ReadString(settingname::PathInstall(index));
        box.Path = stored && !stored->empty() ? *stored : r.PathDef;

        auto* edit = new QLineEdit(m_mainWindow);
        edit->setVisible(false);
        edit->setFrame(false);
        edit->setToolTip(box.Hint);
        QFont font = edit->font();
        font.setPixelSize(std::max(1, r.Bottom - r.Top - 1));
        edit->setFont(font);
        edit->setGeometry(r.Left, r.Top, std::max(0, r.Right - r.Left),
                          std::max(0, r.Bottom - r.Top));
        edit->setText(DisplayText(box.Path));
        edit->setMouseTracking(true);
        edit->installEventFilter(this);

        QAction* choose = edit->addAction(FolderIcon(),
                                          QLineEdit::TrailingPosition);
        choose->setToolTip(QStringLiteral("Выбрать папку"));
        connect(choose, &QAction::triggered, this, [this, index] { ChooseFolder(index); });
        // Only what the reader changes is read back; a text shown as loaded
        // keeps its stored name exactly.
        connect(edit, &QLineEdit::textEdited, this, [this, index](const QString& text) {
            m_boxes[Index(index)].Path = ManualName(text);
        });

        box.Edit = edit;
        m_boxes.push_back(std::move(box));
    }
    m_shownScreen = -1;
    ShowPathBoxes(currentScreen);
}

void TPathInputBox::ShowPathBoxes(int currentScreen) {
    for (TBox& box : m_boxes)
        if (box.Edit && box.Screen == currentScreen)
            box.Edit->setVisible(true);
    // A change to the screen already shown keeps its boxes.
    for (TBox& box : m_boxes)
        if (box.Edit && box.Screen == m_shownScreen && box.Screen != currentScreen)
            box.Edit->setVisible(false);
    m_shownScreen = currentScreen;
}

void TPathInputBox::HidePathBoxes(bool hide) {
    for (TBox& box : m_boxes)
        if (box.Edit && box.Screen == m_shownScreen)
            box.Edit->setVisible(!hide);
}

std::optional<std::string> TPathInputBox::GetCurrentPath() const {
    for (const TBox& box : m_boxes) {
        if (box.Screen != m_shownScreen)
            continue;
        std::string path = box.Path;
        if (path.empty() || (path.back() != '\\' && path.back() != '/'))
            path += '\\';
        return path;
    }
    return std::nullopt;
}

void TPathInputBox::SaveTexts() {
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_store.WriteString(settingname::PathInstall(static_cast<int>(i)), m_boxes[i].Path);
}

void TPathInputBox::ChooseFolder(int index) {
    if (index < 0 || index >= BoxCount())
        return;
    TBox& box = m_boxes[Index(index)];
    QString start = DisplayText(box.Path);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    const QString chosen = m_chooseFolder(m_mainWindow, start);
    if (chosen.isEmpty())
        return;
    const QString folder = QDir::cleanPath(chosen);
    box.Path = ManualName(folder);
    if (box.Edit)
        box.Edit->setText(QDir::toNativeSeparators(folder));
}

void TPathInputBox::SetHintsShown(bool shown) {
    for (TBox& box : m_boxes)
        if (box.Edit)
            box.Edit->setToolTip(shown ? box.Hint : QString());
}

bool TPathInputBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove)
        emit mouseMovedOverBox();
    return QObject::eventFilter(watched, event);
}

} // namespace carmanual
