#include "Firing.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "Random.h"
#include "SimulationStep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class FiringTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.ShowMessage = [this](const std::string& message) { Messages.push_back(message); };
    }

    TVertex* V(const std::string& name, int marking) {
        return CreateVertex(Engine.Net, name, marking, 0, 0, &Engine.Graph.Options);
    }
    TTransition* T(const std::string& name, double delay) {
        return CreateTransition(Engine.Net, name, 0, delay, 0, &Engine.Graph.Options);
    }
    TConnection* In(TVertex* v, TTransition* t, int count = 1) {
        return CreateConnection(Engine.Net, ctVT, count, v, t, &Engine.Graph.Options);
    }
    TConnection* Out(TTransition* t, TVertex* v, int count = 1) {
        return CreateConnection(Engine.Net, ctTV, count, v, t, &Engine.Graph.Options);
    }
    TConnection* Formula(TConnection* c, const std::string& formula) {
        c->UseFunction = true;
        c->Formula = formula;
        return c;
    }
    bool Step(double span, bool conflict = true, int budget = NoTimeBudget) {
        return SimulationStep(Engine.Net, conflict, Engine.Net.ModelTime, span, false, Engine,
                              budget);
    }
    static int Pending(const TTransition* t) { return BufferCount(t->LaunchBuffer); }

    TEngine Engine;
    std::vector<std::string> Messages;
};

TEST_F(FiringTest, TransitionWithoutInputsNeverFires) {
    TVertex* p = V("P", 0);
    TTransition* source = T("Source", 1);
    Out(source, p);
    EXPECT_FALSE(IsTransitionEnabled(*source, Engine.Net));
    EXPECT_FALSE(Step(10));
    EXPECT_EQ(p->Marking, 0);
    EXPECT_EQ(Engine.Net.ModelTime, 10);
}

TEST_F(FiringTest, FormulaInputsOfZeroEnableNothingAloneAndConsumeNothing) {
    TVertex* p = V("P", 5);
    TVertex* q = V("Q", 1);
    TTransition* t = T("T", 1);
    Formula(In(p, t), "M(P)*0");
    EXPECT_FALSE(IsTransitionEnabled(*t, Engine.Net));
    In(q, t);
    ASSERT_TRUE(IsTransitionEnabled(*t, Engine.Net));
    StartMonitoring(*p, 0);
    LaunchTransition(*t, Engine.Net, 0, false, Engine);
    EXPECT_EQ(p->Marking, 5);
    EXPECT_EQ(q->Marking, 0);
    EXPECT_EQ(p->ChangeCount, 1); // the sample is recorded although nothing moved
}

TEST_F(FiringTest, FormulaIsEvaluatedAgainAtLaunchAfterEarlierInputsTookTokens) {
    TVertex* p = V("P", 4);
    TTransition* t = T("T", 1);
    In(p, t, 2);
    Formula(In(V("Q", 9), t), "M(P)*3"); // 12 needed at the test, 6 taken at the launch
    t->InConnections[1]->Vertex->Marking = 12;
    ASSERT_TRUE(IsTransitionEnabled(*t, Engine.Net));
    LaunchTransition(*t, Engine.Net, 0, false, Engine);
    EXPECT_EQ(p->Marking, 2);
    EXPECT_EQ(t->InConnections[1]->Vertex->Marking, 6);
}

TEST_F(FiringTest, DelayZeroChainRunsThroughAtOneInstant) {
    TVertex* a = V("A", 1);
    TVertex* b = V("B", 0);
    TVertex* c = V("C", 0);
    TTransition* ta = T("TA", 0);
    TTransition* tb = T("TB", 0);
    In(a, ta);
    Out(ta, b);
    In(b, tb);
    Out(tb, c, 2);
    EXPECT_FALSE(Step(0));
    EXPECT_EQ(c->Marking, 2);
    EXPECT_EQ(Engine.Net.ModelTime, 0);
}

TEST_F(FiringTest, InformationalInputTestsWithoutTaking) {
    TVertex* gate = V("Gate", 2);
    TVertex* work = V("Work", 1);
    TTransition* t = T("T", 5);
    In(gate, t, 2)->IsInform = true;
    In(work, t);
    EXPECT_FALSE(Step(1));
    EXPECT_EQ(gate->Marking, 2);
    EXPECT_EQ(work->Marking, 0);
    EXPECT_EQ(Pending(t), 1);
}

