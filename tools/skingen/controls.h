#pragma once
// The pictures of buttons, single switches and switch-group members. Each
// picture is painted over the piece of screen background it will cover, so
// that rounded corners and shadows blend with the skin wherever the program
// copies it. Captions are not painted here: the program draws them from the
// description's text attributes, so the plates leave room for them.
//
// A style is the folder a picture lies in (skin\tool\print1.bmp has style
// "tool" and icon "print"); the slot is the picture's place in the element:
// buttons up, mv, dn; switches and group members up, mvup, mvdn, dn.

#include <QImage>
#include <QSize>
#include <QString>

namespace skingen {

// The picture size of a style; an empty size for a style that does not exist.
QSize ControlSize(const QString& style);

// True when the style needs an icon name.
bool ControlHasGlyph(const QString& style);

// Paints one picture. toggle is true for single switches and group members.
QImage PaintControl(const QString& style, const QString& glyph, bool toggle, int slot,
                    const QImage& backdrop);

} // namespace skingen
