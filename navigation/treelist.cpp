#include "treelist.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QtMath>

#include <algorithm>
#include <map>
#include <vector>

namespace carmanual {
namespace {

constexpr int kIndentation = 16;
constexpr int kIconSize = 16;
constexpr int kLeftPadding = 4;
constexpr int kIconGap = 6;
constexpr int kRightPadding = 4;

enum class TIcon { Page, Chapter, OpenChapter };

// Drawn rather than loaded: the skin has no pictures for the tree, and the
// shapes stay sharp at any screen scale.
void DrawIcon(QPainter& p, TIcon icon) {
    p.setRenderHint(QPainter::Antialiasing);
    if (icon == TIcon::Page) {
        const QColor outline(0x6b, 0x7b, 0x8c);
        QPainterPath sheet;
        sheet.moveTo(3.5, 1.5);
        sheet.lineTo(10, 1.5);
        sheet.lineTo(13.5, 5);
        sheet.lineTo(13.5, 14.5);
        sheet.lineTo(3.5, 14.5);
        sheet.closeSubpath();
        p.setPen(QPen(outline, 1));
        p.setBrush(Qt::white);
        p.drawPath(sheet);
        QPainterPath fold;
        fold.moveTo(10, 1.5);
        fold.lineTo(10, 5);
        fold.lineTo(13.5, 5);
        p.setBrush(QColor(0xdf, 0xe6, 0xee));
        p.drawPath(fold);
        p.setPen(QPen(QColor(0x8f, 0xa6, 0xbf), 1));
        for (const double y : {7.5, 9.5, 11.5})
            p.drawLine(QPointF(5.5, y), QPointF(y < 11 ? 11.5 : 9.5, y));
        return;
    }
    const QColor outline(0xa8, 0x7b, 0x22);
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(outline, 1));
    if (icon == TIcon::Chapter) {
        p.setBrush(QColor(0xf0, 0xc1, 0x5a));
        p.drawPath(back);
        p.setPen(QPen(QColor(0xf9, 0xdf, 0x9c), 1));
        p.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
        return;
    }
    p.setBrush(QColor(0xe0, 0xa8, 0x3c));
    p.drawPath(back);
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(13.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    p.setBrush(QColor(0xf7, 0xd5, 0x80));
    p.drawPath(flap);
}

class TTreeListDelegate final : public QStyledItemDelegate {
public:
    explicit TTreeListDelegate(TTreeList* list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics fm(FontFor(option, index));
        const int width = kLeftPadding + kIconSize + kIconGap +
                          fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
                          kRightPadding;
        return {width, std::max(fm.height() + 8, kIconSize + 6)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        const int iconTop = r.top() + (r.height() - kIconSize) / 2;
        painter->drawPixmap(QRect(r.left() + kLeftPadding, iconTop, kIconSize, kIconSize),
                            Icon(IconFor(index), painter->device()->devicePixelRatioF()));
        const QFont font = FontFor(option, index);
        painter->setFont(font);
        painter->setPen(selected ? m_list->SelectTextColor()
                                 : option.palette.color(QPalette::Text));
        const QRect text = TextRect(r);
        painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideRight, text.width()));
        painter->restore();
    }

    // The full caption as a tool tip, only where the row cuts it.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (!event || event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString caption = index.data(Qt::DisplayRole).toString();
        const int width = QFontMetrics(FontFor(option, index)).horizontalAdvance(caption);
        const QRect row(0, option.rect.top(), view->viewport()->width(), option.rect.height());
        if (width > TextRect(option.rect).width())
            QToolTip::showText(event->globalPos(), caption, view->viewport(), row);
        else
            QToolTip::hideText();
        return true;
    }

private:
    static QRect TextRect(const QRect& cell) {
        const int left = cell.left() + kLeftPadding + kIconSize + kIconGap;
        return {left, cell.top(), std::max(0, cell.right() - kRightPadding - left + 1),
                cell.height()};
    }

