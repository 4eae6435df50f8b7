#include "NetBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

class NetBufferTest : public ::testing::Test {
protected:
    void SetUp() override { InitEngine(Engine); }
    TVertex* V(const std::string& name, int x = 0) {
        return CreateVertex(Engine.Net, name, 3, x, 50, &Engine.Graph.Options);
    }
    void Choose(std::vector<TObjectRef> items) { Engine.Choiced.Items = std::move(items); }
    TEngine Engine;
};

TEST(SplitNameNumber, TakesTheLongestIntegerSuffix) {
    const auto check = [](const char* name, const char* prefix, const char* number) {
        const TNameNumber split = SplitNameNumber(name);
        EXPECT_EQ(split.Prefix, prefix) << name;
        EXPECT_EQ(split.Number, number) << name;
    };
    check("Queue7", "Queue", "7");
    check("Buffer", "Buffer", "");
    check("P12", "P", "12");
    check("A-5", "A", "-5");
    check("42", "", "42");
    check("x+", "x+", "");
    check("N99999999999", "N99", "999999999"); // the 32-bit range ends the suffix
}

TEST_F(NetBufferTest, PastedFragmentIsMovedRenamedAndConnected) {
    TVertex* p1 = V("P1", 100);
    TTransition* t1 = CreateTransition(Engine.Net, "T1", 400, 2.5, 50, &Engine.Graph.Options);
    t1->DelayType = dtUniform;
    t1->Deviation = 0.5;
    t1->Priority = 4;
    TConnection* c = CreateConnection(Engine.Net, ctVT, 2, p1, t1, &Engine.Graph.Options);
    c->UseFunction = true;
    c->Formula = "M(P1)";
    c->IsInform = true;
    Choose({p1, t1, c});
    CopyFragment(Engine, 0, 0);
    PasteFragment(Engine, 100, 0);

    ASSERT_EQ(Engine.Net.Vertices.size(), 2u);
    ASSERT_EQ(Engine.Net.Transitions.size(), 2u);
    ASSERT_EQ(Engine.Net.Connections.size(), 2u);
    const TVertex& v = *Engine.Net.Vertices[1];
    const TTransition& t = *Engine.Net.Transitions[1];
    const TConnection& pasted = *Engine.Net.Connections[1];
    EXPECT_EQ(v.Name, "P2");
    EXPECT_EQ(v.X, 200);
    EXPECT_EQ(v.Marking, 3);
    EXPECT_EQ(t.Name, "T2");
    EXPECT_EQ(t.X, 500);
    EXPECT_EQ(t.DelayType, dtUniform);
    EXPECT_EQ(t.Deviation, 0.5);
    EXPECT_EQ(t.Priority, 4);
    EXPECT_EQ(pasted.Vertex, &v);
    EXPECT_EQ(pasted.Transition, &t);
    EXPECT_EQ(pasted.Count, 2);
    EXPECT_EQ(pasted.Formula, "M(P1)");
    EXPECT_TRUE(pasted.UseFunction);
    EXPECT_TRUE(pasted.IsInform);
    ASSERT_EQ(Engine.Choiced.Items.size(), 3u); // the copies are the chosen objects now
    EXPECT_EQ(Engine.Choiced.Items[0].Vertex(), &v);

    PasteFragment(Engine, 200, 0); // a second, independent copy
    EXPECT_EQ(Engine.Net.Vertices[2]->Name, "P3");
    EXPECT_EQ(Engine.Net.Vertices[2]->X, 300);
    EXPECT_EQ(Engine.Net.Connections.size(), 3u);
}

TEST_F(NetBufferTest, PastedCopyKeepsEveryStoredField) {
    TVertex* p = V("P1", 10);
    p->Radius = 210;
    p->LineWidth = 3;
    p->NameFontSize = 70;
    p->MarkFontSize = 60;
    TTransition* t = CreateTransition(Engine.Net, "T1", 20, 0.8, 30, &Engine.Graph.Options);
    t->Deviation = 0.125; // kept although a fixed delay does not write it to the file
    t->Priority = -3;
    t->Weight = 2.75;
    t->Width = 15;
    t->Height = 220;
    t->NameFontSize = 91;
    t->DelayFontSize = 92;
    TConnection* c = CreateConnection(Engine.Net, ctTV, 5, p, t, &Engine.Graph.Options);
    c->Formula = "M(P1)"; // kept although the connection does not count by it
    c->Width = 11;
    c->Width1 = 12;
    c->Height1 = 55;
    c->CountFontSize = 81;
    Choose({p, t, c});
    CopyFragment(Engine, 0, 0);
    PasteFragment(Engine, 1, 2);

    const TVertex& v2 = *Engine.Net.Vertices[1];
    EXPECT_EQ(v2.Marking, 3);
    EXPECT_EQ(v2.X, 11);
    EXPECT_EQ(v2.Y, 52);
    EXPECT_EQ(v2.Radius, 210);
    EXPECT_EQ(v2.LineWidth, 3);
    EXPECT_EQ(v2.NameFontSize, 70);
    EXPECT_EQ(v2.MarkFontSize, 60);
    EXPECT_FALSE(v2.IsMonitoring);
    const TTransition& t2 = *Engine.Net.Transitions[1];
    EXPECT_EQ(t2.DelayType, dtDefault);
    EXPECT_EQ(t2.Delay, 0.8);
    EXPECT_EQ(t2.Deviation, 0.125);
    EXPECT_EQ(t2.Priority, -3);
    EXPECT_EQ(t2.Weight, 2.75);
    EXPECT_EQ(t2.X, 21);
    EXPECT_EQ(t2.Y, 32);
    EXPECT_EQ(t2.Width, 15);
    EXPECT_EQ(t2.Height, 220);
    EXPECT_EQ(t2.NameFontSize, 91);
    EXPECT_EQ(t2.DelayFontSize, 92);
    const TConnection& c2 = *Engine.Net.Connections[1];
    EXPECT_EQ(c2.ConnectionType, ctTV);
    EXPECT_EQ(c2.Count, 5);
    EXPECT_FALSE(c2.UseFunction);
    EXPECT_FALSE(c2.IsInform);
    EXPECT_EQ(c2.Formula, "M(P1)");
    EXPECT_EQ(c2.Width, 11);
    EXPECT_EQ(c2.Width1, 12);
    EXPECT_EQ(c2.Height1, 55);
    EXPECT_EQ(c2.CountFontSize, 81);
    EXPECT_EQ(v2.InConnections, std::vector<TConnection*>{Engine.Net.Connections[1].get()});
    EXPECT_EQ(t2.OutConnections, std::vector<TConnection*>{Engine.Net.Connections[1].get()});
}

