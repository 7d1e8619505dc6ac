#pragma once
// The pictures of the popup lists (_popup elements): the background of each
// list and the three pictures of its entries (normal, under the mouse,
// pressed). The program draws the captions at 7 pixels from an entry's left
// edge, so an entry's icon stands at its right end. An unshaped list grows
// and shrinks with its entries by repeating the background's middle row and
// keeping its bottom margin, so the backgrounds keep their middle plain; a
// shaped list (vertex points, first screen only) keeps its size and is cut
// to its polygon.
//
// An entry picture's style is its folder, as for the skin's controls:
// skin\pitem\line1.bmp is a plain list row, skin\pmenu\copy2.bmp a menu entry
// with the "copy" icon under the mouse.

#include <QImage>
#include <QPolygonF>
#include <QSize>
#include <QString>

namespace skingen {

// The entry size of a style; an empty size for a style that does not exist.
QSize PopupItemSize(const QString& style);

// True when the style's entries carry an icon named by the picture.
bool PopupItemHasGlyph(const QString& style);

// A list background of that size; with a shape, everything outside the
// polygon is left dark. margin is the space above the first entry and below
// the last, which the program keeps when it resizes the list.
QImage PaintPopupBack(const QSize& size, const QPolygonF& shape, int margin);

// One entry picture: slot 0 normal, 1 under the mouse, 2 pressed, painted
// over the piece of background it covers.
QImage PaintPopupItem(const QString& style, const QString& glyph, int slot, const QImage& backdrop);

} // namespace skingen
