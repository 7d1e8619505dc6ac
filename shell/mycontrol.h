#pragma once
// The transparent hot spot over one skinned element: it carries the element's
// tool tip and hands its mouse events to the window, in window coordinates.

#include <QWidget>

#include <functional>

namespace carmanual {

class TMyControl final : public QWidget {
    Q_OBJECT

public:
    // Handlers of the owner window, called with window coordinates.
    struct Handlers {
        std::function<void(QMouseEvent*, QPoint)> mouseMove;
        std::function<void(QMouseEvent*, QPoint)> mouseDown;
        std::function<void(QMouseEvent*, QPoint)> mouseUp;
    };

    TMyControl(QWidget* window, Handlers handlers);

    // Places the control over the element and sets its tool tip.
    void Place(const QRect& rect, const QString& hint);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent*) override {}

private:
    QPoint ToWindow(QMouseEvent* event) const;
    Handlers m_handlers;
};

} // namespace carmanual
