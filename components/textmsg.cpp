#include "textmsg.h"

#include "ansi.h"
#include "description.h"
#include "qtansi.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace carmanual {

namespace {

// red + green*256 + blue*65536
QColor ColorFromTColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// A field described without a size gets the usual 8 points.
constexpr std::int32_t DefaultPointSize = 8;

constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;

} // namespace

QFont TTextMsg::FieldFontFromRecord(const RText& field) {
    QFont font(FromAnsi(field.Font));
    const std::int32_t points = field.Size > 0 ? field.Size : DefaultPointSize;
    // A fixed pixel size keeps the texts where the skin expects them on any
    // screen resolution.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    const TFontStyles style = StyleFromWords(field.Style);
    font.setBold(style & fontstyle::Bold);
    font.setItalic(style & fontstyle::Italic);
    font.setUnderline(style & fontstyle::Underline);
    font.setStrikeOut(style & fontstyle::StrikeOut);
    return font;
}

std::unique_ptr<TTextMsg> TTextMsg::CreateTextFields(const TDynamicTextArray& fields,
                                                     QWidget* mainWindow) {
    if (fields.empty())
        return nullptr;
    return std::make_unique<TTextMsg>(fields, mainWindow);
}

TTextMsg::TTextMsg(const TDynamicTextArray& fields, QWidget* mainWindow)
    : m_mainWindow(mainWindow) {
    m_fields.reserve(fields.size());
    for (const RText& r : fields) {
        TField f;
        f.Font = FieldFontFromRecord(r);
        f.Color = ColorFromTColor(r.Color);
        f.Rect = QRect(r.Left, r.Top, std::max(0, r.Right - r.Left), 0);
        f.Text = FromAnsi(r.Value);
        f.Screen = r.Screen;
        f.Number = r.Number;
        f.StatusLine = LowerLatin(r.Ident) == "statusline";
        m_fields.push_back(std::move(f));
    }
}

TTextMsg::~TTextMsg() = default;

void TTextMsg::SetDialogWindow(QWidget* dialog) {
    m_dialog = dialog;
}

QRect TTextMsg::TextArea(const TField& field, const QString& text) const {
    const QFontMetrics metrics(field.Font);
    const QRect bounds =
        metrics.boundingRect(QRect(field.Rect.topLeft(), QSize(0, 0)), TextFlags, text);
    return QRect(field.Rect.topLeft(), QSize(bounds.width(), metrics.height()));
}

void TTextMsg::PaintTextFields(QPainter& painter, int currentScreen, TTextTarget target) {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    for (TField& f : m_fields) {
        if (f.Screen != currentScreen)
            continue;
        const bool onDialog = f.Number == DialogFieldNumber;
        if (onDialog != (target == TTextTarget::DialogWindow))
            continue;
        f.Rect = TextArea(f, f.Text);
        painter.setFont(f.Font);
        painter.setPen(f.Color);
        painter.drawText(f.Rect, TextFlags, f.Text);
    }
    painter.restore();
}

void TTextMsg::SetFieldText(const QString& text, std::int32_t number, bool repaint) {
    if (number >= 0) {
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            if (m_fields[i].Number == number) {
                ChangeField(static_cast<int>(i), text, repaint);
                return;
            }
        }
    } else if (number == StatusLineFields) {
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].StatusLine)
                ChangeField(static_cast<int>(i), text, repaint);
    }
}

void TTextMsg::ChangeField(int index, const QString& text, bool repaint) {
    TField& f = m_fields[Index(index)];
    if (f.Text == text)
        return;
    const QRect oldArea = f.Rect;
    f.Text = text;
    if (!repaint)
        return;
    // The window repaints its background there and then the fields, which
    // erases the old text and draws the new one.
    const QRect area = oldArea.united(TextArea(f, text));
    QWidget* window = f.Number == DialogFieldNumber ? m_dialog.data() : m_mainWindow.data();
    if (window)
        window->update(area);
    emit fieldRepaintRequested(index, area);
}

} // namespace carmanual
