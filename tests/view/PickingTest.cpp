#include "Picking.h"
#include "Frame.h"
#include "NetObjects.h"
#include "Viewport.h"

#include <gtest/gtest.h>

namespace {

// One pixel is one model unit, and the model origin lies at the window's centre (200, 150).
class PickingTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.Graph.ScreenWidth = 400;
        Engine.Graph.ScreenHeight = 300;
        Engine.Graph.Scale = 1.0;
    }
    TVertex* V(int x, int y) {
        return CreateVertex(Engine.Net, "", 0, x, y, &Engine.Graph.Options);
    }
    TTransition* T(int x, int y) {
        return CreateTransition(Engine.Net, "", x, 1, y, &Engine.Graph.Options);
    }
    TConnection* C(TConnectionType type, TVertex* v, TTransition* t) {
        return CreateConnection(Engine.Net, type, 1, v, t, &Engine.Graph.Options);
    }
    TObjectRef Hit(int mx, int my) { return HitTest(Engine, mx + 200, my + 150); }
    bool Click(int mx, int my, TSelectMode mode) {
        return ClickSelect(Engine, mx + 200, my + 150, mode);
    }
    bool Chosen(TObjectRef o) { return ContainsObject(Engine.Choiced, o); }
    void Band(int x1, int y1, int x2, int y2, TSelectMode mode = TSelectMode::Replace) {
        BandCommit(Engine, x1 + 200, y1 + 150, x2 + 200, y2 + 150, mode);
    }

    TEngine Engine;
};

TEST_F(PickingTest, TransitionsAreHitBeforeVerticesAndLaterObjectsFirst) {
    TVertex* first = V(0, 0);
    TVertex* second = V(50, 0);
    EXPECT_EQ(Hit(25, 0).Vertex(), second);
    TTransition* t = T(0, 0);
    EXPECT_EQ(Hit(0, 0).Transition(), t);
    EXPECT_EQ(Hit(-150, 0).Vertex(), first);
}

TEST_F(PickingTest, ToleranceAtTheEdgesOfEachKind) {
    T(0, 0); // half-width 12, half-height 200
    EXPECT_TRUE(Hit(22, 0));
    EXPECT_FALSE(Hit(23, 0));
    EXPECT_TRUE(Hit(0, -210));
    EXPECT_FALSE(Hit(0, -211));

    ClearNet(Engine.Net, &Engine);
    V(0, 0); // radius 190, line 12: half the line outside the circle
    EXPECT_TRUE(Hit(196, 0));
    EXPECT_FALSE(Hit(197, 0));
    EXPECT_FALSE(Hit(0, 197));

    ClearNet(Engine.Net, &Engine);
    TTransition* t = T(-1000, 0);
    TVertex* small = V(1000, 0);
    small->Radius = 5;
    small->LineWidth = 0;
    TConnection* c = C(ctTV, small, t); // from (-990, 0) to (995, 0), width 10
    EXPECT_EQ(Hit(0, 25).Connection(), c);
    EXPECT_FALSE(Hit(0, 26));
    EXPECT_EQ(Hit(1014, 0).Connection(), c);
    EXPECT_FALSE(Hit(1016, 0)); // beyond the end by more than twice the width
}

TEST_F(PickingTest, ClicksChooseReduceAndToggle) {
    TVertex* a = V(-300, 0);
    TVertex* b = V(300, 0);
    EXPECT_TRUE(Click(-300, 0, TSelectMode::Replace));
    EXPECT_TRUE(Click(300, 0, TSelectMode::Extend));
    EXPECT_TRUE(Chosen(a) && Chosen(b));
    EXPECT_TRUE(Click(300, 0, TSelectMode::Extend)); // Shift on a chosen object removes it
    EXPECT_FALSE(Chosen(b));
    EXPECT_FALSE(Click(0, 0, TSelectMode::Extend)); // nothing hit: the selection stays
    EXPECT_TRUE(Chosen(a));
    Click(300, 0, TSelectMode::Extend);
    EXPECT_TRUE(Click(-300, 0, TSelectMode::Replace)); // a plain click leaves only that object
    EXPECT_TRUE(Chosen(a));
    EXPECT_FALSE(Chosen(b));
    EXPECT_FALSE(Click(0, 0, TSelectMode::Replace));
    EXPECT_TRUE(Engine.Choiced.Items.empty());
}

TEST_F(PickingTest, RubberBandCatchesObjectsAndTheirConnection) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    TConnection* c = C(ctVT, v, t);
    TVertex* outside = V(0, 600);
    Band(-150, -50, 150, 50);
    EXPECT_TRUE(Chosen(v) && Chosen(t) && Chosen(c));
    EXPECT_FALSE(Chosen(outside));
    // Touching only the outline, outside the square of half-side radius / 1.3, catches nothing.
    const int reach = 190 / 1.3; // 146
    Band(-100, 600 - 190, 100, 600 - reach - 2);
    EXPECT_TRUE(Engine.Choiced.Items.empty());
    Band(-100, 600 - 190, 100, 600 - reach + 1);
    EXPECT_TRUE(Chosen(outside));
    Band(-150, -50, 150, 50, TSelectMode::Extend); // Shift: added to the previous selection
    EXPECT_EQ(Engine.Choiced.Items.size(), 4u);
}

