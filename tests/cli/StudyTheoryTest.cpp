// The intervals of a study hold what queueing theory says as often as their confidence level
// promises: many studies of a single-server queue, each from its own seed, against the exact
// means of the M/M/1 queue.
#include "NetFile.h"
#include "QueueNet.h"
#include "StudyReport.h"
#include "StudySummary.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(StudyTheory, IntervalsOfTheMM1QueueHoldTheExactMeans) {
    TTempFolder folder;
    {
        TEngine engine;
        InitEngine(engine);
        BuildQueueNet(engine.Net, 1, dtExponential, 0.5); // load 0.5
        for (auto& v : engine.Net.Vertices)
            v->IsMonitoring = true;
        for (auto& t : engine.Net.Transitions)
            t->IsMonitoring = true;
        SaveNet(engine, folder / "mm1.kvl");
    }
    // Waiting customers rho^2 / (1 - rho), an idle server 1 - rho, a busy one rho.
    struct TFigure {
        bool IsVertex;
        std::size_t Object;
        std::size_t Figure;
        double Exact;
    };
    const TFigure figures[] = {{true, 1, 5, 0.5}, {true, 2, 5, 0.5}, {false, 1, 6, 50}};
    constexpr int kStudies = 40;
    int held[3] = {};
    for (int s = 0; s < kStudies; ++s) {
        TSimOptions options;
        options.NetFile = (folder / "mm1.kvl").string();
        options.Interval = 5000;
        options.WarmUp = 100;
        options.Seed = 1000003u * static_cast<std::uint32_t>(s + 1);
        options.Study.Replications = 10;
        const TStudy study = PrepareStudy(options);
        const std::vector<TPointResult> points = RunStudy(study, {}, 2);
        ASSERT_EQ(points[0].Rows.size(), 10u);
        for (int f = 0; f < 3; ++f) {
            std::vector<double> values;
            for (const TRunFigures& row : points[0].Rows) {
                const auto& objects = figures[f].IsVertex ? row.Vertices : row.Transitions;
                values.push_back(*objects[figures[f].Object].Values[figures[f].Figure]);
            }
            const TSummary summary = Summarize(values, 0.95);
            held[f] += std::fabs(summary.Mean - figures[f].Exact) <= *summary.HalfWidth;
        }
    }
    // 95 % of 40 is 38; fewer than 34 happens by chance once in a few hundred sets of studies.
    for (int f = 0; f < 3; ++f)
        EXPECT_GE(held[f], 34) << "figure " << f;
}

} // namespace
