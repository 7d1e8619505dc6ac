#include "itemsbtn.h"

#include "description.h"
#include "qtansi.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace carmanual {

namespace {

// An entry described without a size gets the usual 8 points.
constexpr std::int32_t kDefaultPointSize = 8;
// Room kept free left and right of a caption.
constexpr int kTextMargin = 7;

QColor FromTColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

const std::string& ItemOrFirst(const TDynamicStringArray& list, std::size_t index) {
    static const std::string kNone;
    if (index < list.size())
        return list[index];
    return list.empty() ? kNone : list.front();
}

// The caption cut to the first characters that fit with "..." after them;
// the caption itself when it fits or when not even "..." does.
QString Shortened(const QString& caption, const QFontMetrics& metrics, int boxWidth) {
    if (metrics.horizontalAdvance(caption) <= boxWidth)
        return caption;
    for (qsizetype keep = caption.size(); keep >= 0; --keep) {
        const QString candidate = caption.left(keep) + QStringLiteral("...");
        if (metrics.horizontalAdvance(candidate) <= boxWidth)
            return candidate;
    }
    return caption;
}

void DrawText(QImage& picture, const QRect& box, const QFont& font, TColor color,
              const QString& text) {
    if (picture.isNull() || text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(FromTColor(color));
    // Clipped to the box, as the skins expect of a caption.
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace

bool TItemsBtn::Contains(QPoint point) const {
    return m_left < point.x() && point.x() < m_left + m_width && m_top < point.y() &&
           point.y() < m_top + m_height;
}

const QImage& TItemsBtn::CurrentPicture() const {
    if (m_pressed)
        return m_downPicture;
    if (m_hover)
        return m_hoverPicture;
    return m_upPicture;
}

void TItemsBtn::SetUp(const RPopupData& description, std::size_t index) {
    m_upFile = ItemOrFirst(description.FnBtnUp, index);
    m_moveFile = ItemOrFirst(description.FnBtnMove, index);
    m_downFile = ItemOrFirst(description.FnBtnDown, index);
    m_upFont = description.Font[0];
    m_upSize = description.Size[0];
    m_upStyle = description.Style[0];
    m_upColor = description.Color[0];
    m_moveFont = description.Font[1];
    m_moveSize = description.Size[1];
    m_moveStyle = description.Style[1];
    m_moveColor = description.Color[1];
}

void TItemsBtn::LoadPictures(const TPictureLoader& load) {
    if (!load)
        return;
    if (QImage up = load(m_upFile); !up.isNull()) {
        m_upPicture = std::move(up);
        m_width = m_upPicture.width();
        m_height = m_upPicture.height();
    }
    if (QImage move = load(m_moveFile); !move.isNull())
        m_hoverPicture = std::move(move);
    if (QImage down = load(m_downFile); !down.isNull())
        m_downPicture = std::move(down);
}

bool TItemsBtn::SetCaption(const std::string& caption, const TPictureLoader& load) {
    if (caption == m_caption)
        return false;
    m_caption = caption;
    Redraw(load);
    return true;
}

void TItemsBtn::Redraw(const TPictureLoader& load) {
    LoadPictures(load);
    DrawCaption();
}

QFont TItemsBtn::CaptionFont(const std::string& name, std::int32_t points,
                             const std::string& styleWords) {
    QFont font(FromAnsi(name));
    const std::int32_t size = points > 0 ? points : kDefaultPointSize;
    // A fixed pixel size keeps the captions where the skin expects them on any
    // screen resolution.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * 96.0 / 72.0))));
    const TFontStyles style = StyleFromWords(styleWords);
    font.setBold(style & fontstyle::Bold);
    font.setItalic(style & fontstyle::Italic);
    font.setUnderline(style & fontstyle::Underline);
    font.setStrikeOut(style & fontstyle::StrikeOut);
    return font;
}

QRect TItemsBtn::CaptionBox(int textWidth, int textHeight, int entryWidth, int entryHeight,
                            bool& overflows) {
    int top = -3;
    int bottom = entryHeight;
    if (textHeight < entryHeight) {
        top = (entryHeight - textHeight) / 2;
        bottom = top + textHeight;
    }
    const int left = kTextMargin;
    int right = entryWidth - kTextMargin;
    overflows = textWidth + 2 * kTextMargin >= entryWidth;
    if (!overflows)
        right = textWidth + kTextMargin;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TItemsBtn::DrawCaption() {
    const QString caption = FromAnsi(m_caption);
    const QFont upFont = CaptionFont(m_upFont, m_upSize, m_upStyle);
    const QFont moveFont = CaptionFont(m_moveFont, m_moveSize, m_moveStyle);

    bool overflows = false;
    const QFontMetrics upMetrics(upFont);
    const QRect upBox = CaptionBox(upMetrics.horizontalAdvance(caption), upMetrics.height(),
                                   m_width, m_height, overflows);
    m_drawnCaption = Shortened(caption, upMetrics, upBox.width());
    DrawText(m_upPicture, upBox, upFont, m_upColor, m_drawnCaption);

    // The hover and the pressed picture carry the same text in the hover
    // font; that measure decides the tool tip.
    const QFontMetrics moveMetrics(moveFont);
    const QRect moveBox = CaptionBox(moveMetrics.horizontalAdvance(caption), moveMetrics.height(),
                                     m_width, m_height, overflows);
    DrawText(m_hoverPicture, moveBox, moveFont, m_moveColor, m_drawnCaption);
    DrawText(m_downPicture, moveBox, moveFont, m_moveColor, m_drawnCaption);
    m_toolTip = overflows ? caption : QString();
}

} // namespace carmanual