TEST_F(NetBufferTest, PastedConnectionJoinsThePastedEndsAlsoAfterTheNetIsCleared) {
    TVertex* a = V("A");
    TVertex* b = V("B");
    TTransition* t = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    TConnection* c = CreateConnection(Engine.Net, ctVT, 4, b, t, nullptr);
    // B is buffered first, so its place in the buffer differs from its place in the net.
    Choose({b, a, t, c});
    CopyFragment(Engine, 0, 0);
    PasteFragment(Engine, 0, 0);
    ASSERT_EQ(Engine.Net.Connections.size(), 2u);
    EXPECT_EQ(Engine.Net.Connections[1]->Vertex, Engine.Net.Vertices[2].get());
    EXPECT_EQ(Engine.Net.Vertices[2]->Name, "B1");
    EXPECT_EQ(Engine.Net.Connections[1]->Transition, Engine.Net.Transitions[1].get());

    ClearNet(Engine.Net, &Engine);
    PasteFragment(Engine, 0, 0);
    ASSERT_EQ(Engine.Net.Connections.size(), 1u);
    const TConnection& pasted = *Engine.Net.Connections[0];
    EXPECT_EQ(pasted.Vertex, Engine.Net.Vertices[0].get());
    EXPECT_EQ(pasted.Vertex->Name, "B1");
    EXPECT_EQ(pasted.Transition, Engine.Net.Transitions[0].get());
    EXPECT_EQ(pasted.Count, 4);
}

TEST_F(NetBufferTest, NamesContinueFromTheirNumber) {
    TVertex* queue = V("Queue7");
    TVertex* buffer = V("Buffer");
    TVertex* p12 = V("P12");
    Choose({queue, buffer, p12});
    CopyFragment(Engine, 0, 0);
    PasteFragment(Engine, 0, 0);
    EXPECT_EQ(Engine.Net.Vertices[3]->Name, "Queue8");
    EXPECT_EQ(Engine.Net.Vertices[4]->Name, "Buffer1");
    EXPECT_EQ(Engine.Net.Vertices[5]->Name, "P1"); // the automatic name
    PasteFragment(Engine, 0, 0);
    EXPECT_EQ(Engine.Net.Vertices[6]->Name, "Queue9");
    EXPECT_EQ(Engine.Net.Vertices[7]->Name, "Buffer2");
}

TEST_F(NetBufferTest, MonitoredVertexIsPastedMonitoredFromTheCurrentTime) {
    TVertex* p = V("Store");
    StartMonitoring(*p, 0);
    Choose({p});
    CopyFragment(Engine, 0, 0);
    Engine.Net.ModelTime = 12;
    PasteFragment(Engine, 0, 0);
    const TVertex& copy = *Engine.Net.Vertices[1];
    EXPECT_TRUE(copy.IsMonitoring);
    ASSERT_EQ(copy.History.Count(), 1);
    EXPECT_EQ(copy.History.Samples[0].Time, 12);
    EXPECT_EQ(copy.History.Samples[0].Value, 3);
}

TEST_F(NetBufferTest, ConnectionWithoutBothEndsChosenIsLeftOut) {
    TVertex* p = V("P1");
    TTransition* t = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    TConnection* c = CreateConnection(Engine.Net, ctVT, 1, p, t, nullptr);
    Choose({p, c});
    CopyFragment(Engine, 0, 0);
    EXPECT_TRUE(Engine.NetBuffer.Connections.empty());
    PasteFragment(Engine, 0, 0);
    EXPECT_EQ(Engine.Net.Connections.size(), 1u);

    // The buffer holds values: it survives clearing the net.
    ClearNet(Engine.Net, &Engine);
    PasteFragment(Engine, 0, 0);
    EXPECT_EQ(Engine.Net.Vertices.size(), 1u);
    EXPECT_EQ(Engine.Net.Vertices[0]->Name, "P1");
}

} // namespace

