#include "PickIndex.h"

#include "CanvasFixture.h"
#include "NetBuffer.h"
#include "NetFile.h"
#include "NetJournal.h"
#include "NetObjects.h"
#include "Picking.h"
#include "Viewport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Random nets where objects overlap, some are tiny or have sizes of the wrong sign, connections
// run long across the net and come in pairs of both directions, and a few objects lie so far out
// that the grid leaves them to the list every query takes.
void FillRandomNet(TEngine& e, std::mt19937& random, int spread) {
    auto uniform = [&](int from, int to) {
        return std::uniform_int_distribution(from, to)(random);
    };
    const TEngineGraphOptions* options = &e.Graph.Options;
    const int vertices = uniform(100, 250);
    const int transitions = uniform(100, 250);
    for (int i = 0; i < vertices; ++i) {
        TVertex* v =
            CreateVertex(e.Net, "", 0, uniform(-spread, spread), uniform(-spread, spread), options);
        v->Radius = uniform(0, 9) == 0 ? uniform(-60, 0) : uniform(0, 400);
        v->LineWidth = uniform(0, 30);
    }
    for (int i = 0; i < transitions; ++i) {
        TTransition* t = CreateTransition(e.Net, "", uniform(-spread, spread), 1,
                                          uniform(-spread, spread), options);
        t->Width = uniform(0, 9) == 0 ? uniform(-40, 0) : uniform(0, 200);
        t->Height = uniform(0, 9) == 0 ? uniform(-40, 0) : uniform(0, 300);
    }
    TVertex* far = CreateVertex(e.Net, "", 0, 1'500'000'000, -1'200'000'000, options);
    far->Radius = 100;
    const int connections = uniform(100, 300);
    for (int i = 0; i < connections; ++i) {
        TVertex* v = e.Net.Vertices[uniform(0, vertices)].get();
        TTransition* t = e.Net.Transitions[uniform(0, transitions - 1)].get();
        TConnection* c =
            CreateConnection(e.Net, uniform(0, 1) == 0 ? ctVT : ctTV, 1, v, t, options);
        c->Width = uniform(0, 9) == 0 ? uniform(-20, 0) : uniform(0, 40);
        if (uniform(0, 3) == 0)
            CreateConnection(e.Net, c->ConnectionType == ctVT ? ctTV : ctVT, 1, v, t, options);
    }
}

class PickIndexRandomNetTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.Graph.ScreenWidth = 800;
        Engine.Graph.ScreenHeight = 600;
    }
    TEngine Engine;
};

TEST_P(PickIndexRandomNetTest, HitsAndBandsEqualTheWalkOverEveryObject) {
    std::mt19937 random(GetParam());
    auto uniform = [&](int from, int to) {
        return std::uniform_int_distribution(from, to)(random);
    };
    const int spread = uniform(0, 1) == 0 ? 3000 : 20000;
    FillRandomNet(Engine, random, spread);
    int hits = 0;
    int caught = 0;
    for (const double scale : {0.0095, 0.05, 0.14285, 0.5, 1.0}) {
        Engine.Graph.Scale = scale;
        for (int view = 0; view < 6; ++view) {
            // One view looks at the far-out vertex, where the index gives way to the walk.
            Engine.Graph.CenterX = view == 5 ? 1'500'000'000 : uniform(-spread, spread);
            Engine.Graph.CenterY = view == 5 ? -1'200'000'000 : uniform(-spread, spread);
            for (int i = 0; i < 150; ++i) {
                const int x = uniform(-50, 850);
                const int y = uniform(-50, 650);
                const TObjectRef expected = HitTestLinear(Engine, x, y);
                ASSERT_EQ(HitTest(Engine, x, y), expected)
                    << "scale " << scale << " point " << x << "," << y;
                hits += expected ? 1 : 0;
            }
            for (int i = 0; i < 20; ++i) {
                const int x1 = uniform(-100, 900), y1 = uniform(-100, 700);
                const int x2 = uniform(-100, 900), y2 = uniform(-100, 700);
                const std::vector<TObjectRef> expected =
                    ObjectsInBandLinear(Engine, x1, y1, x2, y2);
                ASSERT_EQ(ObjectsInBand(Engine, x1, y1, x2, y2), expected);
                caught += static_cast<int>(expected.size());
            }
        }
    }
    // Near every object's outline, where the tolerances decide.
    Engine.Graph.Scale = 1.0;
    for (const auto& c : Engine.Net.Connections) {
        const TConnectionEnds ends = ConnectionEnds(*c);
        Engine.Graph.CenterX = ends.P2.X;
        Engine.Graph.CenterY = ends.P2.Y;
        const int reach = 3 * std::abs(c->Width) + 30;
        for (int i = 0; i < 40; ++i) {
            const int x = 400 + uniform(-reach, reach), y = 300 + uniform(-reach, reach);
            ASSERT_EQ(HitTest(Engine, x, y), HitTestLinear(Engine, x, y));
        }
    }
    for (const auto& v : Engine.Net.Vertices) {
        Engine.Graph.CenterX = v->X;
        Engine.Graph.CenterY = v->Y;
        const int reach = std::abs(v->Radius) + v->LineWidth + 3;
        for (int i = 0; i < 40; ++i) {
            const int x = 400 + uniform(-reach, reach), y = 300 + uniform(-reach, reach);
            ASSERT_EQ(HitTest(Engine, x, y), HitTestLinear(Engine, x, y));
            const int x2 = 400 + uniform(-reach, reach), y2 = 300 + uniform(-reach, reach);
            ASSERT_EQ(ObjectsInBand(Engine, x, y, x2, y2),
                      ObjectsInBandLinear(Engine, x, y, x2, y2));
        }
    }
    EXPECT_GT(hits, 100); // the comparison is not only of misses
    EXPECT_GT(caught, 100);
}

