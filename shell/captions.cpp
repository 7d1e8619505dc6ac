#include "captions.h"

#include "qtansi.h"
#include "syntax.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace carmanual {

QColor ColorFromTColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

void DrawCaptionText(QImage& picture, std::string_view text, QRect rect,
                     const std::string& fontName, int fontSize, TFontStyles style, TColor color) {
    if (picture.isNull() || Trim(text).empty())
        return;
    QFont font(FromAnsi(fontName));
    // Sizes are points on the 96-dpi screens the skins were drawn for; a
    // fixed pixel size keeps captions inside their pictures on any screen.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(fontSize * 96.0 / 72.0))));
    font.setBold(style & fontstyle::Bold);
    font.setItalic(style & fontstyle::Italic);
    font.setUnderline(style & fontstyle::Underline);
    font.setStrikeOut(style & fontstyle::StrikeOut);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(ColorFromTColor(color));
    const QFontMetrics metrics(font);
    for (const QChar ch : FromAnsi(text)) {
        if (rect.width() <= 0)
            break;
        const QString glyph(ch);
        painter.save();
        painter.setClipRect(rect);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, glyph);
        painter.restore();
        rect.setLeft(rect.left() + metrics.horizontalAdvance(glyph) + LetterSpacing);
    }
}

namespace {

QRect CaptionRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

void DrawButtonCaption(QImage& picture, const RBtn& b, TElementPicture name) {
    TFontStyles style = b.StyleUp;
    TColor color = b.ColorUp;
    if (name == TElementPicture::Move) {
        style = b.StyleMove;
        color = b.ColorMove;
    } else if (name == TElementPicture::Down) {
        style = b.StyleDown;
        color = b.ColorDown;
    }
    DrawCaptionText(picture, b.Caption,
                    CaptionRect(b.TextLeft, b.TextTop, b.TextRight, b.TextBottom), b.FontName,
                    b.FontSize, style, color);
}

namespace {

template <typename T>
void StyleFor(const T& e, TElementPicture name, TFontStyles& style, TColor& color) {
    switch (name) {
    case TElementPicture::Up:
    case TElementPicture::Move:
        style = e.StyleUp;
        color = e.ColorUp;
        break;
    case TElementPicture::MoveUp:
        style = e.StyleMoveUp;
        color = e.ColorMoveUp;
        break;
    case TElementPicture::MoveDown:
        style = e.StyleMoveDown;
        color = e.ColorMoveDown;
        break;
    case TElementPicture::Down:
        style = e.StyleDown;
        color = e.ColorDown;
        break;
    }
}

bool IsDownPicture(TElementPicture name) {
    return name == TElementPicture::MoveDown || name == TElementPicture::Down;
}

} // namespace

void DrawSwitchCaption(QImage& picture, const RSwthOne& s, TElementPicture name) {
    TFontStyles style = 0;
    TColor color = 0;
    StyleFor(s, name, style, color);
    if (IsDownPicture(name))
        DrawCaptionText(
            picture, s.CaptionDown,
            CaptionRect(s.TextLeftDown, s.TextTopDown, s.TextRightDown, s.TextBottomDown),
            s.FontName, s.FontSize, style, color);
    else
        DrawCaptionText(picture, s.CaptionUp,
                        CaptionRect(s.TextLeftUp, s.TextTopUp, s.TextRightUp, s.TextBottomUp),
                        s.FontName, s.FontSize, style, color);
}

void DrawGroupCaption(QImage& picture, const RSwthGrp& g, TElementPicture name) {
    TFontStyles style = 0;
    TColor color = 0;
    StyleFor(g, name, style, color);
    std::string text = IsDownPicture(name) ? g.CaptionDown : g.CaptionUp;
    // The view switches of the car are written "2d" and "3d" in lower-cased
    // descriptions but read as 2D and 3D.
    if (text == "2d" || text == "2D" || text == "3d" || text == "3D")
        text[1] = 'D';
    DrawCaptionText(picture, text, CaptionRect(g.TextLeft, g.TextTop, g.TextRight, g.TextBottom),
                    g.FontName, g.FontSize, style, color);
}

} // namespace carmanual
