// The production-line nets of the benchmarks: their size and shape, the names, a line that
// carries parts from its source to its end, and the saved nets of bench/nets.
#include "ProductionLine.h"
#include "NetFile.h"
#include "RunControl.h"
#include "SimulationStep.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const std::filesystem::path kBenchNets = KVL_BENCH_NETS;

int Objects(const TEngine& engine) {
    return static_cast<int>(engine.Net.Vertices.size() + engine.Net.Transitions.size() +
                            engine.Net.Connections.size());
}

TEST(ProductionLineTest, ShapeComesNearTheAskedSizeFromBelowAndFillsAWideWindow) {
    for (int objects : {1000, 10000, 100000}) {
        const TProductionLineShape shape = ProductionLineShapeFor(objects);
        const int count = ProductionLineObjects(shape);
        EXPECT_LE(count, objects);
        EXPECT_GE(count, objects * 0.97) << objects;
        const double wide = 2.0 * ProductionLineStep * shape.Stations;
        const double tall = 1.0 * ProductionLineRowPitch * shape.Rows;
        EXPECT_NEAR(wide / tall, 1.6, 0.25) << objects;

        TEngine engine;
        InitEngine(engine);
        BuildProductionLine(engine, shape);
        EXPECT_EQ(Objects(engine), count);
    }
}

TEST(ProductionLineTest, NamesAreUniqueAndPositionsFollowTheGrid) {
    TEngine engine;
    InitEngine(engine);
    BuildProductionLine(engine, {3, 17});
    std::set<std::string> names;
    for (const auto& v : engine.Net.Vertices)
        names.insert(v->Name);
    for (const auto& t : engine.Net.Transitions)
        names.insert(t->Name);
    EXPECT_EQ(names.size(), engine.Net.Vertices.size() + engine.Net.Transitions.size());
    const TVertex* last = nullptr;
    for (const auto& v : engine.Net.Vertices)
        if (v->Name == Utf8ToWin1251("Буфер_3_17"))
            last = v.get();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->X, 2 * ProductionLineStep * 16);
    EXPECT_EQ(last->Y, 2 * ProductionLineRowPitch);
    for (const auto& t : engine.Net.Transitions)
        EXPECT_EQ(t->DelayType, dtExponential);
}

TEST(ProductionLineTest, PartsTravelFromTheSourceToTheEndOfEveryRow) {
    TEngine engine;
    InitEngine(engine);
    BuildProductionLine(engine, {2, 3});
    engine.Random.Seed = 5;
    engine.IntervalEnd = 200;
    while (!IntervalEndReached(engine))
        ASSERT_FALSE(IntervalStep(engine, StepTimeBudget));
    for (const auto& v : engine.Net.Vertices) {
        const std::string name = Win1251ToUtf8(v->Name);
        if (name.rfind("Готово", 0) == 0) {
            EXPECT_GT(v->Marking, 100) << name; // about one part a time unit arrives
        } else if (name.rfind("Джерело", 0) == 0) {
            // Its one token, away while an arrival is under way.
            EXPECT_LE(v->Marking, 1) << name;
        }
    }
}

TEST(ProductionLineTest, SavedNetsAreTheLinesOfTheirSize) {
    for (int objects : {1000, 10000}) {
        const auto path = kBenchNets / ("line" + std::to_string(objects) + ".kvl");
        TEngine saved;
        InitEngine(saved);
        ASSERT_TRUE(LoadNet(saved, path)) << path;
        TEngine built;
        InitEngine(built);
        BuildProductionLine(built, ProductionLineShapeFor(objects));
        ASSERT_EQ(Objects(saved), Objects(built)) << path;
        for (std::size_t i = 0; i < built.Net.Vertices.size(); ++i) {
            EXPECT_EQ(saved.Net.Vertices[i]->Name, built.Net.Vertices[i]->Name);
            EXPECT_EQ(saved.Net.Vertices[i]->X, built.Net.Vertices[i]->X);
            EXPECT_EQ(saved.Net.Vertices[i]->Y, built.Net.Vertices[i]->Y);
        }
    }
}

} // namespace
