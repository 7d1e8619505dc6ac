#include "pageanimation.h"

#include <QBuffer>

namespace carmanual {

namespace {

constexpr int kShortestDelayMs = 20;
constexpr int kDelayForShortOnesMs = 100;

} // namespace

bool TPageAnimation::IsAnimated(const QByteArray& bytes) {
    if (!bytes.startsWith("GIF8"))
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.supportsAnimation() && reader.imageCount() > 1;
}

TPageAnimation::TPageAnimation(QByteArray bytes, std::function<void(const QImage&)> onFrame,
                               QObject* parent)
    : QObject(parent), m_bytes(std::move(bytes)), m_onFrame(std::move(onFrame)) {
    m_buffer.setBuffer(&m_bytes);
    m_buffer.open(QIODevice::ReadOnly);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TPageAnimation::NextFrame);
    Restart();
    // The loop count is read with the first frame; more than one play
    // counts the first.
    if (m_reader->canRead()) {
        const int loops = m_reader->loopCount();
        m_playsLeft = loops < 0 ? -1 : loops + 1;
    }
}

TPageAnimation::~TPageAnimation() = default;

void TPageAnimation::Restart() {
    m_buffer.seek(0);
    m_reader = std::make_unique<QImageReader>(&m_buffer, "gif");
}

void TPageAnimation::SetRunning(bool running) {
    if (!running) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive() && !m_finished)
        m_timer.start(0);
}

void TPageAnimation::NextFrame() {
    if (!m_reader->canRead()) {
        if (m_playsLeft > 0)
            --m_playsLeft;
        if (m_playsLeft == 0) {
            m_finished = true;
            return;
        }
        Restart();
    }
    const QImage frame = m_reader->read();
    if (frame.isNull()) {
        m_finished = true; // a damaged frame ends the animation on the last good one
        return;
    }
    int delay = m_reader->nextImageDelay();
    if (delay < kShortestDelayMs)
        delay = kDelayForShortOnesMs;
    if (m_onFrame)
        m_onFrame(frame);
    m_timer.start(delay);
}

} // namespace carmanual
