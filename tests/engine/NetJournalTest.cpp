// Undoing and redoing the edits a journal records gives back the net exactly: the same file
// bytes, the same objects at the same positions, the same connection order at every end.
#include "NetJournal.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "RunControl.h"
#include "SimulationStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace {

// Everything the file does not show but the firing rule and the pointers depend on: which
// object stands where, and the order of the connections at each end.
std::string Structure(const TEngineNet& net) {
    std::ostringstream out;
    auto ends = [&](const std::vector<TConnection*>& list) {
        for (const TConnection* c : list)
            out << c->Index << ',';
        out << ';';
    };
    for (std::size_t i = 0; i < net.Vertices.size(); ++i) {
        const TVertex& v = *net.Vertices[i];
        out << 'v' << i << '=' << v.Index << '@' << &v << ':';
        ends(v.InConnections);
        ends(v.OutConnections);
    }
    for (std::size_t i = 0; i < net.Transitions.size(); ++i) {
        const TTransition& t = *net.Transitions[i];
        out << 't' << i << '=' << t.Index << '@' << &t << ':';
        ends(t.InConnections);
        ends(t.OutConnections);
    }
    for (std::size_t i = 0; i < net.Connections.size(); ++i)
        out << 'c' << i << '=' << net.Connections[i]->Index << '@' << net.Connections[i].get();
    return out.str();
}

std::string State(const TEngineNet& net) {
    return NetText(net) + "\n" + Structure(net);
}

class NetJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        // Connections interleaved over the ends, so that their end arrays hold them out of order.
        for (int i = 0; i < 4; ++i)
            CreateVertex(Engine.Net, "", i, 10 * i, 0, &Engine.Graph.Options);
        for (int i = 0; i < 3; ++i)
            CreateTransition(Engine.Net, "", 10 * i, 1.5, 50, &Engine.Graph.Options);
        const int links[][3] = {{0, 0, ctVT}, {1, 0, ctVT}, {0, 1, ctTV}, {2, 1, ctVT},
                                {3, 2, ctTV}, {0, 2, ctVT}, {2, 0, ctTV}, {1, 2, ctTV}};
        for (const auto& [v, t, type] : links)
            CreateConnection(Engine.Net, static_cast<TConnectionType>(type), 1 + v,
                             Engine.Net.Vertices[v].get(), Engine.Net.Transitions[t].get(),
                             &Engine.Graph.Options);
    }

    // Makes the edit, then checks undo, redo and undo again against the states around it.
    template <typename Edit> void ExpectReversible(Edit edit) {
        const std::string before = State(Engine.Net);
        TNetJournal journal;
        edit(journal);
        const std::string after = State(Engine.Net);
        ASSERT_FALSE(journal.Empty());
        ASSERT_NE(after, before);
        journal.Undo(Engine);
        EXPECT_EQ(State(Engine.Net), before);
        journal.Redo(Engine);
        EXPECT_EQ(State(Engine.Net), after);
        journal.Undo(Engine);
        EXPECT_EQ(State(Engine.Net), before);
    }

    // Tokens enough for every transition to keep firing.
    void Fill() {
        for (auto& v : Engine.Net.Vertices)
            v->Marking = 1000;
    }
    TVertex& V(int i) { return *Engine.Net.Vertices[i]; }
    TTransition& T(int i) { return *Engine.Net.Transitions[i]; }

    TEngine Engine;
};

TEST_F(NetJournalTest, EveryDeletionComesBackWhereItWas) {
    for (int i = 0; i < 4; ++i)
        ExpectReversible([&](TNetJournal& j) { j.Delete(Engine, &V(i)); });
    for (int i = 0; i < 3; ++i)
        ExpectReversible([&](TNetJournal& j) { j.Delete(Engine, &T(i)); });
    for (int i = 0; i < 8; ++i)
        ExpectReversible(
            [&](TNetJournal& j) { j.Delete(Engine, Engine.Net.Connections[i].get()); });
    ExpectReversible([&](TNetJournal& j) {
        j.Delete(Engine, &V(1));
        j.Delete(Engine, &T(0));
        j.Delete(Engine, Engine.Net.Connections[1].get());
        j.Delete(Engine, &V(0));
    });
    ExpectReversible([&](TNetJournal& j) { j.ClearNet(Engine); });
}