// The lists a band leaves, built as the walk over every object builds them: the band's objects
// the list lacks appended in order, then each connection in array order added when both its ends
// are in the list and removed when not.
std::vector<TObjectRef> ListAfterBand(const TEngine& e, std::vector<TObjectRef> list,
                                      const std::vector<TObjectRef>& inside) {
    auto contains = [&](TObjectRef o) {
        return std::find(list.begin(), list.end(), o) != list.end();
    };
    for (const TObjectRef& o : inside)
        if (!contains(o))
            list.push_back(o);
    for (const auto& c : e.Net.Connections) {
        const bool ends = contains(c->Vertex) && contains(c->Transition);
        const auto at = std::find(list.begin(), list.end(), TObjectRef(c.get()));
        if (ends && at == list.end()) {
            list.push_back(c.get());
        } else if (!ends && at != list.end()) {
            *at = list.back(); // the last entry moves into the gap
            list.pop_back();
        }
    }
    return list;
}

TEST_P(PickIndexRandomNetTest, BandsLeaveTheListsTheWalkLeaves) {
    std::mt19937 random(GetParam());
    auto uniform = [&](int from, int to) {
        return std::uniform_int_distribution(from, to)(random);
    };
    FillRandomNet(Engine, random, 3000);
    Engine.Graph.Scale = 0.14285;
    std::size_t chosen = 0;
    for (int i = 0; i < 30; ++i) {
        Engine.Graph.CenterX = uniform(-3000, 3000);
        Engine.Graph.CenterY = uniform(-3000, 3000);
        const int x1 = uniform(0, 800), y1 = uniform(0, 600);
        const int x2 = uniform(0, 800), y2 = uniform(0, 600);
        const TSelectMode mode = i % 3 == 0 ? TSelectMode::Replace : TSelectMode::Extend;
        const std::vector<TObjectRef> before =
            mode == TSelectMode::Replace ? std::vector<TObjectRef>{} : Engine.Choiced.Items;
        const std::vector<TObjectRef> expected =
            ListAfterBand(Engine, before, ObjectsInBandLinear(Engine, x1, y1, x2, y2));
        BandCommit(Engine, x1, y1, x2, y2, mode);
        ASSERT_EQ(Engine.Choiced.Items, expected);
        chosen += expected.size();
    }
    EXPECT_GT(chosen, 100u); // the bands caught objects and connections
}

INSTANTIATE_TEST_SUITE_P(Seeds, PickIndexRandomNetTest, ::testing::Values(1u, 2u, 3u, 4u));

// The index is built by the first pick; then every kind of edit, made as the user makes it,
// must show in the next pick.
class PickIndexEditTest : public CanvasFixture {
protected:
    TObjectRef Hit(int mx, int my) {
        const QPoint p = At(mx, my);
        return HitTest(Engine, p.x(), p.y());
    }
    // The index agrees with the walk over a grid of points across the window and for bands.
    void ExpectIndexAgrees() {
        for (int x = -10; x <= 410; x += 6)
            for (int y = -10; y <= 310; y += 6)
                ASSERT_EQ(HitTest(Engine, x, y), HitTestLinear(Engine, x, y)) << x << "," << y;
        for (int x = 0; x <= 400; x += 50)
            ASSERT_EQ(ObjectsInBand(Engine, x, 0, x + 60, 300),
                      ObjectsInBandLinear(Engine, x, 0, x + 60, 300));
    }
    TVertex* V(int x, int y) {
        TVertex* v = CreateVertex(Engine.Net, "", 0, x, y, &Engine.Graph.Options);
        v->Radius = 20;
        v->LineWidth = 2;
        return v;
    }
    TTransition* T(int x, int y) {
        TTransition* t = CreateTransition(Engine.Net, "", x, 1, y, &Engine.Graph.Options);
        t->Width = 8;
        t->Height = 20;
        return t;
    }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(Form.get(), Qt::LeftButton, {}, from);
        Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, to);
    }
};

