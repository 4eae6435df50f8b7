#include "NetObjects.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

namespace {

class NetObjectsTest : public ::testing::Test {
protected:
    void SetUp() override { InitEngine(Engine); }

    TVertex* Vertex(const std::string& name = "") {
        return CreateVertex(Engine.Net, name, 0, 0, 0, &Engine.Graph.Options);
    }
    TTransition* Transition(const std::string& name = "") {
        return CreateTransition(Engine.Net, name, 0, 0, 0, &Engine.Graph.Options);
    }
    TConnection* Connect(TConnectionType type, TVertex* v, TTransition* t, int count = 1) {
        return CreateConnection(Engine.Net, type, count, v, t, &Engine.Graph.Options);
    }

    // Every Index equals its position and every connection is listed once at each end.
    void ExpectConsistent() {
        const TEngineNet& net = Engine.Net;
        for (std::size_t i = 0; i < net.Vertices.size(); ++i)
            EXPECT_EQ(net.Vertices[i]->Index, static_cast<int>(i));
        for (std::size_t i = 0; i < net.Transitions.size(); ++i)
            EXPECT_EQ(net.Transitions[i]->Index, static_cast<int>(i));
        std::size_t listed = 0;
        for (std::size_t i = 0; i < net.Connections.size(); ++i) {
            const TConnection* c = net.Connections[i].get();
            EXPECT_EQ(c->Index, static_cast<int>(i));
            const auto& atVertex =
                c->ConnectionType == ctVT ? c->Vertex->OutConnections : c->Vertex->InConnections;
            const auto& atTransition = c->ConnectionType == ctVT ? c->Transition->InConnections
                                                                 : c->Transition->OutConnections;
            EXPECT_EQ(std::count(atVertex.begin(), atVertex.end(), c), 1);
            EXPECT_EQ(std::count(atTransition.begin(), atTransition.end(), c), 1);
            EXPECT_EQ(c->Vertex, net.Vertices[c->Vertex->Index].get());
            EXPECT_EQ(c->Transition, net.Transitions[c->Transition->Index].get());
        }
        for (const auto& v : net.Vertices)
            listed += v->InConnections.size() + v->OutConnections.size();
        EXPECT_EQ(listed, net.Connections.size());
    }

