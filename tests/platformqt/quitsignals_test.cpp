#include "quitsignals.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace carmanual::test {
namespace {

TEST(QuitSignals, EachTerminationSignalEndsTheEventLoopNormally) {
    const struct {
        const char* name;
        int signal;
    } cases[] = {{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuitOnTerminationSignals();
        QTimer::singleShot(0, [&c] { std::raise(c.signal); });
        // Without the handler the process would have ended; a loop that does
        // not end fails the test instead of hanging it.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
    }
}

TEST(QuitSignals, TheHandlerServesOneSignal_ASecondFindsTheDefaultAction) {
    QuitOnTerminationSignals();
    std::raise(SIGTERM);
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    // The first signal's quit is still queued: the loop ends at once.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

} // namespace
} // namespace carmanual::test