TEST_F(FiringTest, OverflowStopsTheRunInBothConflictModes) {
    for (bool conflict : {false, true}) {
        ClearNet(Engine.Net, &Engine);
        Messages.clear();
        TVertex* flag = V("Flag", 1);
        TTransition* runaway = T("Runaway", 10);
        In(flag, runaway)->IsInform = true;
        Engine.Net.ModelTime = 3;
        EXPECT_TRUE(Step(100, conflict)) << conflict;
        EXPECT_EQ(Pending(runaway), BufferOverflowLimit + 1);
        EXPECT_EQ(Engine.Net.ModelTime, 3);
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0], BufferOverflowMessage(*runaway));
        EXPECT_NE(Messages[0].find("переходу Runaway завеликий"), std::string::npos);
    }
}

// A ring of delay-0 transitions passing one token round: it fires for ever at one instant.
class EndlessInstantTest : public FiringTest {
protected:
    std::vector<TTransition*> Ring(int size) {
        std::vector<TVertex*> places;
        std::vector<TTransition*> ring;
        for (int k = 0; k < size; ++k)
            places.push_back(V("P" + std::to_string(k + 1), k == 0 ? 1 : 0));
        for (int k = 0; k < size; ++k) {
            ring.push_back(T("T" + std::to_string(k + 1), 0));
            In(places[static_cast<std::size_t>(k)], ring.back());
            Out(ring.back(), places[static_cast<std::size_t>((k + 1) % size)]);
        }
        return ring;
    }
    // Budgeted steps, as the editor makes them, until one stops the run; steps that never stop
    // give up once twice the limit of events has passed, however slow the machine.
    bool StepUntilStopped(bool conflict) {
        const std::uint64_t start = Engine.Net.EventCount;
        while (Engine.Net.EventCount - start < 2 * InstantEventLimit)
            if (Step(10, conflict, StepTimeBudget))
                return true;
        return false;
    }
};

TEST_F(EndlessInstantTest, DelayZeroCycleStopsJustPastTheLimitInBothConflictModes) {
    for (bool conflict : {false, true}) {
        ClearNet(Engine.Net, &Engine);
        Messages.clear();
        const std::vector<TTransition*> ring = Ring(3);
        TTransition* slow = T("Slow", 5); // launches at the instant too, but only once
        In(V("Once", 1), slow);
        Engine.Net.ModelTime = 2.5;
        const std::uint64_t before = Engine.Net.EventCount;
        ASSERT_TRUE(StepUntilStopped(conflict)) << conflict;
        const std::uint64_t events = Engine.Net.EventCount - before;
        EXPECT_GT(events, InstantEventLimit);
        EXPECT_LE(events, InstantEventLimit + 3 * InstantWatchEvents);
        EXPECT_EQ(Engine.Net.ModelTime, 2.5);
        EXPECT_EQ(Engine.Net.StopCause, rsEndlessInstant);
        EXPECT_EQ(Pending(slow), 1);
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0], EndlessInstantMessage(2.5, {ring[0], ring[1], ring[2]}));
        EXPECT_THAT(Messages[0], HasSubstr("в момент модельного часу 2.5 відбулося понад "
                                           "10000000 подій"));
        EXPECT_THAT(Messages[0], HasSubstr("у цей момент: T1, T2, T3."));
    }
}

TEST_F(EndlessInstantTest, StoppedRunGetsAWholeAllowanceAgainAndGoesOnOnceTheCycleIsBroken) {
    const std::vector<TTransition*> ring = Ring(2);
    ASSERT_TRUE(StepUntilStopped(true));
    // Started again unchanged, it fires as long again before it stops.
    std::uint64_t before = Engine.Net.EventCount;
    ASSERT_TRUE(StepUntilStopped(true));
    EXPECT_GT(Engine.Net.EventCount - before, InstantEventLimit);
    EXPECT_EQ(Messages.size(), 2u);
    // A delay on one of them lets time go on, with no stop left over from the count.
    ring[1]->Delay = 1;
    before = Engine.Net.EventCount;
    EXPECT_FALSE(Step(10, true, NoTimeBudget));
    EXPECT_EQ(Engine.Net.ModelTime, 10);
    EXPECT_LE(Engine.Net.EventCount - before, 50u);
    EXPECT_EQ(Messages.size(), 2u);
}

