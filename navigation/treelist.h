#pragma once
// The tree-list control under the contents tree: a single-column tree view
// that draws its own rows (icons for chapters and pages, full-width selection
// and hover in the skin's colours, captions cut with an ellipsis whose full
// text shows as a tool tip). It has no expand buttons and no lines: an item
// opens when it is selected, and a click on the selected item opens or closes
// it again. With single selection, moving the focus selects.

#include <QColor>
#include <QModelIndex>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QTreeView>

namespace carmanual {

class TTreeList final : public QTreeView {
    Q_OBJECT

public:
    explicit TTreeList(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TTreeList)

    // Background and text of the selected row.
    void SetSelectionColors(const QColor& background, const QColor& text);
    QColor SelectColor() const { return m_selectColor; }
    QColor SelectTextColor() const { return m_selectTextColor; }
    // A light tint of the selection colour over the base.
    QColor HoverColor() const;

    // Selecting an item opens it (shows its children).
    void SetAutoExpand(bool on) { m_autoExpand = on; }
    bool AutoExpand() const { return m_autoExpand; }
    // When the selection moves, the chapters opened on the way to the item
    // left behind close, unless the new item lies inside them: only the path
    // to the selected item stays open.
    void SetAutoCollapse(bool on) { m_autoCollapse = on; }
    bool AutoCollapse() const { return m_autoCollapse; }

    QModelIndex HoverIndex() const { return m_hover; }

signals:
    // A mouse button went down in the list.
    void Pressed();
    // The mouse moved over the list.
    void Hovered();
    // A click on the item that was already selected, or Enter: the selection
    // did not change, yet the reader asks for the item.
    void SelectedActivated();
    // The list laid out its rows again: the range of the vertical scroll bar
    // may have changed.
    void GeometryUpdated();

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void updateGeometries() override;

private:
    QMouseEvent OnItem(const QMouseEvent& event) const;
    void SetHover(const QModelIndex& index);
    void UpdateRow(const QModelIndex& index);

    QColor m_selectColor;
    QColor m_selectTextColor;
    bool m_autoExpand = true;
    bool m_autoCollapse = true;
    QPersistentModelIndex m_hover;
    QPersistentModelIndex m_pressedSelected; // pressed on while already selected
};

} // namespace carmanual
