// A study of a net in hand rather than a file, its progress, and giving it up: what the editor's
// experiment window relies on to give kvl-sim's results and to stop at once.
#include "EndlessCycleNet.h"
#include "NetFile.h"
#include "NetFileReader.h"
#include "NetObjects.h"
#include "QueueNet.h"
#include "Random.h"
#include "SimRun.h"
#include "SimulationStep.h"
#include "StudyReport.h"
#include "StudyRun.h"
#include "StudyTask.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A monitored single-server queue as the bytes of its file.
std::string QueueNetText(TDelayType service = dtExponential) {
    TEngine engine;
    InitEngine(engine);
    BuildQueueNet(engine.Net, 1, service, 0.8, 0.2);
    for (auto& vertex : engine.Net.Vertices)
        vertex->IsMonitoring = true;
    for (auto& transition : engine.Net.Transitions)
        transition->IsMonitoring = true;
    return NetText(engine.Net);
}

TSimOptions StudyOptions(double interval, std::uint64_t replications, std::uint32_t seed) {
    TSimOptions options;
    options.Interval = interval;
    options.WarmUp = interval / 10;
    options.Seed = seed;
    options.Study.Requested = true;
    options.Study.Replications = replications;
    options.Study.ReplicationsGiven = true;
    return options;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(StudyControlTest, StudyOfNetBytesEqualsStudyOfTheFileHoldingThem) {
    TTempFolder folder;
    const std::string bytes = QueueNetText();
    const auto path = folder / "queue.kvl";
    {
        std::ofstream file(path, std::ios::binary);
        file << bytes;
    }
    TSimOptions options = StudyOptions(2000, 6, 77);
    options.NetFile = path.string();
    options.Study.Sweep = "Serve.delay=0.5,0.8";
    const TStudy fromFile = PrepareStudy(options);

    TEngine editor;
    InitEngine(editor);
    const TStudy fromBytes = PrepareStudy(bytes, path, EngineRunSettings(editor), options);
    EXPECT_EQ(fromBytes.Header.NetHash, fromFile.Header.NetHash);
    EXPECT_EQ(fromBytes.Header.Net, "queue.kvl");
    EXPECT_EQ(StudyJson(fromBytes.Header, RunStudy(fromBytes, {}, 2), true),
              StudyJson(fromFile.Header, RunStudy(fromFile, {}, 3), true));
}

TEST(StudyControlTest, EngineSettingsTravelWithTheStudyAndTheConflictOptionOverridesThem) {
    TEngine editor;
    InitEngine(editor);
    editor.ConflictCheck = false;
    editor.VertexHistoryNormal = 123;
    editor.DoTransitionHistorySimple = false;
    TSimOptions options = StudyOptions(100, 2, 1);
    TStudy study = PrepareStudy(QueueNetText(), "queue.kvl", EngineRunSettings(editor), options);
    EXPECT_FALSE(study.Header.Settings.ConflictCheck);
    EXPECT_EQ(study.Header.Settings.VertexHistoryNormal, 123);
    EXPECT_FALSE(study.Header.Settings.DoTransitionHistorySimple);
    options.ConflictCheck = true;
    study = PrepareStudy(QueueNetText(), "queue.kvl", EngineRunSettings(editor), options);
    EXPECT_TRUE(study.Header.Settings.ConflictCheck);
}

std::atomic<int> StepCalls{0};
bool CountedStep(TEngineNet& net, bool conflictCheck, double startTime, double span, bool flash,
                 TEngine& engine, int budgetMs) {
    ++StepCalls;
    return SimulationStep(net, conflictCheck, startTime, span, flash, engine, budgetMs);
}

std::string EndlessCycleText() {
    TEngine engine;
    InitEngine(engine);
    BuildEndlessCycle(engine.Net);
    return NetText(engine.Net);
}

// A cancellable run whose flag stays down is the run without a flag, step for step, also where
// it stops at an endless instant: the flag is only read.
TEST(StudyControlTest, ARunWithACancelFlagThatStaysDownIsTheRunWithout) {
    const std::filesystem::path examples = KVL_EXAMPLES;
    std::vector<std::pair<std::string, std::string>> nets = {
        {"queue, normal service", QueueNetText(dtNormal)},
        {"queue", QueueNetText()},
        {"endless cycle", EndlessCycleText()}};
    for (const char* name : {"conflict.kvl", "formulas.kvl", "production_line.kvl"})
        nets.emplace_back(name, ReadNetBytes(examples / name));
    for (const auto& [name, bytes] : nets) {
        for (const bool conflictCheck : {true, false}) {
            auto run = [&](const std::atomic<bool>* cancel) {
                TEngine engine;
                InitEngine(engine);
                engine.ShowMessage = [](const std::string&) {};
                engine.ConflictCheck = conflictCheck;
                engine.Random.Seed = 4242;
                LoadNetText(engine, bytes, name);
                TRunFigures figures;
                StepCalls = 0;
                figures.Stop = RunWholeInterval(engine, 2000, CountedStep, cancel);
                figures.Draws = engine.Random.Draws;
                figures.Events = engine.Net.EventCount;
                TakeFigures(engine, 200, figures);
                EXPECT_EQ(engine.StopRequest, nullptr) << name;
                return std::pair(ReplicationRowJson(figures), StepCalls.load());
            };
            const auto whole = run(nullptr);
            const std::atomic<bool> never{false};
            EXPECT_EQ(run(&never), whole) << name << ", conflict check " << conflictCheck;
            if (name == "endless cycle") {
                EXPECT_NE(whole.first.find("endless_instant"), std::string::npos);
            }
        }
    }
}

TEST(StudyControlTest, ProgressCountsEveryReplicationAndResultsDoNotChange) {
    const TStudy study =
        PrepareStudy(QueueNetText(), "queue.kvl", TRunSettings{}, StudyOptions(500, 9, 5));
    TStudyControl control;
    const auto watched = RunStudy(study, {}, 2, &control);
    EXPECT_EQ(control.Done.load(), 9u);
    EXPECT_EQ(control.Total.load(), 9u);
    EXPECT_EQ(StudyCsv(study.Header, watched, true),
              StudyCsv(study.Header, RunStudy(study, {}, 1), true));
}

TEST(StudyControlTest, CancelStopsLongReplicationsWithinAFractionOfASecond) {
    // Each replication alone would take minutes.
    const TStudy study =
        PrepareStudy(QueueNetText(), "queue.kvl", TRunSettings{}, StudyOptions(1e12, 4, 5));
    TStudyControl control;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        control.Cancel = true;
    });
    const auto start = Clock::now();
    EXPECT_THROW(RunStudy(study, {}, 2, &control), TRunCancelled);
    const double seconds = SecondsSince(start);
    canceller.join();
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(control.Done.load(), 0u);
}