// Pasted names against the first way they were chosen, one object at a time: each new object
// first takes the first "P<n>" ("T<n>") that no object of its array bears exactly; unless its
// buffered prefix is that letter, it is then renamed to its prefix with the first number, from
// its buffered one on, that no vertex or transition bears in any letter case, itself included.
class PastedNamesTest : public NetBufferTest {
protected:
    static std::string FirstAutomatic(const std::vector<std::string>& names, const char* letter) {
        for (long n = 1;; ++n) {
            const std::string candidate = letter + std::to_string(n);
            if (std::find(names.begin(), names.end(), candidate) == names.end())
                return candidate;
        }
    }

    static void OneByOne(std::vector<std::string>& own, const std::vector<std::string>& other,
                         const std::string& buffered, const char* letter) {
        own.push_back(FirstAutomatic(own, letter));
        const TNameNumber split = SplitNameNumber(buffered);
        if (split.Prefix == letter)
            return;
        long long n = split.Number.empty() ? 1 : std::stoll(split.Number);
        const auto taken = [&](const std::string& name) {
            const auto same = [&](const std::string& existing) {
                return SameText1251(existing, name);
            };
            return std::any_of(own.begin(), own.end(), same) ||
                   std::any_of(other.begin(), other.end(), same);
        };
        while (taken(split.Prefix + std::to_string(n)))
            ++n;
        own.back() = split.Prefix + std::to_string(n);
    }

    // Chooses every object, copies and pastes twice, and compares with the one-by-one names.
    void ExpectPastedNamesAsOneByOne() {
        std::vector<std::string> vertices;
        std::vector<std::string> transitions;
        std::vector<TObjectRef> chosen;
        for (const auto& v : Engine.Net.Vertices) {
            vertices.push_back(v->Name);
            chosen.push_back(v.get());
        }
        for (const auto& t : Engine.Net.Transitions) {
            transitions.push_back(t->Name);
            chosen.push_back(t.get());
        }
        const std::vector<std::string> bufferedVertices = vertices;
        const std::vector<std::string> bufferedTransitions = transitions;
        Choose(chosen);
        CopyFragment(Engine, 0, 0);
        for (int paste = 0; paste < 2; ++paste) {
            PasteFragment(Engine, 10, 10);
            for (const std::string& name : bufferedVertices)
                OneByOne(vertices, transitions, name, "P");
            for (const std::string& name : bufferedTransitions)
                OneByOne(transitions, vertices, name, "T");
        }
        ASSERT_EQ(Engine.Net.Vertices.size(), vertices.size());
        ASSERT_EQ(Engine.Net.Transitions.size(), transitions.size());
        for (std::size_t i = 0; i < vertices.size(); ++i)
            EXPECT_EQ(Engine.Net.Vertices[i]->Name, vertices[i]) << "vertex " << i;
        for (std::size_t i = 0; i < transitions.size(); ++i)
            EXPECT_EQ(Engine.Net.Transitions[i]->Name, transitions[i]) << "transition " << i;
    }

    void T(const std::string& name) {
        CreateTransition(Engine.Net, name, 0, 1, 0, &Engine.Graph.Options);
    }
};

TEST_F(PastedNamesTest, GapsLeadingZerosCaseAndSignsNameAsOneByOne) {
    for (const char* name : {"P1", "P3", "p2", "P007", "P", "Q1", "q2", "Q3", "x-1", "x0", "A+4",
                             "N99999999999", "N999999999", "T7"})
        V(name);
    for (const char* name : {"t1", "T2", "T5", "P4", "q4", "Q", "T", "x1", "2147483647", "M"})
        T(name);
    ExpectPastedNamesAsOneByOne();
}

TEST_F(PastedNamesTest, AutomaticNameOfTheNewObjectCountsAsTaken) {
    // The new vertex bears "P1" while its name "p1" is looked for, so it becomes "p2".
    V("p1");
    T("P9");
    ExpectPastedNamesAsOneByOne();
    EXPECT_EQ(Engine.Net.Vertices[1]->Name, "p2");
}

TEST_F(PastedNamesTest, RandomNetsNameAsOneByOne) {
    std::mt19937 random(20261208);
    const char* const prefixes[] = {"P", "p", "T", "t", "Q", "q", "", "Q-", "R0"};
    const char* const numbers[] = {"", "1", "2", "3", "01", "0", "-1", "+2", "4294967297"};
    for (int net = 0; net < 40; ++net) {
        ClearNet(Engine.Net, &Engine);
        const int count = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            const std::string name = std::string(prefixes[random() % std::size(prefixes)]) +
                                     numbers[random() % std::size(numbers)];
            if (random() % 2 == 0)
                V(name);
            else
                T(name);
        }
        SCOPED_TRACE("net " + std::to_string(net));
        ExpectPastedNamesAsOneByOne();
    }
}