TEST_F(PickIndexEditTest, CreatingAndDeletingShowInTheNextPick) {
    TVertex* v = V(-100, 0);
    EXPECT_FALSE(Hit(100, 0));
    Engine.EditMode = emCreateTransition;
    History.Make("Створення", [&](TNetJournal& j) {
        CreateAtPoint(Engine, At(100, 0).x(), At(100, 0).y(), &j);
    });
    ASSERT_TRUE(Hit(100, 0).Transition());
    ExpectIndexAgrees();

    Engine.Choiced.Items = {v};
    QTest::keyClick(Form.get(), Qt::Key_Delete);
    ASSERT_EQ(Engine.Net.Vertices.size(), 0u);
    EXPECT_FALSE(Hit(-100, 0));
    ExpectIndexAgrees();
    History.Undo(); // the vertex comes back in its place
    EXPECT_EQ(Hit(-100, 0).Vertex(), v);
    History.Redo();
    EXPECT_FALSE(Hit(-100, 0));
    ExpectIndexAgrees();
}

TEST_F(PickIndexEditTest, DraggingArrowKeysUndoAndRedoMoveWhatIsHit) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    ASSERT_EQ(Hit(-100, 0).Vertex(), v);
    Engine.Choiced.Items = {v};
    Drag(At(-100, 0), At(-100, 100));
    ASSERT_EQ(v->Y, 100);
    EXPECT_EQ(Hit(-100, 100).Vertex(), v);
    EXPECT_FALSE(Hit(-100, 0));
    ExpectIndexAgrees();

    const int step = GridStep(Engine.Graph);
    QTest::keyClick(Form.get(), Qt::Key_Right);
    ASSERT_EQ(v->X, -100 + step);
    EXPECT_EQ(Hit(-100 + step, 100).Vertex(), v);
    ExpectIndexAgrees();

    History.Undo();
    History.Undo();
    ASSERT_EQ(v->Y, 0);
    EXPECT_EQ(Hit(-100, 0).Vertex(), v);
    EXPECT_FALSE(Hit(-100 + step, 100));
    ExpectIndexAgrees();
    History.Redo();
    EXPECT_EQ(Hit(-100, 100).Vertex(), v);
    ExpectIndexAgrees();
}

TEST_F(PickIndexEditTest, PastedObjectsAreHitWhereTheyWerePasted) {
    TVertex* v = V(-100, -50);
    T(-60, -50);
    ASSERT_FALSE(Hit(100, 80));
    Engine.Choiced.Items = {v};
    CopyFragment(Engine, -100, -50);
    PasteFragment(Engine, 100, 80);
    ASSERT_EQ(Engine.Net.Vertices.size(), 2u);
    EXPECT_EQ(Hit(100, 80).Vertex(), Engine.Net.Vertices[1].get());
    ExpectIndexAgrees();
}

TEST_F(PickIndexEditTest, ChangedSizesShowInTheNextPick) {
    TVertex* v = V(0, 0);
    ASSERT_FALSE(Hit(60, 0));
    History.Make("Властивості", [&](TNetJournal& j) {
        ChangeFields<TVertex>(j, Engine, *v, [](TVertex& values) { values.Radius = 70; });
    });
    EXPECT_EQ(Hit(60, 0).Vertex(), v);
    History.Undo();
    EXPECT_FALSE(Hit(60, 0));
    ExpectIndexAgrees();
}

TEST_F(PickIndexEditTest, ALoadedNetReplacesTheIndexedOne) {
    // The other net has as many objects of each kind, elsewhere.
    TEngine other;
    InitEngine(other);
    TVertex* moved = CreateVertex(other.Net, "", 0, 120, 60, &other.Graph.Options);
    moved->Radius = 20;
    CreateTransition(other.Net, "", -120, 1, -60, &other.Graph.Options)->Width = 8;
    const std::string text = NetText(other.Net);

    V(-100, 0);
    T(100, 0);
    ASSERT_TRUE(Hit(-100, 0));
    ASSERT_TRUE(LoadNetText(Engine, text, "other.kvl"));
    EXPECT_FALSE(Hit(-100, 0));
    EXPECT_TRUE(Hit(120, 60).Vertex());
    ExpectIndexAgrees();
    NewNet(Engine);
    EXPECT_FALSE(Hit(120, 60));
}

TEST(PickIndex, RebuildsOnlyAfterAChange) {
    TEngine engine;
    InitEngine(engine);
    CreateVertex(engine.Net, "", 0, 0, 0, &engine.Graph.Options);
    const TPickIndex& index = CurrentPickIndex(engine.Net);
    EXPECT_TRUE(IsPickIndexCurrent(index, engine.Net));
    engine.Net.ModelTime = 5; // a run changes no place
    EXPECT_TRUE(IsPickIndexCurrent(index, engine.Net));
    MoveObjects(engine.Net, {engine.Net.Vertices[0].get()}, 10, 0);
    EXPECT_FALSE(IsPickIndexCurrent(index, engine.Net));
    // A net moved elsewhere is not the net the index was built for.
    CurrentPickIndex(engine.Net);
    TEngineNet moved = std::move(engine.Net);
    EXPECT_FALSE(IsPickIndexCurrent(*moved.PickIndex, moved));
}

} // namespace