TEST_F(NetJournalTest, CreationsAndFieldChangesAndMovesReverse) {
    ExpectReversible([&](TNetJournal& j) {
        const TNetSizes before = SizesOf(Engine.Net);
        TVertex* v = CreateVertex(Engine.Net, "", 7, 1, 2, &Engine.Graph.Options);
        TTransition* t = CreateTransition(Engine.Net, "", 3, 2.0, 4, &Engine.Graph.Options);
        CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
        CreateConnection(Engine.Net, ctTV, 2, &V(0), t, &Engine.Graph.Options);
        j.AddedSince(Engine.Net, before);
    });
    ExpectReversible([&](TNetJournal& j) {
        ChangeFields<TTransition>(j, Engine, T(1), [](TTransition& t) {
            t.Name = "Serve";
            t.DelayType = dtUniform;
            t.Deviation = 0.25;
        });
        ChangeFields<TConnection>(j, Engine, *Engine.Net.Connections[3],
                                  [](TConnection& c) { c.Count = 9; });
    });
    ExpectReversible([&](TNetJournal& j) {
        V(2).X += 5;
        T(0).X += 5;
        V(2).Y -= 3;
        T(0).Y -= 3;
        j.Moved({&V(2), &T(0)}, 5, -3);
    });
}

TEST_F(NetJournalTest, OnlyTheMarkedFieldsAreWritten) {
    // The dialog showed marking 0; the run has moved it to 4 since. Renaming leaves it at 4.
    TVertex shown = StoredCopy(V(0));
    V(0).Marking = 4;
    TVertex edited = shown;
    edited.Name = "Buffer";
    TNetJournal journal;
    journal.SetFields(Engine, V(0), edited, ChangedFields(shown, edited));
    EXPECT_EQ(V(0).Name, "Buffer");
    EXPECT_EQ(V(0).Marking, 4);
    V(0).Marking = 6;
    journal.Undo(Engine);
    EXPECT_EQ(V(0).Name, "P1");
    EXPECT_EQ(V(0).Marking, 6);
}

TEST_F(NetJournalTest, MonitoringSwitchedOffComesBackWithItsStatisticsWhenTheRunStood) {
    Fill();
    StartMonitoring(V(0), 0);
    SimulationStep(Engine.Net, false, 0, 20, false, Engine, NoTimeBudget);
    const std::size_t samples = V(0).History.Samples.size();
    const std::int32_t changes = V(0).ChangeCount;
    ASSERT_GT(changes, 0);
    TNetJournal journal;
    ChangeFields<TVertex>(journal, Engine, V(0), [](TVertex& v) { v.IsMonitoring = false; });
    EXPECT_FALSE(V(0).IsMonitoring);
    EXPECT_TRUE(V(0).History.Samples.empty());
    EXPECT_EQ(V(0).ChangeCount, 0);
    journal.Undo(Engine);
    EXPECT_TRUE(V(0).IsMonitoring);
    EXPECT_EQ(V(0).History.Samples.size(), samples);
    EXPECT_EQ(V(0).ChangeCount, changes);

    // Once the run has gone on, the statistics start afresh at the time of the undo.
    journal.Redo(Engine);
    SimulationStep(Engine.Net, false, Engine.Net.ModelTime, 5, false, Engine, NoTimeBudget);
    journal.Undo(Engine);
    ASSERT_TRUE(V(0).IsMonitoring);
    ASSERT_EQ(V(0).History.Samples.size(), 1u);
    EXPECT_EQ(V(0).History.Samples[0].Time, Engine.Net.ModelTime);
    EXPECT_EQ(V(0).ChangeCount, 0);
}

TEST_F(NetJournalTest, StatisticsKeptAsideDoNotOutliveAClearedRunHistory) {
    StartMonitoring(V(0), 0);
    TNetJournal journal;
    ChangeFields<TVertex>(journal, Engine, V(0), [](TVertex& v) { v.IsMonitoring = false; });
    ClearRunHistory(Engine); // at model time 0 with no events: only the reset tells
    journal.Undo(Engine);
    ASSERT_TRUE(V(0).IsMonitoring);
    EXPECT_EQ(V(0).History.Count(), 1);
    EXPECT_EQ(V(0).ChangeCount, 0);
}