TEST(StudyControlTest, BackgroundStudyFinishesCancelsAndReportsFailures) {
    const TStudy study =
        PrepareStudy(QueueNetText(), "queue.kvl", TRunSettings{}, StudyOptions(500, 5, 9));
    {
        TStudyTask task(study, 2);
        EXPECT_EQ(task.Total(), 5u);
        const auto start = Clock::now();
        while (task.Outcome() == TStudyOutcome::Running && SecondsSince(start) < 30)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(task.Outcome(), TStudyOutcome::Finished);
        EXPECT_EQ(task.Done(), 5u);
        EXPECT_EQ(StudyCsv(study.Header, task.Results(), true),
                  StudyCsv(study.Header, RunStudy(study, {}, 1), true));
        task.Cancel(); // after the end: changes nothing
        EXPECT_EQ(task.Outcome(), TStudyOutcome::Finished);
    }
    {
        TStudy endless = study;
        endless.Header.Interval = 1e12;
        TStudyTask task(endless, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto start = Clock::now();
        task.Cancel();
        EXPECT_LT(SecondsSince(start), 1.0);
        EXPECT_EQ(task.Outcome(), TStudyOutcome::Cancelled);
        EXPECT_TRUE(task.Results().empty());
    }
    {
        TStudy broken = study;
        broken.NetBytes = "not a net\r\n";
        TStudyTask task(broken, 2);
        const auto start = Clock::now();
        while (task.Outcome() == TStudyOutcome::Running && SecondsSince(start) < 30)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(task.Outcome(), TStudyOutcome::Failed);
        EXPECT_FALSE(task.Failure().empty());
    }
    {
        // A study dropped while running takes its threads with it.
        TStudy endless = study;
        endless.Header.Interval = 1e12;
        const auto start = Clock::now();
        { TStudyTask task(endless, 2); }
        EXPECT_LT(SecondsSince(start), 1.0);
    }
}

} // namespace
