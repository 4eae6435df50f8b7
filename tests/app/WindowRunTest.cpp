// The main window at rest and in an interval run: nothing is drawn while nothing changes, an
// interval run gives what the batch run gives, and the window answers while it runs.
#include "Engine.h"
#include "FormDraw.h"
#include "FormMain.h"
#include "FormModeling.h"
#include "MainWindowFixture.h"
#include "NetFile.h"
#include "RunControl.h"
#include "SimRun.h"
#include "SimulationStep.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path kBenchNets = KVL_BENCH_NETS;

// Counts the paint events one widget receives.
class TPaintCounter : public QObject {
public:
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

class WindowRunTest : public MainWindowFixture {
protected:
    std::unique_ptr<TFormMain> Open(const std::filesystem::path& net) {
        auto form = std::make_unique<TFormMain>(Engine);
        form->ChooseFileToOpen = [net] { return QString::fromStdString(net.string()); };
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        Key(form.get(), Qt::Key_O, Qt::ControlModifier);
        return form;
    }
    // Lets the event loop run many times without any input.
    static void Spin(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QTest::qWait(2);
        }
    }
};

TEST_F(WindowRunTest, IdleWindowDrawsNothingUntilSomethingChanges) {
    auto form = Open(kBenchNets / "mm1.kvl");
    int draws = 0;
    int results = 0;
    const auto draw = Engine.DrawWork;
    Engine.DrawWork = [&, draw] {
        ++draws;
        draw();
    };
    const auto refresh = Engine.RefreshObjectResults;
    Engine.RefreshObjectResults = [&, refresh] {
        ++results;
        refresh();
    };
    TPaintCounter paints;
    form->FormDraw()->installEventFilter(&paints);
    QTRY_VERIFY_WITH_TIMEOUT(Engine.ThreadDraw->IsPaused() && Engine.ThreadUpdate->IsPaused() &&
                                 !form->Timer()->isActive(),
                             10000);
    // The paint that the last frame asked for may still be on its way (a slow build delivers it
    // late); it belongs to that frame.
    Spin(100);
    draws = results = paints.Count = 0;
    Spin(100);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(results, 0);
    EXPECT_EQ(paints.Count, 0);

    // A key pressed on the canvas may change it: it is drawn and painted again, then rests.
    Key(form->FormDraw(), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(draws > 0 && paints.Count > 0 && results > 0, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(Engine.ThreadDraw->IsPaused() && Engine.ThreadUpdate->IsPaused(),
                             10000);
    // A run keeps the canvas drawn until it ends.
    form->FormModeling()->LEditInterval()->setText("50");
    draws = 0;
    Key(form.get(), Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(Engine.RunMode, rmStopped, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(draws > 0, 10000);
}

TEST_F(WindowRunTest, IntervalRunEndsAsTheBatchRunFromTheSameSeed) {
    for (const char* name : {"mm1.kvl", "ring1000.kvl"}) {
        SCOPED_TRACE(name);
        // Long enough for several steps of the window's time budget.
        const double interval = std::string(name) == "mm1.kvl" ? 2000000 : 1000;
        auto form = Open(kBenchNets / name);
        form->FormModeling()->LEditInterval()->setText(QString::number(interval));
        Engine.Random.Seed = 11;
        Key(form.get(), Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(Engine.RunMode, rmStopped, 60000);

        TEngine batch;
        InitEngine(batch);
        LoadNet(batch, kBenchNets / name);
        batch.Random.Seed = 11;
        EXPECT_EQ(RunWholeInterval(batch, interval, SimulationStep), rsNone);
        EXPECT_EQ(Engine.Net.ModelTime, batch.Net.ModelTime);
        EXPECT_EQ(Engine.Net.EventCount, batch.Net.EventCount);
        EXPECT_EQ(Engine.Random.Seed, batch.Random.Seed);
        ASSERT_EQ(Engine.Net.Vertices.size(), batch.Net.Vertices.size());
        for (std::size_t i = 0; i < batch.Net.Vertices.size(); ++i) {
            EXPECT_EQ(Engine.Net.Vertices[i]->Marking, batch.Net.Vertices[i]->Marking) << i;
            EXPECT_EQ(Engine.Net.Vertices[i]->ChangeCount, batch.Net.Vertices[i]->ChangeCount);
            EXPECT_EQ(Engine.Net.Vertices[i]->ReceivedTotal, batch.Net.Vertices[i]->ReceivedTotal);
        }
        for (std::size_t i = 0; i < batch.Net.Transitions.size(); ++i)
            EXPECT_EQ(Engine.Net.Transitions[i]->LaunchCount, batch.Net.Transitions[i]->LaunchCount)
                << i;
    }
}

TEST_F(WindowRunTest, WindowAnswersAndStopsDuringALongIntervalRun) {
    auto form = Open(kBenchNets / "mm1.kvl");
    form->FormModeling()->LEditInterval()->setText("1000000000");
    Key(form.get(), Qt::Key_F8);
    ASSERT_EQ(Engine.RunMode, rmInterval);
    // Calls queued on the event loop run between the steps: one re-queues itself until the run
    // has made progress, and the stop it then asks for ends the run long before its end.
    bool answered = false;
    double timeAtCall = -1;
    std::function<void()> poll = [&] {
        if (Engine.Net.ModelTime == 0) {
            QTimer::singleShot(0, form.get(), poll);
            return;
        }
        answered = Engine.RunMode == rmInterval;
        timeAtCall = Engine.Net.ModelTime;
        form->ButtonStopClick();
    };
    QTimer::singleShot(0, form.get(), poll);
    QTRY_VERIFY_WITH_TIMEOUT(answered, 20000);
    EXPECT_EQ(Engine.RunMode, rmStopped);
    EXPECT_GT(timeAtCall, 0);
    EXPECT_LT(timeAtCall, 1e9);
    Spin(10);
    EXPECT_EQ(Engine.Net.ModelTime, timeAtCall);
}

} // namespace
