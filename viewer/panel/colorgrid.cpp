#include "colorgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace carmanual {

const std::array<TColor, 16> TColorGrid::kColors = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

namespace {
constexpr int kSide = 4;

QColor ToQColor(TColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
} // namespace

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

QRect TColorGrid::CellRect(int index) const {
    const int w = width() / kSide;
    const int h = height() / kSide;
    return {(index % kSide) * w, (index / kSide) * h, w, h};
}

int TColorGrid::CellAt(QPoint point) const {
    for (int i = 0; i < static_cast<int>(kColors.size()); ++i) {
        if (CellRect(i).contains(point))
            return i;
    }
    return -1;
}

void TColorGrid::ChooseCell(int index) {
    if (index < 0 || index >= static_cast<int>(kColors.size()))
        return;
    m_focusCell = index;
    m_chosen = kColors[static_cast<std::size_t>(index)];
    update();
    if (OnChange)
        OnChange();
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < static_cast<int>(kColors.size()); ++i) {
        const QRect cell = CellRect(i).adjusted(1, 1, -1, -1);
        painter.fillRect(cell, ToQColor(kColors[static_cast<std::size_t>(i)]));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(CellRect(m_focusCell).adjusted(0, 0, -1, -1));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        ChooseCell(CellAt(event->position().toPoint()));
}

void TColorGrid::keyPressEvent(QKeyEvent* event) {
    int cell = m_focusCell;
    switch (event->key()) {
    case Qt::Key_Left:
        cell = cell % kSide > 0 ? cell - 1 : cell;
        break;
    case Qt::Key_Right:
        cell = cell % kSide < kSide - 1 ? cell + 1 : cell;
        break;
    case Qt::Key_Up:
        cell = cell >= kSide ? cell - kSide : cell;
        break;
    case Qt::Key_Down:
        cell = cell + kSide < static_cast<int>(kColors.size()) ? cell + kSide : cell;
        break;
    case Qt::Key_Space:
        ChooseCell(cell);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    m_focusCell = cell;
    update();
}

} // namespace carmanual
