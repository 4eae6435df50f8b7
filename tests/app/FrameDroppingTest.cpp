// Frames slower than the refresh period, handed to the Qt event loop as the editor hands them:
// refresh requests that pile up while a frame is drawn give no backlog of frames, drawing takes
// at most about half of the interface thread's time, and the event loop goes on handling other
// events between frames.
#include "Engine.h"
#include "RunControl.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int kRefreshMs = 14;
constexpr auto kSlowFrame = std::chrono::milliseconds(40);
constexpr int kInputMs = 5; // a stand-in for input events, each asking for a redraw
constexpr int kSpanMs = 800;

// Runs the Qt event loop for a span, or until `done` says so, polling it every few ms.
void RunEventLoop(
    int spanMs, const std::function<bool()>& done = [] { return false; }) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(2);
    QTimer::singleShot(spanMs, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(FrameDroppingTest, SlowFramesAreDroppedAndTheEventLoopKeepsHandlingEvents) {
    TEngine engine;
    InitEngine(engine);
    SetScreenUpdateInterval(engine, kRefreshMs);
    int frames = 0;
    engine.DrawWork = [&] {
        std::this_thread::sleep_for(kSlowFrame);
        ++frames;
    };
    // The editor's hand-over (a queued call into the event loop), counting the calls queued and
    // not run yet.
    std::atomic<int> queued = 0;
    std::atomic<int> mostQueued = 0;
    StartEngineThreads(engine, [&](std::function<void()> work) {
        const int now = ++queued;
        int most = mostQueued.load();
        while (now > most && !mostQueued.compare_exchange_weak(most, now)) {
        }
        QMetaObject::invokeMethod(
            qApp,
            [&queued, work = std::move(work)] {
                --queued;
                work();
            },
            Qt::QueuedConnection);
    });

    // Input every few ms, each event asking for a redraw, while every frame takes 40 ms.
    int requests = 0;
    auto longestGap = TClock::duration::zero();
    auto lastInput = TClock::now();
    QTimer input;
    QObject::connect(&input, &QTimer::timeout, [&] {
        const auto now = TClock::now();
        longestGap = std::max(longestGap, now - lastInput);
        lastInput = now;
        ++requests;
        RequestRefresh(engine);
    });
    const auto start = TClock::now();
    input.start(kInputMs);
    RunEventLoop(kSpanMs);
    input.stop();
    const auto elapsed = TClock::now() - start;
    const int framesWhileAsked = frames;

    // Each slow frame was followed by a rest as long: no more frames than fit in half the time,
    // while the requests were many times more.
    EXPECT_LE(framesWhileAsked, elapsed / (2 * kSlowFrame) + 1);
    EXPECT_GE(framesWhileAsked, 3); // and the frames went on
    EXPECT_GT(requests, 3 * framesWhileAsked);
    // Never more than the one frame of the drawing thread waited in the queue.
    EXPECT_LE(mostQueued.load(), 1);
    // Input was handled between frames: no wait much longer than a frame and a period.
    EXPECT_LT(longestGap, 4 * kSlowFrame);

    // Once the requests stop, the drawing thread draws its settle cycles and pauses: what piled
    // up was not kept.
    RunEventLoop(5000, [&] { return engine.ThreadDraw->IsPaused(); });
    EXPECT_TRUE(engine.ThreadDraw->IsPaused());
    EXPECT_LE(frames - framesWhileAsked, RefreshSettleCycles + 1);
    StopEngineThreads(engine);
}

} // namespace