TEST_F(PickingTest, ConnectionToolMergesAndTogglesInformational) {
    TVertex* v = V(-300, 0);
    TTransition* t = T(300, 0);
    auto connect = [&](TEditMode mode) {
        Engine.Choiced.Items = {v};
        Engine.Picked.Items = {t};
        Engine.EditMode = mode;
        CreateAtPoint(Engine, 500, 150);
        EXPECT_EQ(Engine.EditMode, emIdle);
    };
    connect(emCreateInformConnection);
    ASSERT_EQ(Engine.Net.Connections.size(), 1u);
    TConnection* c = Engine.Net.Connections[0].get();
    EXPECT_TRUE(c->IsInform);
    connect(emCreateInformConnection);
    EXPECT_EQ(c->Count, 2);
    connect(
        emCreateConnection); // an ordinary one drawn over the informational one turns it ordinary
    EXPECT_FALSE(c->IsInform);
    EXPECT_EQ(c->Count, 2);
    connect(emCreateConnection);
    EXPECT_EQ(c->Count, 3);
    connect(emCreateInformConnection);
    EXPECT_TRUE(c->IsInform);
    EXPECT_EQ(c->Count, 3);
    EXPECT_EQ(Engine.Net.Connections.size(), 1u);

    // Empty canvas, or a vertex onto a vertex: nothing, and the mode ends.
    Engine.Picked.Items.clear();
    Engine.EditMode = emCreateConnection;
    CreateAtPoint(Engine, 0, 0);
    EXPECT_EQ(Engine.EditMode, emIdle);
    Engine.Picked.Items = {V(0, 0)};
    Engine.EditMode = emCreateConnection;
    CreateAtPoint(Engine, 0, 0);
    EXPECT_EQ(Engine.Net.Connections.size(), 1u);

    Engine.Choiced.Items = {t};
    Engine.Picked.Items = {v};
    Engine.EditMode = emCreateConnection;
    CreateAtPoint(Engine, 0, 0);
    EXPECT_EQ(Engine.Net.Connections.back()->ConnectionType, ctTV);
}

TEST_F(PickingTest, CreationModesPlaceNewObjectsWithTheBaseValues) {
    Engine.BaseVertexMark = 4;
    Engine.BaseTransitionDelay = 2.5;
    Engine.EditMode = emCreateVertex;
    CreateAtPoint(Engine, 210, 140);
    Engine.EditMode = emCreateTransition;
    CreateAtPoint(Engine, 190, 160);
    ASSERT_EQ(Engine.Net.Vertices.size(), 1u);
    EXPECT_EQ(Engine.Net.Vertices[0]->X, 10);
    EXPECT_EQ(Engine.Net.Vertices[0]->Marking, 4);
    EXPECT_EQ(Engine.Net.Transitions[0]->Delay, 2.5);
    EXPECT_EQ(Engine.Net.Transitions[0]->Y, 10);
}

TEST_F(PickingTest, ToolChecksNeedOneFittingChosenObject) {
    EXPECT_EQ(ConnectionToolRefusal(Engine, false), "Не вибрана початкова вершина чи перехід.");
    EXPECT_EQ(ConnectionToolRefusal(Engine, true), "Не вибрана початкова вершина.");
    Engine.Choiced.Items = {T(0, 0)};
    EXPECT_FALSE(ConnectionToolRefusal(Engine, false));
    EXPECT_TRUE(ConnectionToolRefusal(Engine, true));
}

TEST_F(PickingTest, DeletingTheChosenObjectsDeletesEachOnce) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    C(ctVT, v, t);
    TVertex* kept = V(0, 500);
    Band(-150, -50, 150, 50);
    ASSERT_EQ(Engine.Choiced.Items.size(), 3u);
    DeleteChosenObjects(Engine);
    EXPECT_TRUE(Engine.Net.Connections.empty());
    EXPECT_TRUE(Engine.Net.Transitions.empty());
    ASSERT_EQ(Engine.Net.Vertices.size(), 1u);
    EXPECT_EQ(Engine.Net.Vertices[0].get(), kept);
    EXPECT_TRUE(Engine.Choiced.Items.empty());
}

TEST_F(PickingTest, PickAndChoiceColoursFollowTheLists) {
    TVertex* v = V(0, 0);
    Engine.Graph.FrameTime = 1000;
    HoverPick(Engine, 200, 150);
    EXPECT_EQ(v->FillColor, Engine.Graph.Options.VertexPickColor1);
    Click(0, 0, TSelectMode::Replace);
    EXPECT_EQ(v->FillColor, Engine.Graph.Options.VertexChoiceColor1);
    HoverPick(Engine, 0, 0); // leaving a chosen object keeps its choice colour
    EXPECT_EQ(v->FillColor, Engine.Graph.Options.VertexChoiceColor1);
    Click(300, 300, TSelectMode::Replace);
    EXPECT_EQ(v->FillColor, Engine.Graph.Options.VertexAmbientColor1);
    EXPECT_EQ(v->FadeDuration, Engine.Graph.Options.VertexChoiceOffDelay);
}

} // namespace
