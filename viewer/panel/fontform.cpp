#include "fontform.h"

#include "colorgrid.h"
#include "qtansi.h"

#include "ansi.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <array>
#include <cstdio>
#include <utility>

namespace carmanual {

namespace {

// The standard colour names the background list offers, in their order.
constexpr std::array<std::pair<const char*, TColor>, 22> kColorNames = {{
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},  {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},   {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},    {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},  {"clMedGray", 0xA4A0A0},    {"clDefault", 0x20000000},
    {"clNone", 0x1FFFFFFF},
}};

TColor FromQColor(const QColor& c) {
    return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 |
           static_cast<TColor>(c.blue()) << 16;
}

QFont DialogFont(const char* family, int pixels) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    return font;
}

QLabel* NewLabel(QWidget* parent, const QString& text, int x, int y, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setFont(DialogFont("MS Sans Serif", 11));
    label->move(x, y);
    label->adjustSize();
    label->setBuddy(buddy);
    return label;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& text, QRect rect) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(DialogFont("MS Sans Serif", 11));
    button->setGeometry(rect);
    button->setAutoDefault(false);
    return button;
}

QListWidget* NewListBox(QWidget* parent, const char* name, QRect rect) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(DialogFont("MS Sans Serif", 11));
    list->setGeometry(rect);
    list->setUniformItemSizes(true);
    list->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; }"));
    return list;
}

} // namespace

const std::string& TFontForm::SampleText() {
    static const std::string text =
        Utf8ToAnsi("<center><h1>Заголовок</h1></center><ul>Нормальный текст<li><a "
                   "href=NoWhere>Ссылка</a><li><b>Жирный текст</b><li><i>Наклонный "
                   "текст</i><li><code>Текст кода</code></ul> <hr>");
    return text;
}

TFontForm::TFontForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FontForm"));
    setWindowTitle(QStringLiteral("Шрифт"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(315, 339);
    setFont(DialogFont("Arial", 11));

    m_fontViewer = new THTMLViewer(this);
    m_fontViewer->setObjectName(QStringLiteral("FontViewer"));
    m_fontViewer->setGeometry(15, 16, 193, 177);
    m_fontViewer->SetViewImages(false);
    m_fontViewer->SetHistoryMaxCount(0);
    m_fontViewer->SetNoSelect(true);
    m_fontViewer->SetVerticalScrollBar(Qt::ScrollBarAlwaysOn);
    m_fontViewer->SetDefFontName("Times New Roman");
    m_fontViewer->SetDefPreFontName("Courier New");
    // The sample's link leads nowhere.
    m_fontViewer->OnHotSpotTargetClick = [](QWidget*, const std::string&, const std::string&,
                                            bool& handled) { handled = true; };

    m_fontColorGrid = new TColorGrid(this);
    m_fontColorGrid->setObjectName(QStringLiteral("FontColorGrid"));
    m_fontColorGrid->setFont(DialogFont("MS Sans Serif", 13));
    m_fontColorGrid->setGeometry(225, 23, 72, 72);
    m_fontColorGrid->OnChange = [this] { FontColorGridChange(); };
    NewLabel(this, QStringLiteral("Цвет &текста"), 225, 7, m_fontColorGrid);

    m_hotSpotColorGrid = new TColorGrid(this);
    m_hotSpotColorGrid->setObjectName(QStringLiteral("HotSpotColorGrid"));
    m_hotSpotColorGrid->setFont(DialogFont("MS Sans Serif", 13));
    m_hotSpotColorGrid->setGeometry(225, 114, 72, 72);
    m_hotSpotColorGrid->OnChange = [this] { HotSpotColorGridChange(); };
    NewLabel(this, QStringLiteral("Цвет &ссылки"), 225, 99, m_hotSpotColorGrid);

    m_fontSizeEdit = new QSpinBox(this);
    m_fontSizeEdit->setObjectName(QStringLiteral("FontSizeEdit"));
    m_fontSizeEdit->setFont(DialogFont("MS Sans Serif", 11));
    m_fontSizeEdit->setGeometry(225, 206, 65, 22);
    m_fontSizeEdit->setRange(6, 24);
    m_fontSizeEdit->setValue(12);
    NewLabel(this, QStringLiteral("&Размер"), 225, 189, m_fontSizeEdit);

    m_fontListBox = NewListBox(this, "FontListBox", {11, 217, 87, 115});
    m_fontListBox->setSortingEnabled(true);
    NewLabel(this, QStringLiteral("&Шрифт"), 9, 200, m_fontListBox);

    m_backListBox = NewListBox(this, "BackListBox", {122, 217, 87, 115});
    NewLabel(this, QStringLiteral("&Цвет фона"), 122, 200, m_backListBox);

    m_resetButton = NewButton(this, "ResetButton", QStringLiteral("&Сброс"), {226, 246, 63, 25});
    m_okButton = NewButton(this, "OKButton", QStringLiteral("O&K"), {226, 274, 63, 25});
    m_okButton->setDefault(true);
    m_cancel = NewButton(this, "Cancel", QStringLiteral("Отмена"), {226, 301, 63, 25});

    setTabOrder(m_fontListBox, m_backListBox);
    setTabOrder(m_backListBox, m_fontColorGrid);
    setTabOrder(m_fontColorGrid, m_hotSpotColorGrid);
    setTabOrder(m_hotSpotColorGrid, m_fontSizeEdit);
    setTabOrder(m_fontSizeEdit, m_resetButton);
    setTabOrder(m_resetButton, m_okButton);
    setTabOrder(m_okButton, m_cancel);
    setTabOrder(m_cancel, m_fontViewer);

    connect(m_resetButton, &QPushButton::clicked, this, [this] { ResetButtonClick(); });
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_fontListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClicks(); });
    connect(m_backListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClicks(); });
    connect(m_fontSizeEdit, &QSpinBox::valueChanged, this, [this] { ListBoxClicks(); });

    FormCreate();
}

