#pragma once
// One entry of a popup list: three pictures (normal, under the mouse,
// pressed) with the entry's caption drawn into each, and the command the
// entry runs. An entry is no window of its own: its list lays it out, paints
// it and hands it the mouse, in the list's coordinates.
//
// A caption too wide for its entry is cut and ends in "..."; the full caption
// then becomes the entry's tool tip.

#include "panelelements.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace carmanual {

class TItemsBtn final {
public:
    // Reads a picture by its manual name; a null image when there is none.
    using TPictureLoader = std::function<QImage(const std::string& manualName)>;

    // Hidden entries take no room in the list.
    bool Used() const { return m_used; }
    const std::string& Command() const { return m_command; }
    bool Hover() const { return m_hover; }
    bool Pressed() const { return m_pressed; }
    bool Placed() const { return m_placed; }

    const QImage& UpPicture() const { return m_upPicture; }
    const QImage& HoverPicture() const { return m_hoverPicture; }
    const QImage& DownPicture() const { return m_downPicture; }
    const std::string& UpFile() const { return m_upFile; }
    const std::string& MoveFile() const { return m_moveFile; }
    const std::string& DownFile() const { return m_downFile; }

    // The caption as given (Windows-1251) and the tool tip (the full
    // caption when it had to be shortened, else empty).
    const std::string& Caption() const { return m_caption; }
    const QString& ToolTip() const { return m_toolTip; }
    // The caption as drawn into the pictures: shortened with "..." when the
    // caption does not fit.
    const QString& DrawnCaption() const { return m_drawnCaption; }

    // Position in the list and the size of the normal picture.
    QRect Rect() const { return QRect(m_left, m_top, m_width, m_height); }
    // Strictly inside: a point on the border does not hit the entry.
    bool Contains(QPoint point) const;

    // The picture of the entry's state: pressed, else hovered, else normal.
    const QImage& CurrentPicture() const;

    // The look of entry `index` of a description: the picture files of that
    // index (entry 0's where a list is shorter), the fonts for the normal and
    // the hover picture. Loads nothing.
    void SetUp(const RPopupData& description, std::size_t index);
    // Loads the three pictures; a picture that cannot be loaded stays as it
    // was. The normal picture gives the entry its size.
    void LoadPictures(const TPictureLoader& load);
    // Draws a new caption into freshly loaded pictures; false, and nothing
    // drawn, when the caption is the same (letter case counts).
    bool SetCaption(const std::string& caption, const TPictureLoader& load);
    // Reloads the pictures and draws the current caption again.
    void Redraw(const TPictureLoader& load);

    // The font of a caption: the name, the size in points of the 96-dpi
    // screens the skins were drawn for, the style words.
    static QFont CaptionFont(const std::string& name, std::int32_t points,
                             const std::string& styleWords);
    // The box a caption of that width and height is drawn into on an entry of
    // that size; overflows tells whether the caption leaves too little margin
    // and needs a tool tip.
    static QRect CaptionBox(int textWidth, int textHeight, int entryWidth, int entryHeight,
                            bool& overflows);

private:
    friend class TPopupWindow;

    void DrawCaption();

    bool m_used = false;
    std::string m_command;
    bool m_hover = false;
    bool m_pressed = false;
    QImage m_upPicture, m_hoverPicture, m_downPicture;
    std::string m_upFile, m_moveFile, m_downFile;
    std::string m_upFont, m_moveFont;
    std::int32_t m_upSize = 0, m_moveSize = 0;
    std::string m_upStyle, m_moveStyle;
    TColor m_upColor = 0, m_moveColor = 0;
    bool m_placed = false;

    std::string m_caption;
    QString m_drawnCaption;
    QString m_toolTip;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

} // namespace carmanual
