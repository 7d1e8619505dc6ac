#pragma once
// The background panel of the document screen: the contents tree on the left,
// the page panel filling the rest, a splitter between them. It never erases
// its background: its children cover it.

#include "elements.h"

#include <QSplitter>
#include <QWidget>

namespace carmanual {

class TPanelBkgrd final : public QWidget {
    Q_OBJECT

public:
    // The panel's place on the main window, as every skin has it.
    static constexpr QRect kRect{33, 90, 673, 421};
    // The splitter's colour when the description names none.
    static constexpr TColor kDefaultSplitterColor = 128 + 141 * 256 + 142 * 65536;

    TPanelBkgrd(QWidget* window, TColor splitterColor);

    QSplitter* Splitter() const { return m_splitter; }
    // The left pane (contents trees) and the client pane (page panel).
    void SetTreePane(QWidget* tree);
    void SetClientPane(QWidget* client);
    // Moves the splitter so the left pane is width pixels wide.
    void MoveSplitter(int width);
    QColor SplitterColor() const { return m_color; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QSplitter* m_splitter = nullptr;
    QColor m_color;
};

} // namespace carmanual
