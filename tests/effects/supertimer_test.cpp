#include "supertimer.h"

#include "pump.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace carmanual {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

TEST(SuperTimer, Defaults) {
    TSuperTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(timer.Compensate());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(timer.Priority(), QThread::HighPriority);
    EXPECT_EQ(timer.TickCount(), 0);
}

TEST(SuperTimer, Ticks_RunOnTheGuiThread_OneAfterAnother) {
    TSuperTimer timer;
    timer.SetInterval(1);
    std::vector<int> counts;
    bool onGuiThread = true;
    timer.OnTimer = [&](TSuperTimer* sender) {
        EXPECT_EQ(sender, &timer);
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        counts.push_back(sender->TickCount());
        // The worker waits for this handler: the sum of the intervals slept
        // is exactly one interval per tick delivered.
        EXPECT_EQ(sender->Elapsed(), static_cast<std::uint32_t>(sender->TickCount()));
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return counts.size() >= 5; }));
    timer.SetEnabled(false);
    EXPECT_TRUE(onGuiThread);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        EXPECT_EQ(counts[i], static_cast<int>(i) + 1);
    }
}

TEST(SuperTimer, DisabledInsideOnTimer_DeliversNoMoreTicks) {
    TSuperTimer timer;
    timer.SetInterval(1);
    int calls = 0;
    timer.OnTimer = [&](TSuperTimer* sender) {
        if (++calls == 3) {
            sender->SetEnabled(false);
        }
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return calls >= 3; }));
    PumpFor(50);
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(timer.Enabled());
}

TEST(SuperTimer, DisabledWhileATickIsPosted_DeliversNoMoreTicks) {
    TSuperTimer timer;
    timer.SetInterval(0);
    int calls = 0;
    timer.OnTimer = [&](TSuperTimer*) { ++calls; };
    timer.SetEnabled(true);
    // Without running the event loop the worker posts one tick and waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    timer.SetEnabled(false);
    PumpFor(30);
    EXPECT_EQ(calls, 0);
}

TEST(SuperTimer, EnablingAnEnabledTimer_ResetsNothing) {
    TSuperTimer timer;
    timer.SetInterval(1);
    timer.OnTimer = [](TSuperTimer*) {};
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return timer.TickCount() >= 3; }));
    const std::uint32_t start = timer.StartTime();
    const int ticks = timer.TickCount();
    timer.SetEnabled(true);
    EXPECT_GE(timer.TickCount(), ticks);
    EXPECT_GE(timer.Elapsed(), static_cast<std::uint32_t>(ticks));
    EXPECT_EQ(timer.StartTime(), start);
}

TEST(SuperTimer, ReEnabled_StartsCountingAgain) {
    TSuperTimer timer;
    timer.SetInterval(1);
    std::vector<int> counts;
    timer.OnTimer = [&](TSuperTimer* sender) {
        counts.push_back(sender->TickCount());
        if (counts.size() == 3) {
            sender->SetEnabled(false);
            sender->SetEnabled(true); // restarted from inside its own tick
        }
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return counts.size() >= 6; }));
    timer.SetEnabled(false);
    EXPECT_EQ((std::vector<int>(counts.begin(), counts.begin() + 6)),
              (std::vector<int>{1, 2, 3, 1, 2, 3}));
}

TEST(SuperTimer, IntervalChangedWhileEnabled_RestartsTheSchedule) {
    TSuperTimer timer;
    timer.SetInterval(1);
    std::vector<int> counts;
    timer.OnTimer = [&](TSuperTimer* sender) {
        counts.push_back(sender->TickCount());
        if (counts.size() == 2) {
            sender->SetInterval(2);
        }
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return counts.size() >= 4; }));
    timer.SetEnabled(false);
    EXPECT_EQ(counts[2], 1);
    EXPECT_EQ(counts[3], 2);
    EXPECT_EQ(timer.Interval(), 2);
}

TEST(SuperTimer, ZeroInterval_StillTicks) {
    TSuperTimer timer;
    timer.SetInterval(0);
    int calls = 0;
    timer.OnTimer = [&](TSuperTimer*) { ++calls; };
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return calls >= 20; }));
}

TEST(SuperTimer, ThrowingOnTimer_IsSwallowedAndTicksGoOn) {
    TSuperTimer timer;
    timer.SetInterval(1);
    int calls = 0;
    timer.OnTimer = [&](TSuperTimer*) {
        ++calls;
        throw std::runtime_error("step failed");
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return calls >= 3; }));
}

