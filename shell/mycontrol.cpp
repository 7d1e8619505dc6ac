#include "mycontrol.h"

#include <QMouseEvent>

namespace carmanual {

TMyControl::TMyControl(QWidget* window, Handlers handlers)
    : QWidget(window), m_handlers(std::move(handlers)) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
}

void TMyControl::Place(const QRect& rect, const QString& hint) {
    setGeometry(rect);
    setToolTip(hint);
    setVisible(rect.width() > 0 && rect.height() > 0);
}

QPoint TMyControl::ToWindow(QMouseEvent* event) const {
    return event->position().toPoint() + pos();
}

void TMyControl::mouseMoveEvent(QMouseEvent* event) {
    if (m_handlers.mouseMove)
        m_handlers.mouseMove(event, ToWindow(event));
}

void TMyControl::mousePressEvent(QMouseEvent* event) {
    if (m_handlers.mouseDown)
        m_handlers.mouseDown(event, ToWindow(event));
}

void TMyControl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_handlers.mouseUp)
        m_handlers.mouseUp(event, ToWindow(event));
}

void TMyControl::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is a second press, as the skin's buttons expect.
    mousePressEvent(event);
}

} // namespace carmanual
