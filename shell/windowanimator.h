#pragma once
// The skinned window's opening and closing: the window grows from its
// centre as an ellipse until it covers the window, and folds away at the
// end as a rounded rectangle that narrows to an ellipse and vanishes. Both
// are clipped to the skin's own shape, which the window keeps once it has
// opened. Steps come from a millisecond thread timer.

#include <QRegion>

#include <functional>
#include <memory>

namespace carmanual {

class TSuperTimer;

class TWindowAnimator final {
public:
    // setRegion: gives the window its shape for a step. skinRegion: the
    // skin's shape (the whole window when it has none).
    TWindowAnimator(std::function<void(const QRegion&)> setRegion,
                    std::function<QRegion()> skinRegion);
    ~TWindowAnimator();

    // Grows a window of the size from an empty shape; opened runs once it
    // has its own shape.
    void Open(int width, int height, std::function<void()> opened);
    // Folds it away; closed runs after the last step.
    void Close(int width, int height, std::function<void()> closed);
    bool Running() const;
    bool Closing() const { return m_closing; }
    void Stop();

private:
    void OpeningTick();
    void ClosingTick();

    std::function<void(const QRegion&)> m_setRegion;
    std::function<QRegion()> m_skinRegion;
    std::function<void()> m_done;
    std::unique_ptr<TSuperTimer> m_timer;
    int m_width = 0, m_height = 0;
    int m_x = 0, m_y = 0;
    bool m_closing = false;
};

} // namespace carmanual
