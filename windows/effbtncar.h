#pragma once
// The cross-fade of one button's or switch's picture from one state picture
// to another (idle to hover, hover to pressed, and back), stepped by a
// millisecond thread timer. Its owner window draws it: after every step the
// effect asks the owner to repaint the element's rectangle, and the owner's
// paintEvent, after painting its normal state, calls Paint(). When the fade
// ends the last frame is exactly the `to` picture and Running() turns false,
// so from then on the owner's normal state (which shows `to`) takes over.

#include "supertimer.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>

class QPainter;
class QWidget;

namespace carmanual {

class TEffBtnCar final : public QObject {
    Q_OBJECT

public:
    // A child of its owner (the owner may also delete it earlier). `index`
    // is the number of the element it serves; `step` the alpha added per
    // tick (4 for the skins' elements, 3 for context-menu buttons).
    TEffBtnCar(QWidget* owner, int index, int step);
    ~TEffBtnCar() override;
    Q_DISABLE_COPY_MOVE(TEffBtnCar)

    // Starts a fade from `from` to `to` drawn with its top-left corner at
    // `point` in the owner. While a fade runs, a new one continues from
    // where the running one had got to, seen from the other end, so turning
    // back does not jump. The frame has the size of `to`; a `from` of
    // another size is laid over `to`. A null `to` cancels the fade.
    void StartCrossFade(const QImage& from, const QImage& to, QPoint point);
    // Stops at once and releases the pictures.
    void CancelFade();

    bool Running() const { return m_running; }
    int Step() const { return m_step; }
    void SetStep(int step); // at least 1, so every fade ends
    int Index() const { return m_index; }
    QPoint DrawPoint() const { return m_drawPoint; }
    // The alpha the running fade started from (0 after a finished fade).
    int StartAlpha() const { return m_startAlpha; }
    // The weight of `to` in the current frame: StartAlpha() until the first
    // step, 255 after the last.
    int Alpha() const { return m_alpha; }

    // The current frame; after a finished fade, the `to` picture. Null
    // after CancelFade.
    const QImage& Frame() const { return m_frame; }
    // Where the frame lies in the owner (logical pixels).
    QRect FrameRect() const;
    // Draws the current frame at DrawPoint() while the fade runs.
    void Paint(QPainter& painter) const;

    // Called after every new frame, once the owner's repaint is requested.
    std::function<void()> OnFrame;

private:
    void FadeTick();
    void ReleasePictures();

    QPointer<QWidget> m_owner;
    QImage m_fromImage;
    QImage m_toImage;
    QImage m_frame;
    int m_index = 0;
    QPoint m_drawPoint;
    int m_startAlpha = 0;
    int m_alpha = 0;
    bool m_running = false;
    int m_step = 1;
    // Last, so it is destroyed first: no tick can run on a half-gone effect.
    TSuperTimer m_timer;
};

} // namespace carmanual
