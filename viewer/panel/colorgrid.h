#pragma once
// A grid of the sixteen standard colours, four by four: clicking a cell
// chooses its colour. No cell is marked, so the grid shows no current choice.

#include "htmlviewer.h"

#include <QWidget>

#include <array>
#include <functional>

namespace carmanual {

class TColorGrid final : public QWidget {
    Q_OBJECT

public:
    // Black, maroon, green, olive, navy, purple, teal, gray, silver, red,
    // lime, yellow, blue, fuchsia, aqua, white (red in the low byte).
    static const std::array<TColor, 16> kColors;

    explicit TColorGrid(QWidget* parent = nullptr);

    // The colour chosen last; black before any choice.
    TColor ChosenColor() const { return m_chosen; }
    // Chooses a cell as a click on it does (index 0 to 15).
    void ChooseCell(int index);
    // The cell at a point of the widget, or -1.
    int CellAt(QPoint point) const;

    std::function<void()> OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect CellRect(int index) const;

    TColor m_chosen = 0;
    int m_focusCell = 0;
};

} // namespace carmanual
