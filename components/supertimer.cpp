#include "supertimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <algorithm>

namespace carmanual {

using Clock = std::chrono::steady_clock;

// One tick on its way to the timer's thread. It carries the schedule it was
// made for, so a tick that arrives after a disable or restart is dropped.
class TSuperTimer::TTickEvent final : public QEvent {
public:
    explicit TTickEvent(std::uint64_t generation) : QEvent(Kind()), Generation(generation) {}
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    const std::uint64_t Generation;
};

TSuperTimer::TSuperTimer(QObject* owner) : QObject(owner) {}

TSuperTimer::~TSuperTimer() {
    {
        std::lock_guard lock(m_mutex);
        m_terminate = true;
    }
    m_wake.notify_all();
    // The worker waits only on m_wake, never on this thread, so the join
    // ends as soon as it wakes; a tick it may have posted dies with the
    // QObject (pending posted events of a destroyed object are discarded).
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

std::int64_t TSuperTimer::CompensatedDelay(std::int64_t delay, std::int64_t lagMs) {
    return std::max<std::int64_t>(0, delay - lagMs);
}

void TSuperTimer::SetEnabled(bool value) {
    if (value == m_enabled) {
        return;
    }
    m_enabled = value;
    UpdateTimer();
}

bool TSuperTimer::Compensate() const {
    std::lock_guard lock(m_mutex);
    return m_compensate;
}

void TSuperTimer::SetCompensate(bool value) {
    std::lock_guard lock(m_mutex);
    m_compensate = value;
}

void TSuperTimer::SetInterval(std::uint16_t value) {
    if (value == m_interval) {
        return;
    }
    m_interval = value;
    {
        std::lock_guard lock(m_mutex);
        m_sharedInterval = value;
    }
    if (m_enabled) {
        UpdateTimer();
    }
}

std::uint32_t TSuperTimer::StartTime() const {
    std::lock_guard lock(m_mutex);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_startTime.time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
}

std::uint32_t TSuperTimer::Elapsed() const {
    std::lock_guard lock(m_mutex);
    return static_cast<std::uint32_t>(m_elapsed);
}

void TSuperTimer::UpdateTimer() {
    {
        std::lock_guard lock(m_mutex);
        // A new generation wakes a sleeping worker and makes a tick that is
        // already posted a stale one, so a disabled timer delivers nothing
        // more and a re-enabled one starts its schedule afresh.
        ++m_generation;
        m_running = m_enabled;
        if (m_enabled) {
            m_elapsed = 0;
            m_startTime = Clock::now();
        }
    }
    if (m_enabled) {
        m_tickCount = 0;
    }
    m_wake.notify_all();
    if (m_enabled && !m_thread.joinable()) {
        m_thread = std::thread([this, priority = m_priority] {
            QThread::currentThread()->setPriority(priority);
            Run();
        });
    }
}

void TSuperTimer::Run() {
    std::unique_lock lock(m_mutex);
    std::uint64_t generation = m_generation - 1; // forces a fresh schedule
    std::int64_t delay = 0;
    while (!m_terminate) {
        if (!m_running) {
            m_wake.wait(lock, [this] { return m_terminate || m_running; });
            continue;
        }
        if (generation != m_generation) {
            generation = m_generation;
            delay = m_sharedInterval;
        }

        const auto deadline = Clock::now() + std::chrono::milliseconds(delay);
        m_wake.wait_until(lock, deadline,
                          [&] { return m_terminate || m_generation != generation; });
        if (m_terminate) {
            break;
        }
        if (m_generation != generation) {
            continue; // disabled or restarted during the sleep
        }

        m_elapsed += m_sharedInterval;
        if (m_compensate) {
            const auto sinceStart =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_startTime);
            delay = CompensatedDelay(delay, sinceStart.count() - m_elapsed);
        }

        // The event is made under the lock and read under it on the other
        // side; posting never blocks, so the GUI thread can always go on.
        m_tickPending = true;
        auto* tick = new TTickEvent(generation);
        lock.unlock();
        QCoreApplication::postEvent(this, tick);
        lock.lock();
        m_wake.wait(lock, [this] { return m_terminate || !m_tickPending; });
    }
}

bool TSuperTimer::event(QEvent* event) {
    if (event->type() == TTickEvent::Kind()) {
        DeliverTick(static_cast<const TTickEvent&>(*event));
        return true; // the timer may be gone now
    }
    return QObject::event(event);
}

void TSuperTimer::DeliverTick(const TTickEvent& tick) {
    bool current = false;
    {
        std::lock_guard lock(m_mutex);
        current = tick.Generation == m_generation && m_running && !m_terminate;
    }
    if (current && !QCoreApplication::closingDown()) {
        ++m_tickCount;
        // The handler may delete the timer (and with it OnTimer): call a
        // copy, and touch nothing of this object afterwards unless it lives.
        const TNotifyEvent handler = OnTimer;
        if (handler) {
            QPointer<TSuperTimer> self(this);
            try {
                handler(this);
            } catch (...) {
                // An animation step that fails is skipped; the next one runs.
            }
            if (!self) {
                return;
            }
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_tickPending = false;
    }
    m_wake.notify_all();
}

} // namespace carmanual
