#include "windowanimator.h"

#include "supertimer.h"
#include "windowshape.h"

namespace carmanual {

TWindowAnimator::TWindowAnimator(std::function<void(const QRegion&)> setRegion,
                                 std::function<QRegion()> skinRegion)
    : m_setRegion(std::move(setRegion)), m_skinRegion(std::move(skinRegion)) {}

TWindowAnimator::~TWindowAnimator() {
    Stop();
}

bool TWindowAnimator::Running() const {
    return m_timer && m_timer->Enabled();
}

void TWindowAnimator::Stop() {
    if (m_timer)
        m_timer->SetEnabled(false);
}

void TWindowAnimator::Open(int width, int height, std::function<void()> opened) {
    m_width = width;
    m_height = height;
    m_x = width / 2;
    m_y = height / 2;
    m_done = std::move(opened);
    m_closing = false;
    m_timer = std::make_unique<TSuperTimer>();
    m_timer->SetInterval(1);
    // Steps keep to their millisecond: the first frame and the steps' own
    // work are taken off the following sleeps instead of adding up.
    m_timer->SetCompensate(true);
    m_timer->OnTimer = [this](TSuperTimer*) { OpeningTick(); };
    m_timer->SetEnabled(true);
}

void TWindowAnimator::OpeningTick() {
    if (m_x < -(m_width / 2)) {
        m_timer->SetEnabled(false);
        // The growing ellipse ends by covering the window; the skin's own
        // shape takes over so the window keeps the outline it was drawn with.
        m_setRegion(m_skinRegion());
        if (m_done)
            m_done();
        return;
    }
    const QRegion ellipse = EllipseRegion(m_x, m_y, m_width - m_x, m_height - m_y);
    m_setRegion(ellipse.intersected(m_skinRegion()));
    m_x -= 4;
    m_y -= 2;
}

void TWindowAnimator::Close(int width, int height, std::function<void()> closed) {
    m_width = width;
    m_height = height;
    m_x = 0;
    m_y = 0;
    m_done = std::move(closed);
    m_closing = true;
    m_timer = std::make_unique<TSuperTimer>();
    m_timer->SetInterval(2);
    m_timer->OnTimer = [this](TSuperTimer*) { ClosingTick(); };
    m_timer->SetEnabled(true);
}

void TWindowAnimator::ClosingTick() {
    const int w = m_width;
    const int h = m_height;
    QRegion region;
    if (m_y <= h / 2 - 10) {
        region = RoundRectRegion(0, m_y, w, h - m_y, 20, 20);
        m_y += 2;
    } else if (m_x <= w / 2 - 10) {
        region = RoundRectRegion(m_x, m_y, w - m_x, h - m_y, 20, 20);
        m_x += 3;
    } else if (m_x <= w / 2) {
        region = EllipseRegion(m_x, m_y, w - m_x, h - m_y);
        m_x += 1;
        m_y += 1;
    } else {
        m_timer->SetEnabled(false);
        if (m_done)
            m_done();
        return;
    }
    m_setRegion(region.intersected(m_skinRegion()));
}

} // namespace carmanual
