#pragma once
// Captions drawn by the program onto skin pictures, one character at a time,
// so a skin can carry its texts in its description instead of its bitmaps.

#include "elements.h"
#include "screenelements.h"

#include <QImage>

#include <string_view>

namespace carmanual {

// Extra pixels between caption characters; the skins are drawn with none.
inline constexpr int LetterSpacing = 0;

// The pictures of an element as the caption painter names them.
// (TElementPicture: screenelements.h)

QColor ColorFromTColor(TColor color);

// Draws text into rect of the picture with the font, style and colour given,
// one character after the other, each measured and drawn top-left aligned
// and clipped to the rectangle that is left.
void DrawCaptionText(QImage& picture, std::string_view text, QRect rect,
                     const std::string& fontName, int fontSize, TFontStyles style, TColor color);

void DrawButtonCaption(QImage& picture, const RBtn& button, TElementPicture name);
void DrawSwitchCaption(QImage& picture, const RSwthOne& sw, TElementPicture name);
void DrawGroupCaption(QImage& picture, const RSwthGrp& member, TElementPicture name);

} // namespace carmanual