    TEngine Engine;
};

TEST_F(NetObjectsTest, AutomaticNamesTakeTheFirstFreeNumberOfTheirKind) {
    EXPECT_EQ(Vertex()->Name, "P1");
    EXPECT_EQ(Transition()->Name, "T1");
    EXPECT_EQ(Vertex()->Name, "P2");
    DeleteVertex(Engine.Net, 0, &Engine);
    EXPECT_EQ(Vertex()->Name, "P1"); // the gap is filled again

    Transition("P3"); // transitions do not stop a vertex name
    EXPECT_EQ(Vertex()->Name, "P3");

    Vertex("p4"); // automatic names compare exactly
    EXPECT_EQ(Vertex()->Name, "P4");
}

TEST_F(NetObjectsTest, NewObjectsCopyTheirSizesAndColoursFromTheOptions) {
    Engine.Graph.Options.VertexRadius = 250;
    const TVertex* v = CreateVertex(Engine.Net, "A", 7, -10, 20, &Engine.Graph.Options);
    EXPECT_EQ(v->Radius, 250);
    EXPECT_EQ(v->LineWidth, 12);
    EXPECT_EQ(v->FillColor, 0xFFFFFFu);
    EXPECT_EQ(v->Marking, 7);
    EXPECT_EQ(v->X, -10);
    EXPECT_EQ(v->Y, 20);
    const TTransition* t = CreateTransition(Engine.Net, "", 5, 2.5, 6, &Engine.Graph.Options);
    EXPECT_EQ(t->Delay, 2.5);
    EXPECT_EQ(t->X, 5);
    EXPECT_EQ(t->Y, 6);
    EXPECT_EQ(t->Height, 200);
    const TVertex* bare = CreateVertex(Engine.Net, "", 0, 0, 0, nullptr);
    EXPECT_EQ(bare->Radius, 0);
}

TEST_F(NetObjectsTest, ConnectionOfTheSameTypeAndEndsMergesByAddingCounts) {
    TVertex* p = Vertex();
    TTransition* t = Transition();
    TConnection* first = Connect(ctVT, p, t);
    first->Formula = "kept";
    EXPECT_EQ(Connect(ctVT, p, t, 1), first);
    EXPECT_EQ(first->Count, 2);
    EXPECT_EQ(first->Formula, "kept");
    TConnection* back = Connect(ctTV, p, t);
    EXPECT_NE(back, first);
    EXPECT_EQ(Engine.Net.Connections.size(), 2u);
    EXPECT_EQ(p->OutConnections.size(), 1u);
    EXPECT_EQ(p->InConnections.size(), 1u);
    ExpectConsistent();
}

TEST_F(NetObjectsTest, DeletingMovesTheLastObjectIntoTheGap) {
    TVertex* a = Vertex();
    Vertex();
    TVertex* c = Vertex();
    DeleteVertex(Engine.Net, 0, &Engine);
    ASSERT_EQ(Engine.Net.Vertices.size(), 2u);
    EXPECT_EQ(Engine.Net.Vertices[0].get(), c);
    EXPECT_EQ(c->Index, 0);
    (void)a;
    ExpectConsistent();
}

TEST_F(NetObjectsTest, DeletingAVertexDeletesItsConnectionsAtBothEnds) {
    TVertex* p1 = Vertex();
    TVertex* p2 = Vertex();
    TTransition* t1 = Transition();
    TTransition* t2 = Transition();
    Connect(ctVT, p1, t1);
    Connect(ctTV, p1, t1);
    Connect(ctVT, p1, t2);
    TConnection* kept = Connect(ctTV, p2, t2);
    Connect(ctVT, p2, t1);

    Engine.Choiced.Items.push_back(Engine.Net.Connections[0].get());
    Engine.Choiced.Items.push_back(p1);
    Engine.Picked.Items.push_back(Engine.Net.Connections[2].get());
    DeleteVertex(Engine.Net, p1->Index, &Engine);

    EXPECT_EQ(Engine.Net.Connections.size(), 2u);
    EXPECT_EQ(t1->InConnections.size(), 1u);
    EXPECT_TRUE(t1->OutConnections.empty());
    EXPECT_TRUE(t2->InConnections.empty());
    EXPECT_EQ(t2->OutConnections, std::vector<TConnection*>{kept});
    EXPECT_TRUE(Engine.Choiced.Items.empty());
    EXPECT_TRUE(Engine.Picked.Items.empty());
    ExpectConsistent();

    DeleteTransition(Engine.Net, t1->Index, &Engine);
    EXPECT_EQ(Engine.Net.Connections.size(), 1u);
    EXPECT_TRUE(p2->OutConnections.empty());
    ExpectConsistent();
}

TEST_F(NetObjectsTest, DeletingAConnectionDetachesItFromBothEnds) {
    TVertex* p = Vertex();
    TTransition* t = Transition();
    Connect(ctVT, p, t);
    TConnection* second = Connect(ctTV, p, t);
    DeleteConnection(Engine.Net, 0, nullptr);
    EXPECT_TRUE(p->OutConnections.empty());
    EXPECT_TRUE(t->InConnections.empty());
    ASSERT_EQ(Engine.Net.Connections.size(), 1u);
    EXPECT_EQ(Engine.Net.Connections[0].get(), second);
    ExpectConsistent();
}

TEST_F(NetObjectsTest, DeletingAConnectionMovesTheLastOfEachEndIntoItsSlot) {
    TVertex* hub = Vertex();
    std::vector<TConnection*> out;
    for (int i = 0; i < 5; ++i)
        out.push_back(Connect(ctVT, hub, Transition()));
    TTransition* t0 = Engine.Net.Transitions[0].get();
    TConnection* back = Connect(ctTV, Vertex(), t0);
    DeleteConnection(Engine.Net, out[1]->Index, nullptr);
    EXPECT_EQ(hub->OutConnections, (std::vector<TConnection*>{out[0], out[4], out[2], out[3]}));
    DeleteConnection(Engine.Net, out[3]->Index, nullptr); // the last one
    EXPECT_EQ(hub->OutConnections, (std::vector<TConnection*>{out[0], out[4], out[2]}));
    DeleteConnection(Engine.Net, out[0]->Index, nullptr);
    EXPECT_EQ(hub->OutConnections, (std::vector<TConnection*>{out[2], out[4]}));
    EXPECT_EQ(t0->OutConnections, std::vector<TConnection*>{back});
    EXPECT_TRUE(t0->InConnections.empty());
    ExpectConsistent();
}

TEST_F(NetObjectsTest, ClearNetTakesEveryObjectOutOfThePickedAndChosenLists) {
    TVertex* p = Vertex();
    TTransition* t = Transition();
    TConnection* c = Connect(ctVT, p, t);
    Connect(ctTV, p, t);
    Engine.Choiced.Items = {t, c, p};
    Engine.Picked.Items = {c};
    ClearNet(Engine.Net, &Engine);
    EXPECT_TRUE(Engine.Choiced.Items.empty());
    EXPECT_TRUE(Engine.Picked.Items.empty());
    EXPECT_TRUE(Engine.Net.Connections.empty());
}

TEST_F(NetObjectsTest, ClearNetEmptiesEverythingAndResetsModelTime) {
    TVertex* p = Vertex();
    TTransition* t = Transition();
    Connect(ctVT, p, t);
    Engine.Net.ModelTime = 12.5;
    Engine.FileName = "net.kvl";
    ClearNet(Engine.Net, &Engine);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    EXPECT_TRUE(Engine.Net.Transitions.empty());
    EXPECT_TRUE(Engine.Net.Connections.empty());
    EXPECT_EQ(Engine.Net.ModelTime, 0);
    EXPECT_EQ(Engine.FileName, "net.kvl");
    NewNet(Engine);
    EXPECT_TRUE(Engine.FileName.empty());
}

TEST_F(NetObjectsTest, FindIgnoresLetterCaseCyrillicIncluded) {
    Vertex("P1");
    Vertex(Utf8ToWin1251("Черга"));
    Transition(Utf8ToWin1251("Ґрунт"));
    EXPECT_EQ(FindVertex(Engine.Net, "p1"), 0);
    EXPECT_EQ(FindVertex(Engine.Net, Utf8ToWin1251("ЧЕРГА")), 1);
    EXPECT_EQ(FindTransition(Engine.Net, Utf8ToWin1251("ґРУНТ")), 0);
    EXPECT_EQ(FindVertex(Engine.Net, Utf8ToWin1251("Ґрунт")), -1);
    EXPECT_EQ(FindTransition(Engine.Net, "P1"), -1);
}

TEST_F(NetObjectsTest, IsNameFreeAllowsOnlyTheObjectsOwnName) {
    TVertex* p1 = Vertex("P1");
    TTransition* t1 = Transition("T1");
    EXPECT_TRUE(IsNameFree(Engine.Net, p1, "p1"));
    EXPECT_FALSE(IsNameFree(Engine.Net, t1, "P1"));
    EXPECT_FALSE(IsNameFree(Engine.Net, p1, "t1"));
    EXPECT_FALSE(IsNameFree(Engine.Net, {}, "p1"));
    EXPECT_TRUE(IsNameFree(Engine.Net, {}, "P2"));
}

TEST_F(NetObjectsTest, MergedCountsWrapInsteadOfOverflowing) {
    TVertex* p = Vertex();
    TTransition* t = Transition();
    TConnection* c = Connect(ctVT, p, t, 2147483647);
    Connect(ctVT, p, t, 1);
    EXPECT_EQ(c->Count, -2147483647 - 1);
}

} // namespace