TEST_F(EndlessInstantTest, MessageNamesFiveTransitionsAtMost) {
    Ring(7);
    ASSERT_TRUE(StepUntilStopped(false));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_THAT(Messages[0], HasSubstr("у цей момент: T1, T2, T3, T4, T5, …. Задайте"));
    EXPECT_THAT(Messages[0], Not(HasSubstr("T6")));
}

TEST_F(EndlessInstantTest, ManyEventsAtManyInstantsNeverStop) {
    // Far more events than the limit in all, but few at each instant.
    TVertex* p = V("P", 1);
    TTransition* tick = T("Tick", 1e-3);
    In(p, tick);
    Out(tick, p);
    const std::uint64_t before = Engine.Net.EventCount;
    EXPECT_FALSE(Step(6000, true, NoTimeBudget));
    EXPECT_GT(Engine.Net.EventCount - before, InstantEventLimit);
    EXPECT_EQ(Engine.Net.ModelTime, 6000);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(FiringTest, ConflictOnStopsAtTheStartOfThePassAfterTheOverflow) {
    TVertex* flag = V("Flag", 1);
    TVertex* other = V("Other", 1);
    TTransition* runaway = T("Runaway", 10);
    TTransition* later = T("Later", 10);
    In(flag, runaway)->IsInform = true;
    In(other, later);
    EXPECT_TRUE(Step(1, true));
    // Later shares nothing with Runaway, which is first in every pass: it never launched.
    EXPECT_EQ(Pending(later), 0);
}

TEST_F(FiringTest, HigherPriorityWinsWhateverTheWeights) {
    TVertex* p = V("P", 10);
    TTransition* lo = T("Lo", 1);
    TTransition* hi = T("Hi", 1);
    lo->Priority = 3;
    lo->Weight = 100;
    hi->Priority = 5;
    hi->Weight = 1;
    In(p, lo);
    In(p, hi);
    Step(0);
    EXPECT_EQ(Pending(hi), 10);
    EXPECT_EQ(Pending(lo), 0);
}

TEST_F(FiringTest, WeightedDrawChoosesTheSecondWhenFourUIsAtLeastOne) {
    TVertex* p = V("P", 1);
    TTransition* left = T("Left", 1);
    TTransition* right = T("Right", 1);
    left->Weight = 1;
    right->Weight = 3;
    In(p, left);
    In(p, right);
    Engine.Random.Seed = 1; // next draw 0.0314: 4u < 1
    Step(0);
    EXPECT_EQ(Pending(left), 1);
    ClearLaunchBuffers(Engine.Net);
    p->Marking = 1;
    Engine.Random.Seed = 134775814; // next draw 0.861
    Step(0);
    EXPECT_EQ(Pending(right), 1);
}

TEST(ChooseCandidate, RemovesLowerPrioritiesFromTheEndAndDrawsOnce) {
    TTransition a, b, c, d, e;
    a.Priority = c.Priority = 1;
    b.Priority = d.Priority = e.Priority = 5;
    std::vector<TTransition*> list{&a, &b, &c, &d, &e};
    TRandom random{0}; // u is tiny; weights all 0: the first candidate
    EXPECT_EQ(ChooseCandidate(list, random), &d);
    EXPECT_EQ(list, (std::vector<TTransition*>{&d, &b, &e}));
    EXPECT_EQ(random.Seed, 1u);

    std::vector<TTransition*> two{&b, &d};
    random.Seed = 134775814; // u = 0.861 > 1/2
    EXPECT_EQ(ChooseCandidate(two, random), &d);

    std::vector<TTransition*> one{&a, &b};
    random.Seed = 7;
    EXPECT_EQ(ChooseCandidate(one, random), &b);
    EXPECT_EQ(random.Seed, 7u); // one left after the priorities: no draw
}

TEST(ChooseCandidate, PrioritiesBelowTheSearchStartStillChooseTheHighest) {
    TTransition low, lower;
    low.Priority = -1200000000;
    lower.Priority = -1500000000;
    std::vector<TTransition*> list{&lower, &low};
    TRandom random;
    EXPECT_EQ(ChooseCandidate(list, random), &low);
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(FiringTest, WithoutConflictCheckTheEarlierTransitionWins) {
    TVertex* p = V("P", 1);
    TTransition* first = T("First", 1);
    TTransition* second = T("Second", 1);
    second->Priority = 100;
    In(p, first);
    In(p, second);
    const std::uint32_t seed = Engine.Random.Seed;
    Step(0, false);
    EXPECT_EQ(Pending(first), 1);
    EXPECT_EQ(Pending(second), 0);
    EXPECT_EQ(Engine.Random.Seed, seed);
}

TEST_F(FiringTest, EqualCompletionTimesCompleteInArrayOrderBeforeAnyLaunch) {
    TVertex* a = V("A", 1);
    TVertex* b = V("B", 1);
    TVertex* pv = V("PV", 0);
    TTransition* t1 = T("T1", 2);
    TTransition* t2 = T("T2", 2);
    TTransition* t3 = T("T3", 1);
    In(a, t1);
    In(b, t2);
    Out(t1, pv);
    Formula(Out(t2, pv), "M(PV)*2"); // 2 when T1 came first, 0 otherwise
    In(pv, t3, 3);
    StartMonitoring(*pv, 0);
    Step(2);
    EXPECT_EQ(Pending(t3), 1); // launched once PV held 3
    EXPECT_EQ(pv->Marking, 0);
    EXPECT_EQ(pv->History.Count(), 2); // the sample at 2 merged all changes of the instant
    EXPECT_EQ(TokensAt(pv->History, 1), 3);
}

TEST_F(FiringTest, SpanEndingBetweenCompletionsStopsAtTheRoundedEnd) {
    TVertex* p = V("P", 2);
    TTransition* fast = T("Fast", 1);
    TTransition* slow = T("Slow", 5);
    In(p, fast);
    In(p, slow);
    Step(3, false);
    EXPECT_EQ(Engine.Net.ModelTime, 3);
    EXPECT_EQ(Pending(slow), 1);
    EXPECT_EQ(Pending(fast), 0);

    Engine.Net.ModelTime = 0.1;
    Step(0.2);
    EXPECT_EQ(Engine.Net.ModelTime, 0.3); // 0.1 + 0.2 put on the 1e-8 grid
}

TEST_F(FiringTest, BudgetEndsTheStepAtTheLastCompletedInstant) {
    TVertex* p = V("P", 1);
    TTransition* loop = T("Loop", 1);
    In(p, loop);
    Out(loop, p);
    Step(10, true, 0);
    EXPECT_EQ(Engine.Net.ModelTime, 1);
    EXPECT_EQ(Pending(loop), 0); // the launch at 1 is left to the next call
    Step(10);
    EXPECT_EQ(Engine.Net.ModelTime, 11);
}

TEST_F(FiringTest, FormulaFailingDuringARunMovesNothingButRecordsTheSample) {
    TVertex* p = V("P", 1);
    TVertex* out = V("Out", 0);
    TTransition* t = T("T", 1);
    In(p, t);
    Formula(Out(t, out), "M(Gone)");
    StartMonitoring(*out, 0);
    Step(2);
    EXPECT_EQ(out->Marking, 0);
    EXPECT_EQ(out->ChangeCount, 1);
    EXPECT_EQ(out->ReceivedTotal, 0);

    TTransition* u = T("U", 1);
    Formula(In(out, u), "M(Gone)+1");
    EXPECT_FALSE(IsTransitionEnabled(*u, Engine.Net));
}

TEST_F(FiringTest, FlashLightsTheConnectionsTokensPassThrough) {
    TVertex* p = V("P", 1);
    TTransition* t = T("T", 0);
    TConnection* in = In(p, t);
    TConnection* out = Out(t, V("Q", 0));
    SimulationStep(Engine.Net, true, 0, 0, true, Engine, NoTimeBudget);
    EXPECT_TRUE(in->IsFlashing);
    EXPECT_TRUE(out->IsFlashing);
    EXPECT_EQ(out->Color, Engine.Graph.Options.ConnectionFlashColor);
    EXPECT_EQ(out->FadeDuration, Engine.Graph.Options.ConnectionFlashOnDelay);
}

TEST_F(FiringTest, MarkingsWrapInsteadOfOverflowing) {
    TVertex* p = V("P", 1);
    TVertex* full = V("Full", INT_MAX);
    TTransition* t = T("T", 0);
    In(p, t);
    Out(t, full);
    Step(0);
    EXPECT_EQ(full->Marking, INT_MIN);
}

} // namespace