    // Chapters at the top level stand out a little.
    static QFont FontFor(const QStyleOptionViewItem& option, const QModelIndex& index) {
        QFont font = option.font;
        if (!index.parent().isValid() && index.model() && index.model()->hasChildren(index))
            font.setWeight(QFont::DemiBold);
        return font;
    }

    TIcon IconFor(const QModelIndex& index) const {
        if (!index.model() || !index.model()->hasChildren(index))
            return TIcon::Page;
        return m_list->isExpanded(index) ? TIcon::OpenChapter : TIcon::Chapter;
    }

    const QPixmap& Icon(TIcon icon, qreal ratio) const {
        auto& cached = m_icons[{ratio, static_cast<int>(icon)}];
        if (cached.isNull()) {
            const int side = qCeil(kIconSize * ratio);
            cached = QPixmap(side, side);
            cached.fill(Qt::transparent);
            QPainter p(&cached);
            p.scale(ratio, ratio);
            DrawIcon(p, icon);
            p.end();
            cached.setDevicePixelRatio(ratio);
        }
        return cached;
    }

    TTreeList* m_list;
    mutable std::map<std::pair<qreal, int>, QPixmap> m_icons;
};

int LevelOf(const QModelIndex& index) {
    int level = 0;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ++level;
    return level;
}

} // namespace

TTreeList::TTreeList(QWidget* parent)
    : QTreeView(parent), m_selectColor(palette().color(QPalette::Highlight)),
      m_selectTextColor(palette().color(QPalette::HighlightedText)) {
    setItemDelegate(new TTreeListDelegate(this));
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setRootIsDecorated(false);
    setIndentation(kIndentation);
    // One row height for all rows: the view then never measures rows it does
    // not paint, which keeps large contents quick.
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    setAnimated(false);
    setAllColumnsShowFocus(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setMouseTracking(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, QColor(0x1d, 0x27, 0x33));
    setPalette(pal);
}

void TTreeList::SetSelectionColors(const QColor& background, const QColor& text) {
    m_selectColor = background;
    m_selectTextColor = text;
    viewport()->update();
}

QColor TTreeList::HoverColor() const {
    // 15 % of the selection colour over the base: visible on white without
    // competing with the selection itself.
    const QColor base = palette().color(QPalette::Base);
    const auto mix = [](int a, int b) { return (a * 85 + b * 15) / 100; };
    return QColor(mix(base.red(), m_selectColor.red()), mix(base.green(), m_selectColor.green()),
                  mix(base.blue(), m_selectColor.blue()));
}

void TTreeList::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
    // The whole width of the row, indentation included, shows the selection
    // and the hover; the delegate draws the icon and the caption.
    const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
    const bool selected = selectionModel() && selectionModel()->isSelected(index);
    const bool hovered = m_hover.isValid() && index == m_hover;
    if (selected)
        painter->fillRect(row, m_selectColor);
    else if (hovered)
        painter->fillRect(row, HoverColor());
    QStyleOptionViewItem cell = option;
    cell.rect = row.adjusted(indentation() * LevelOf(index) - header()->offset(), 0, 0, 0);
    cell.state.setFlag(QStyle::State_Selected, selected);
    cell.state.setFlag(QStyle::State_MouseOver, hovered);
    itemDelegate()->paint(painter, cell, index);
}

void TTreeList::mousePressEvent(QMouseEvent* event) {
    emit Pressed();
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool onSelected = event->button() == Qt::LeftButton && index.isValid() &&
                            selectionModel() && selectionModel()->isSelected(index);
    m_pressedSelected = onSelected ? QPersistentModelIndex(index) : QPersistentModelIndex();
    QMouseEvent moved = OnItem(*event);
    QTreeView::mousePressEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

void TTreeList::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const QPersistentModelIndex pressed = m_pressedSelected;
    m_pressedSelected = QPersistentModelIndex();
    QMouseEvent moved = OnItem(*event);
    QTreeView::mouseReleaseEvent(&moved);
    event->setAccepted(moved.isAccepted());
    if (!pressed.isValid() || index != pressed)
        return;
    // No expand buttons: a click on the selected chapter opens or closes it.
    if (model()->hasChildren(index))
        setExpanded(index, !isExpanded(index));
    emit SelectedActivated();
}

