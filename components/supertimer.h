#pragma once
// A millisecond timer for animation steps. A worker thread sleeps for the
// interval and then has the tick run on the thread the timer lives in (the
// GUI thread), waiting until the handler has returned before it sleeps
// again, so ticks never pile up. Window-message timers are too coarse for
// the 1-2 ms steps of the window and picture animations.
//
// The timer may be destroyed at any moment, also from inside its own
// OnTimer: the destructor wakes the worker and joins it, and the worker
// never blocks on the GUI thread, so neither side can wait for the other.

#include <QObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace carmanual {

class TSuperTimer final : public QObject {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TSuperTimer* sender)>;

    explicit TSuperTimer(QObject* owner = nullptr);
    ~TSuperTimer() override;
    Q_DISABLE_COPY_MOVE(TSuperTimer)

    bool Enabled() const { return m_enabled; }
    // Enabling resets TickCount, Elapsed and StartTime and starts a new
    // schedule; enabling an enabled timer does nothing.
    void SetEnabled(bool value);

    // Drift correction: the lag behind the schedule is taken off the next
    // sleep (and a lead added to it).
    bool Compensate() const;
    void SetCompensate(bool value);

    // Milliseconds between ticks (0 is allowed: tick as fast as the GUI
    // thread runs them). Changing it while enabled restarts the schedule.
    std::uint16_t Interval() const { return m_interval; }
    void SetInterval(std::uint16_t value);

    // The worker's scheduling priority, taken when it first runs (at the
    // first enabling). Ordinary Linux threads have no priorities to raise,
    // so above normal it changes nothing there.
    QThread::Priority Priority() const { return m_priority; }
    void SetPriority(QThread::Priority value) { m_priority = value; }

    // Run on the timer's thread at every tick; an exception it throws is
    // swallowed. It may disable, re-enable or delete the timer.
    TNotifyEvent OnTimer;

    // Milliseconds of the monotonic clock when the timer was last enabled.
    std::uint32_t StartTime() const;
    // Sum of the intervals slept since enabling.
    std::uint32_t Elapsed() const;
    // Ticks delivered since enabling; 1 inside the first OnTimer.
    std::int32_t TickCount() const { return m_tickCount; }

    // The next sleep under drift correction: the previous sleep minus the
    // lag behind the schedule (negative lag: a lead). Never below zero, so
    // a handler that blocks for longer than the interval makes the
    // following ticks come at once instead of sleeping for ages.
    static std::int64_t CompensatedDelay(std::int64_t delay, std::int64_t lagMs);

protected:
    bool event(QEvent* event) override;

private:
    class TTickEvent;

    void UpdateTimer();
    void Run();
    void DeliverTick(const TTickEvent& tick);

    bool m_enabled = false;
    std::uint16_t m_interval = 1000;
    QThread::Priority m_priority = QThread::HighPriority;
    std::int32_t m_tickCount = 0;

    // Shared with the worker; every access holds m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;   // enabled, as the worker sees it
    bool m_terminate = false; // the timer is going away
    bool m_compensate = false;
    bool m_tickPending = false;     // a tick is posted and its handler has not returned
    std::uint64_t m_generation = 0; // bumped at every enable and disable
    std::uint16_t m_sharedInterval = 1000;
    std::chrono::steady_clock::time_point m_startTime;
    std::int64_t m_elapsed = 0;

    std::thread m_thread;
};

} // namespace carmanual