TFontForm::~TFontForm() = default;

void TFontForm::FormCreate() {
    const QSignalBlocker fonts(m_fontListBox);
    const QSignalBlocker backs(m_backListBox);
    m_fontListBox->addItems(QFontDatabase::families());
    for (const auto& [name, color] : kColorNames)
        m_backListBox->addItem(QString::fromLatin1(name));
    m_fontListBox->setCurrentRow(-1);
    m_backListBox->setCurrentRow(-1);
    ShowSample();
}

void TFontForm::ShowSample() {
    m_fontViewer->SetDefFontName(m_sampleFontName);
    m_fontViewer->SetDefFontColor(m_fontColor);
    m_fontViewer->SetDefFontSize(m_size);
    m_fontViewer->SetDefHotSpotColor(m_hotSpotColor);
    m_fontViewer->SetDefBackground(m_background);
    m_fontViewer->LoadFromText(SampleText());
}

void TFontForm::SetFontName(const std::string& name) {
    const QSignalBlocker block(m_fontListBox);
    const auto select = [this](const QString& wanted) {
        for (int i = 0; i < m_fontListBox->count(); ++i) {
            if (m_fontListBox->item(i)->text().compare(wanted, Qt::CaseInsensitive) == 0) {
                m_fontListBox->setCurrentRow(i);
                return true;
            }
        }
        return false;
    };
    if (!select(FromAnsi(name)) && !select(QStringLiteral("Arial")))
        m_fontListBox->setCurrentRow(-1);
    m_sampleFontName = name;
    ShowSample();
}

std::string TFontForm::GetFontName() const {
    const QListWidgetItem* item = m_fontListBox->currentItem();
    return item && item->isSelected() ? ToAnsi(item->text()) : std::string("Arial");
}

void TFontForm::SetFontColor(TColor color) {
    m_fontColor = color;
    ShowSample();
}

void TFontForm::SetHotSpotColor(TColor color) {
    m_hotSpotColor = color;
    ShowSample();
}

void TFontForm::SetFontSize(int size) {
    m_size = size;
    {
        const QSignalBlocker block(m_fontSizeEdit);
        m_fontSizeEdit->setValue(size);
    }
    ShowSample();
}

std::string TFontForm::ColorName(TColor color) {
    for (const auto& [name, value] : kColorNames) {
        if (value == color)
            return name;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%.8X", static_cast<unsigned>(color));
    return hex;
}

std::optional<TColor> TFontForm::ColorFromName(const std::string& name) {
    for (const auto& [known, value] : kColorNames) {
        if (name == known)
            return value;
    }
    if (name.size() == 9 && name[0] == '$' &&
        name.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos)
        return static_cast<TColor>(std::stoul(name.substr(1), nullptr, 16));
    return std::nullopt;
}

void TFontForm::SetBackground(TColor color) {
    const QString name = QString::fromLatin1(ColorName(color).c_str());
    {
        const QSignalBlocker block(m_backListBox);
        const QList<QListWidgetItem*> found = m_backListBox->findItems(name, Qt::MatchExactly);
        if (found.isEmpty()) {
            m_backListBox->addItem(name);
            m_backListBox->setCurrentRow(m_backListBox->count() - 1);
        } else {
            m_backListBox->setCurrentItem(found.front());
        }
    }
    m_background = color;
    ShowSample();
}

TColor TFontForm::GetBackground() const {
    const QListWidgetItem* item = m_backListBox->currentItem();
    if (item && item->isSelected()) {
        if (const std::optional<TColor> color = ColorFromName(item->text().toStdString()))
            return *color;
    }
    return FromQColor(QApplication::palette().color(QPalette::Button));
}

void TFontForm::FormShow() {
    m_savedName = GetFontName();
    m_savedColor = m_fontColor;
    m_savedHotSpot = m_hotSpotColor;
    m_savedBackground = GetBackground();
    m_savedSize = m_size;
}

void TFontForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFontForm::ResetButtonClick() {
    SetFontName(m_savedName);
    SetFontSize(m_savedSize);
    SetFontColor(m_savedColor);
    SetHotSpotColor(m_savedHotSpot);
    SetBackground(m_savedBackground);
}

void TFontForm::FontColorGridChange() {
    SetFontColor(m_fontColorGrid->ChosenColor());
}

void TFontForm::HotSpotColorGridChange() {
    SetHotSpotColor(m_hotSpotColorGrid->ChosenColor());
}

void TFontForm::ListBoxClicks() {
    if (const QListWidgetItem* font = m_fontListBox->currentItem(); font && font->isSelected())
        SetFontName(ToAnsi(font->text()));
    if (const QListWidgetItem* back = m_backListBox->currentItem(); back && back->isSelected()) {
        if (const std::optional<TColor> color = ColorFromName(back->text().toStdString()))
            SetBackground(*color);
    }
    if (m_fontSizeEdit->value() != m_size)
        SetFontSize(m_fontSizeEdit->value());
}

} // namespace carmanual