void TTreeList::mouseDoubleClickEvent(QMouseEvent* event) {
    QMouseEvent moved = OnItem(*event);
    QTreeView::mouseDoubleClickEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

QMouseEvent TTreeList::OnItem(const QMouseEvent& event) const {
    // The view takes a click in the indentation left of a chapter for its
    // expand button, which this list does not draw: such a click is moved
    // onto the item, so the whole row selects.
    QPointF pos = event.position();
    const QModelIndex index = indexAt(pos.toPoint());
    if (index.isValid()) {
        const int left = indentation() * LevelOf(index) - header()->offset();
        if (pos.x() < left)
            pos.setX(left);
    }
    return QMouseEvent(event.type(), pos, event.scenePosition(), event.globalPosition(),
                       event.button(), event.buttons(), event.modifiers(), event.pointingDevice());
}

void TTreeList::mouseMoveEvent(QMouseEvent* event) {
    emit Hovered();
    SetHover(indexAt(event->position().toPoint()));
    // Dragging with the button down selects nothing on its way (see
    // selectionCommand), so the base class only tracks the pointer.
    QTreeView::mouseMoveEvent(event);
}

void TTreeList::leaveEvent(QEvent* event) {
    SetHover({});
    QTreeView::leaveEvent(event);
}

void TTreeList::keyPressEvent(QKeyEvent* event) {
    // Shift+Up and Shift+Down step between chapters: the window's keys,
    // whichever control has the focus.
    if (event->modifiers() == Qt::ShiftModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        event->ignore();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit SelectedActivated();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TTreeList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    const QModelIndexList now = selected.indexes();
    const QModelIndex target = now.isEmpty() ? QModelIndex() : now.first();
    if (m_autoCollapse && target.isValid()) {
        // The tree then shows the top level and the open path only, which
        // also keeps the view's own bookkeeping of visible rows short
        // however large the contents are.
        std::vector<QModelIndex> path;
        for (QModelIndex p = target; p.isValid(); p = p.parent())
            path.push_back(p);
        const auto onPath = [&path](const QModelIndex& index) {
            return std::find(path.begin(), path.end(), index) != path.end();
        };
        for (const QModelIndex& old : deselected.indexes()) {
            for (QModelIndex p = old; p.isValid(); p = p.parent()) {
                if (!onPath(p) && isExpanded(p))
                    collapse(p);
            }
        }
    }
    if (m_autoExpand && target.isValid() && model()->hasChildren(target))
        expand(target);
}

QItemSelectionModel::SelectionFlags TTreeList::selectionCommand(const QModelIndex& index,
                                                                const QEvent* event) const {
    if (selectionMode() != QAbstractItemView::SingleSelection || !index.isValid())
        return QTreeView::selectionCommand(index, event);
    // Every selection opens a page: no item is selected by dragging over it,
    // and Ctrl+click does not leave the tree without a selection.
    if (event &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease))
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

void TTreeList::updateGeometries() {
    QTreeView::updateGeometries();
    emit GeometryUpdated();
}

void TTreeList::SetHover(const QModelIndex& index) {
    if (index == m_hover)
        return;
    const QModelIndex old = m_hover;
    m_hover = index;
    UpdateRow(old);
    UpdateRow(index);
}

void TTreeList::UpdateRow(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const QRect r = visualRect(index);
    if (r.isValid())
        viewport()->update(QRect(0, r.top(), viewport()->width(), r.height()));
}

} // namespace carmanual