TEST_F(NetJournalTest, ATransitionBackAfterTheRunMovedDropsItsPastLaunches) {
    Fill();
    StartMonitoring(T(0), 0);
    SimulationStep(Engine.Net, false, 0, 0.5, false, Engine, NoTimeBudget);
    ASSERT_GT(BufferCount(T(0).LaunchBuffer), 0);
    TTransition* t = &T(0);
    TNetJournal journal;
    journal.Delete(Engine, t);
    SimulationStep(Engine.Net, false, Engine.Net.ModelTime, 10, false, Engine, NoTimeBudget);
    journal.Undo(Engine);
    EXPECT_EQ(BufferCount(t->LaunchBuffer), 0);
    ASSERT_EQ(t->History.Samples.size(), 1u);
    EXPECT_EQ(t->History.Samples[0].Time, Engine.Net.ModelTime);
    // The run goes on over the restored net without going back in time.
    const double now = Engine.Net.ModelTime;
    SimulationStep(Engine.Net, false, now, 10, false, Engine, NoTimeBudget);
    EXPECT_GE(Engine.Net.ModelTime, now);
}

TEST_F(NetJournalTest, AMarkingGivenToAMonitoredVertexEntersItsHistory) {
    StartMonitoring(V(1), 0);
    Engine.Net.ModelTime = 3;
    TNetJournal journal;
    ChangeFields<TVertex>(journal, Engine, V(1), [](TVertex& v) { v.Marking = 9; });
    EXPECT_EQ(V(1).History.Samples.back().Value, 9);
    EXPECT_EQ(V(1).MaxMarking, 9);
    journal.Undo(Engine);
    EXPECT_EQ(V(1).Marking, 1);
    EXPECT_EQ(V(1).History.Samples.back().Value, 1);
}

// A long chain of random edits, each in its own journal, undone to the start and redone to the
// end: any step that restores a position or an end order wrongly shows up in the states.
TEST_F(NetJournalTest, LongRandomChainsUndoAndRedoToTheSameStates) {
    std::mt19937 random(7);
    auto pick = [&](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    };
    std::vector<TNetJournal> journals;
    std::vector<std::string> states{State(Engine.Net)};
    for (int step = 0; step < 300; ++step) {
        TNetJournal j;
        TEngineNet& net = Engine.Net;
        switch (random() % 5) {
        case 0:
        case 1: {
            const TNetSizes before = SizesOf(net);
            if (random() % 2 == 0 || net.Transitions.empty())
                CreateVertex(net, "", 1, 0, 0, &Engine.Graph.Options);
            else
                CreateTransition(net, "", 0, 1.0, 0, &Engine.Graph.Options);
            // A connection that exists already would only gain count: the journal records
            // that as a field change, so only new pairs are linked here.
            if (!net.Vertices.empty() && !net.Transitions.empty()) {
                TVertex* v = net.Vertices[pick(net.Vertices.size())].get();
                TTransition* t = net.Transitions[pick(net.Transitions.size())].get();
                const TConnectionType type = random() % 2 ? ctVT : ctTV;
                const auto& out = type == ctVT ? v->OutConnections : t->OutConnections;
                const bool linked = std::any_of(out.begin(), out.end(), [&](TConnection* c) {
                    return c->ConnectionType == type && c->Vertex == v && c->Transition == t;
                });
                if (!linked)
                    CreateConnection(net, type, 1, v, t, &Engine.Graph.Options);
            }
            j.AddedSince(net, before);
            break;
        }
        case 2:
            if (!net.Connections.empty())
                j.Delete(Engine, net.Connections[pick(net.Connections.size())].get());
            break;
        case 3:
            if (!net.Vertices.empty())
                j.Delete(Engine, net.Vertices[pick(net.Vertices.size())].get());
            else if (!net.Transitions.empty())
                j.Delete(Engine, net.Transitions[pick(net.Transitions.size())].get());
            break;
        default:
            if (!net.Vertices.empty()) {
                TVertex& v = *net.Vertices[pick(net.Vertices.size())];
                ChangeFields<TVertex>(j, Engine, v, [step](TVertex& copy) {
                    copy.Marking += step;
                    copy.X -= step;
                });
            }
            break;
        }
        if (j.Empty())
            continue;
        journals.push_back(std::move(j));
        states.push_back(State(Engine.Net));
    }
    ASSERT_GT(journals.size(), 200u);
    for (std::size_t i = journals.size(); i-- > 0;) {
        journals[i].Undo(Engine);
        ASSERT_TRUE(State(Engine.Net) == states[i]) << "undoing edit " << i;
    }
    for (std::size_t i = 0; i < journals.size(); ++i) {
        journals[i].Redo(Engine);
        ASSERT_TRUE(State(Engine.Net) == states[i + 1]) << "redoing edit " << i;
    }
}

} // namespace