TEST(SuperTimer, NeverEnabled_IsDestroyedAtOnce) {
    auto timer = std::make_unique<TSuperTimer>();
    timer->SetInterval(1);
    timer.reset();
    SUCCEED();
}

TEST(SuperTimer, DestroyedWhileRunning_LeavesNoTicksBehind) {
    auto calls = std::make_shared<int>(0);
    auto* timer = new TSuperTimer;
    timer->SetInterval(1);
    timer->OnTimer = [calls](TSuperTimer*) { ++*calls; };
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return *calls >= 2; }));
    delete timer;
    const int atDeletion = *calls;
    PumpFor(30);
    EXPECT_EQ(*calls, atDeletion);
}

TEST(SuperTimer, DestroyedWhileItsWorkerWaitsForTheGuiThread_DoesNotDeadlock) {
    auto calls = std::make_shared<int>(0);
    auto* timer = new TSuperTimer;
    timer->SetInterval(0);
    timer->OnTimer = [calls](TSuperTimer*) { ++*calls; };
    timer->SetEnabled(true);
    // The event loop is not running: the worker has posted its tick and
    // waits for the handler to have run.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    delete timer; // would hang here if destruction waited for the tick
    PumpFor(30);
    EXPECT_EQ(*calls, 0);
}

TEST(SuperTimer, DeletedInsideItsOwnTick) {
    auto calls = std::make_shared<int>(0);
    auto* timer = new TSuperTimer;
    QPointer<TSuperTimer> guard(timer);
    timer->SetInterval(1);
    timer->OnTimer = [calls](TSuperTimer* sender) {
        if (++*calls == 2) {
            delete sender;
        }
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return guard.isNull(); }));
    PumpFor(30);
    EXPECT_EQ(*calls, 2);
}

TEST(SuperTimer, DeleteLaterInsideItsOwnTick) {
    auto calls = std::make_shared<int>(0);
    auto* timer = new TSuperTimer;
    QPointer<TSuperTimer> guard(timer);
    timer->SetInterval(1);
    timer->OnTimer = [calls](TSuperTimer* sender) {
        ++*calls;
        sender->SetEnabled(false);
        sender->deleteLater();
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return guard.isNull(); }));
    EXPECT_EQ(*calls, 1);
}

TEST(SuperTimer, OwnerDeletesTheTimerWithItself) {
    auto* owner = new QObject;
    auto* timer = new TSuperTimer(owner);
    QPointer<TSuperTimer> guard(timer);
    int calls = 0;
    timer->SetInterval(1);
    timer->OnTimer = [&](TSuperTimer*) { ++calls; };
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return calls >= 1; }));
    delete owner;
    EXPECT_TRUE(guard.isNull());
    const int atDeletion = calls;
    PumpFor(20);
    EXPECT_EQ(calls, atDeletion);
}

struct DelayCase {
    std::int64_t delay;
    std::int64_t lag;
    std::int64_t expected;
};

TEST(SuperTimer, CompensatedDelay_TakesTheLagOff_AndNeverGoesBelowZero) {
    const DelayCase cases[] = {
        {2, 0, 2},     // on schedule
        {2, 1, 1},     // 1 ms behind: sleep 1 ms less
        {2, -3, 5},    // 3 ms ahead: sleep longer
        {1, 5, 0},     // far behind: no sleep, never a negative one
        {0, 0, 0},     // a zero interval stays zero
        {1, 40000, 0}, // a handler that blocked for long
        {0, -1, 1},
    };
    for (const DelayCase& c : cases) {
        EXPECT_EQ(TSuperTimer::CompensatedDelay(c.delay, c.lag), c.expected)
            << c.delay << " " << c.lag;
    }
}

TEST(SuperTimer, Compensating_AfterAHandlerBlockedLongerThanTheInterval_KeepsTicking) {
    TSuperTimer timer;
    timer.SetInterval(2);
    timer.SetCompensate(true);
    EXPECT_TRUE(timer.Compensate());
    int calls = 0;
    bool bookkept = true;
    timer.OnTimer = [&](TSuperTimer* sender) {
        bookkept =
            bookkept && sender->Elapsed() == static_cast<std::uint32_t>(sender->TickCount()) * 2;
        if (++calls == 1) {
            // Far behind the schedule now: the next sleeps shrink to zero
            // (a negative sleep handed on unchecked would never end).
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return calls >= 15; }));
    EXPECT_TRUE(bookkept);
}

} // namespace
} // namespace carmanual
