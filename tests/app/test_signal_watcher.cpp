// SIGINT and SIGTERM reach the GUI thread as a Qt signal, and the previous
// handlers come back when the watcher goes.
#include "core/process/SignalWatcher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

namespace {

volatile sig_atomic_t g_customCalls = 0;
extern "C" void customHandler(int) { g_customCalls = g_customCalls + 1; }

sighandler_t currentHandler(int number)
{
    struct sigaction action = {};
    sigaction(number, nullptr, &action);
    return action.sa_handler;
}

// Runs the event loop until `spy` has `count` emissions or two seconds pass.
bool waitFor(QSignalSpy &spy, int count)
{
    QDeadlineTimer deadline(2000);
    while (spy.size() < count && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return spy.size() >= count;
}

int signalAt(const QSignalSpy &spy, int i) { return spy.at(i).at(0).toInt(); }

} // namespace

TEST(SignalWatcher, SigtermArrivesThroughTheEventLoop)
{
    SignalWatcher watcher;
    ASSERT_TRUE(watcher.isInstalled());
    QSignalSpy received(&watcher, &SignalWatcher::signalReceived);

    std::raise(SIGTERM);
    EXPECT_EQ(received.size(), 0) << "must not be emitted from the handler";
    ASSERT_TRUE(waitFor(received, 1));
    EXPECT_EQ(signalAt(received, 0), SIGTERM);
}

TEST(SignalWatcher, SignalsRaisedTogetherArriveInOrder)
{
    SignalWatcher watcher;
    QSignalSpy received(&watcher, &SignalWatcher::signalReceived);

    std::raise(SIGINT);
    std::raise(SIGTERM);
    std::raise(SIGINT);
    ASSERT_TRUE(waitFor(received, 3));
    EXPECT_EQ(received.size(), 3);
    EXPECT_EQ(signalAt(received, 0), SIGINT);
    EXPECT_EQ(signalAt(received, 1), SIGTERM);
    EXPECT_EQ(signalAt(received, 2), SIGINT);
}

TEST(SignalWatcher, ReceiverMayDestroyTheWatcher)
{
    auto *watcher = new SignalWatcher;
    int calls = 0;
    QObject::connect(watcher, &SignalWatcher::signalReceived, [&] {
        ++calls;
        delete watcher;
    });
    std::raise(SIGTERM);
    std::raise(SIGTERM);
    QDeadlineTimer deadline(2000);
    while (calls == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(currentHandler(SIGTERM), SIG_DFL);
}

TEST(SignalWatcher, DestructionRestoresTheDefaultHandlers)
{
    ASSERT_EQ(currentHandler(SIGTERM), SIG_DFL);
    ASSERT_EQ(currentHandler(SIGINT), SIG_DFL);
    {
        SignalWatcher watcher;
        EXPECT_NE(currentHandler(SIGTERM), SIG_DFL);
        EXPECT_NE(currentHandler(SIGINT), SIG_DFL);
    }
    EXPECT_EQ(currentHandler(SIGTERM), SIG_DFL);
    EXPECT_EQ(currentHandler(SIGINT), SIG_DFL);
}

TEST(SignalWatcher, DestructionRestoresAHandlerInstalledBefore)
{
    std::signal(SIGTERM, customHandler);
    g_customCalls = 0;
    {
        SignalWatcher watcher;
        QSignalSpy received(&watcher, &SignalWatcher::signalReceived);
        std::raise(SIGTERM);
        ASSERT_TRUE(waitFor(received, 1));
        EXPECT_EQ(g_customCalls, 0);
    }
    std::raise(SIGTERM);
    EXPECT_EQ(g_customCalls, 1);
    std::signal(SIGTERM, SIG_DFL);
}

TEST(SignalWatcher, OnlyOneWatcherIsInstalledAtATime)
{
    SignalWatcher first;
    QSignalSpy received(&first, &SignalWatcher::signalReceived);
    {
        SignalWatcher second;
        EXPECT_FALSE(second.isInstalled());
    }
    // The inert one leaving changed nothing.
    EXPECT_NE(currentHandler(SIGTERM), SIG_DFL);
    std::raise(SIGTERM);
    ASSERT_TRUE(waitFor(received, 1));
}

TEST(SignalWatcher, AnotherWatcherCanFollowTheFirst)
{
    {
        SignalWatcher first;
    }
    SignalWatcher next;
    ASSERT_TRUE(next.isInstalled());
    QSignalSpy received(&next, &SignalWatcher::signalReceived);
    std::raise(SIGINT);
    ASSERT_TRUE(waitFor(received, 1));
    EXPECT_EQ(signalAt(received, 0), SIGINT);
}

TEST(SignalWatcher, WatchesOnlyTheSignalsItIsGiven)
{
    SignalWatcher watcher({SIGUSR1});
    EXPECT_EQ(currentHandler(SIGTERM), SIG_DFL);
    QSignalSpy received(&watcher, &SignalWatcher::signalReceived);
    std::raise(SIGUSR1);
    ASSERT_TRUE(waitFor(received, 1));
    EXPECT_EQ(signalAt(received, 0), SIGUSR1);
}
