#include "effbtncar.h"

#include "fastbitmap.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace carmanual {

TEffBtnCar::TEffBtnCar(QWidget* owner, int index, int step)
    : QObject(owner), m_owner(owner), m_index(index), m_step(std::max(1, step)) {
    m_timer.SetInterval(1);
    m_timer.SetPriority(QThread::HighestPriority);
    m_timer.OnTimer = [this](TSuperTimer*) { FadeTick(); };
}

TEffBtnCar::~TEffBtnCar() = default;

void TEffBtnCar::SetStep(int step) {
    m_step = std::max(1, step);
}

QRect TEffBtnCar::FrameRect() const {
    if (m_frame.isNull()) {
        return QRect(m_drawPoint, QSize());
    }
    return QRect(m_drawPoint, m_frame.deviceIndependentSize().toSize());
}

void TEffBtnCar::StartCrossFade(const QImage& from, const QImage& to, QPoint point) {
    if (to.isNull()) {
        CancelFade();
        return;
    }
    if (m_running) {
        // TickCount * Step + StartAlpha is the weight of the old `to` now on
        // screen; the new fade starts with that picture's complement.
        m_startAlpha = 255 - m_timer.TickCount() * m_step - m_startAlpha;
        m_timer.SetEnabled(false);
    }

    const QImage::Format format = BlendFormat(from, to);
    m_toImage = ToBlendFormat(to, format);
    if (from.size() == to.size()) {
        m_fromImage = ToBlendFormat(from, format);
    } else {
        // A picture that failed to load (or one of another size) must not
        // make the blend read past its rows: lay it over the target.
        QImage canvas = m_toImage.copy();
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), from);
        painter.end();
        m_fromImage = canvas;
    }
    m_fromImage.setDevicePixelRatio(m_toImage.devicePixelRatio());

    // Until the first step the element shows what is on screen now: `from`
    // for a new fade, the turning point for a fade turned around.
    m_alpha = std::clamp(m_startAlpha, 0, 255);
    BlendBitmaps(m_frame, m_toImage, m_fromImage, m_alpha);
    m_drawPoint = point;
    m_running = true;
    m_timer.SetEnabled(true);
    if (m_owner) {
        m_owner->update(FrameRect());
    }
}

void TEffBtnCar::FadeTick() {
    if (!m_timer.Enabled() || m_fromImage.isNull() || m_toImage.isNull()) {
        return;
    }
    const int alpha = m_timer.TickCount() * m_step + m_startAlpha;
    if (alpha < 256) {
        m_alpha = std::max(0, alpha);
        BlendBitmaps(m_frame, m_toImage, m_fromImage, m_alpha);
    } else {
        m_timer.SetEnabled(false);
        // The blend at 255 may be 1 short of `to` in some channels; the
        // owner's own painting shows `to` from now on, so end on it exactly.
        m_alpha = 255;
        m_frame = m_toImage;
        m_startAlpha = 0;
        m_running = false;
        m_fromImage = QImage();
        m_toImage = QImage();
    }
    if (m_owner) {
        m_owner->update(FrameRect());
    }
    const std::function<void()> onFrame = OnFrame;
    if (onFrame) {
        onFrame(); // last: it may delete this effect
    }
}

void TEffBtnCar::ReleasePictures() {
    m_fromImage = QImage();
    m_toImage = QImage();
    m_frame = QImage();
}

void TEffBtnCar::CancelFade() {
    const QRect rect = FrameRect();
    const bool wasRunning = m_running;
    m_timer.SetEnabled(false);
    m_startAlpha = 0;
    m_alpha = 0;
    m_running = false;
    ReleasePictures();
    if (wasRunning && m_owner) {
        m_owner->update(rect);
    }
}

void TEffBtnCar::Paint(QPainter& painter) const {
    if (!m_running || m_frame.isNull()) {
        return;
    }
    painter.drawImage(m_drawPoint, m_frame);
}

} // namespace carmanual
