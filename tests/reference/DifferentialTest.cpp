// The engine's simulation step against the literal one, on random nets. Both sides start from
// the same net, settings and generator seed and must end with the same report, messages,
// counters, history samples (bit for bit) and launch-buffer contents (as multisets: the engine
// may keep the entries in another order). A third side runs the engine with compaction off: its
// statistics must equal the compacted run's bit for bit, and the walk over its samples.
#include "Comparison.h"
#include "DifferentialCases.h"
#include "RandomNet.h"
#include "ReferenceEngine.h"

#include "Firing.h"
#include "History.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "SimReport.h"
#include "SimRun.h"
#include "SimulationStep.h"
#include "Statistics.h"
#include "StatisticsComparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Events after which a run is cut short: the literal step rescans every transition per launch.
constexpr std::uint64_t kEventBudget = 10000;
constexpr std::uint64_t kLargeEventBudget = 20000;

// Small normals make compaction frequent; 0 and below switch it off.
std::int32_t DrawNormal(TTestRandom& random) {
    return DrawChance(random, 0.7) ? DrawInteger(random, 1, 50) : DrawOneOf(random, {0, -3, 2000});
}

// Whole intervals let completions fall exactly on the end; every end lies on the time grid.
double DrawInterval(TTestRandom& random) {
    if (DrawChance(random, 0.3))
        return DrawChance(random, 0.2) ? 0 : DrawInteger(random, 1, 30);
    return RoundToTimeGrid(DrawReal(random, 0, 60));
}

// Everything about a case derives from its seed, the net's seed as well.
struct TCase {
    std::uint64_t Seed = 0;
    TRandomNetKind Kind = TRandomNetKind::Small;
    bool ConflictCheck = true;
    bool VertexSimple = true;
    std::int32_t VertexNormal = 2000;
    bool TransitionSimple = true;
    std::int32_t TransitionNormal = 2000;
    std::uint32_t GeneratorSeed = 0;
    double Interval = 0;
    double WarmUpShare = 0; // the warm-up as a share of the interval
};

TCase DrawCase(std::uint64_t seed) {
    TTestRandom random(seed ^ 0x9e3779b97f4a7c15u);
    TCase c;
    c.Seed = seed;
    c.Kind = seed % 53 == 7   ? TRandomNetKind::Overflowing
             : seed % 37 == 3 ? TRandomNetKind::Large
                              : TRandomNetKind::Small;
    c.ConflictCheck = DrawChance(random, 0.5);
    c.VertexSimple = DrawChance(random, 0.8);
    c.VertexNormal = DrawNormal(random);
    c.TransitionSimple = DrawChance(random, 0.8);
    c.TransitionNormal = DrawNormal(random);
    c.GeneratorSeed = static_cast<std::uint32_t>(random());
    c.Interval = DrawInterval(random);
    c.WarmUpShare = DrawOneOf(random, {0.0, 1.0, DrawReal(random, 0, 1), DrawReal(random, 0, 1)});
    return c;
}

const char* KindName(TRandomNetKind kind) {
    const char* const names[] = {"small", "large", "overflowing"};
    return names[static_cast<int>(kind)];
}

std::string Failure(const TCase& c, const std::string& what, const std::string& difference) {
    TEngineNet net;
    BuildRandomNet(net, c.Seed, c.Kind);
    return "case seed " + std::to_string(c.Seed) + ", " + KindName(c.Kind) +
           " net, conflict check " + (c.ConflictCheck ? "on" : "off") + ", vertex histories " +
           (c.VertexSimple ? "compacted" : "whole") + " normal " + std::to_string(c.VertexNormal) +
           ", transition histories " + (c.TransitionSimple ? "compacted" : "whole") + " normal " +
           std::to_string(c.TransitionNormal) + ", generator seed " +
           std::to_string(c.GeneratorSeed) + ", " + what +
           "\nfirst difference (engine against literal step): " + difference +
           "\nthe net as built:\n" + DescribeNet(net);
}

// One engine with the net of a case, its generator seeded from the case, and what it told the
// user.
struct TSide {
    TSide(const TCase& c, double warmUp) : Engine(std::make_unique<TEngine>()) {
        InitEngine(*Engine);
        Engine->Random.Seed = c.GeneratorSeed;
        Engine->Graph.FrameTime = 0; // flashes stamp the frame time
        Engine->ShowMessage = [this](const std::string& message) { Messages.push_back(message); };
        Engine->ConflictCheck = c.ConflictCheck;
        Engine->DoVertexHistorySimple = c.VertexSimple;
        Engine->VertexHistoryNormal = c.VertexNormal;
        Engine->DoTransitionHistorySimple = c.TransitionSimple;
        Engine->TransitionHistoryNormal = c.TransitionNormal;
        Engine->WarmUpInterval = warmUp;
        Traits = BuildRandomNet(Engine->Net, c.Seed, c.Kind);
    }
    TSide(const TSide&) = delete;

    TEngineNet& Net() { return Engine->Net; }

    void RunWhole(double interval, TStepFunction step) {
        Overflowed = RunWholeInterval(*Engine, interval, step) != rsNone;
    }

    void RunSpan(double span, TStepFunction step, bool flash) {
        Overflowed =
            step(Net(), Engine->ConflictCheck, Net().ModelTime, span, flash, *Engine, NoTimeBudget);
    }

    std::unique_ptr<TEngine> Engine;
    std::vector<std::string> Messages;
    bool Overflowed = false;
    TRandomNetTraits Traits;
};

std::string Joined(const std::vector<std::string>& messages) {
    std::string text;
    for (const std::string& message : messages)
        text += message + "|";
    return text;
}

std::string FirstDifference(TSide& a, TSide& b, double warmUp) {
    TComparison c;
    const TEngineNet& x = a.Net();
    const TEngineNet& y = b.Net();
    c.Check("run", "overflow", a.Overflowed, b.Overflowed);
    c.Check("run", "messages", Joined(a.Messages), Joined(b.Messages));
    c.Check("net", "model time", x.ModelTime, y.ModelTime);
    c.Check("net", "vertex count", x.Vertices.size(), y.Vertices.size());
    c.Check("net", "transition count", x.Transitions.size(), y.Transitions.size());
    c.Check("net", "connection count", x.Connections.size(), y.Connections.size());
    if (!c.First.empty())
        return c.First;
    for (std::size_t i = 0; i < x.Vertices.size(); ++i) {
        const TVertex& v = *x.Vertices[i];
        const TVertex& w = *y.Vertices[i];
        const std::string name = "vertex " + v.Name;
        c.Check(name, "name", v.Name, w.Name);
        c.Check(name, "marking", v.Marking, w.Marking);
        c.Check(name, "monitoring", v.IsMonitoring, w.IsMonitoring);
        c.Check(name, "change count", v.ChangeCount, w.ChangeCount);
        c.Check(name, "received total", v.ReceivedTotal, w.ReceivedTotal);
        c.Check(name, "minimum", v.MinMarking, w.MinMarking);
        c.Check(name, "maximum", v.MaxMarking, w.MaxMarking);
        c.CheckHistory(name, v.History, w.History);
    }
    for (std::size_t i = 0; i < x.Transitions.size(); ++i) {
        const TTransition& t = *x.Transitions[i];
        const TTransition& u = *y.Transitions[i];
        const std::string name = "transition " + t.Name;
        c.Check(name, "name", t.Name, u.Name);
        c.Check(name, "monitoring", t.IsMonitoring, u.IsMonitoring);
        c.Check(name, "launch count", t.LaunchCount, u.LaunchCount);
        c.Check(name, "minimum buffer", t.MinBuffer, u.MinBuffer);
        c.Check(name, "maximum buffer", t.MaxBuffer, u.MaxBuffer);
        c.CheckHistory(name, t.History, u.History);
        c.CheckBuffer(name, t.LaunchBuffer, u.LaunchBuffer);
    }
    for (std::size_t i = 0; i < x.Connections.size(); ++i) {
        const TConnection& k = *x.Connections[i];
        const TConnection& l = *y.Connections[i];
        const std::string name = "connection " + std::to_string(i);
        c.Check(name, "flashing", k.IsFlashing, l.IsFlashing);
        c.Check(name, "colour", k.Color, l.Color);
        c.Check(name, "fade start", k.FadeStart, l.FadeStart);
        c.Check(name, "fade duration", k.FadeDuration, l.FadeDuration);
    }
    // Last, as they differ whenever anything above does.
    c.Check("net", "event count", x.EventCount, y.EventCount);
    c.Check("run", "generator seed", a.Engine->Random.Seed, b.Engine->Random.Seed);
    if (!c.First.empty())
        return c.First;
    const std::string first =
        SimReportJson(*a.Engine, warmUp, a.Overflowed ? a.Net().StopCause : rsNone);
    const std::string second =
        SimReportJson(*b.Engine, warmUp, b.Overflowed ? b.Net().StopCause : rsNone);
    return first == second ? "" : "report line\n" + FirstDifferentLine(first, second);
}

TCase WithoutCompaction(TCase c) {
    c.VertexSimple = false;
    c.TransitionSimple = false;
    return c;
}

// The statistics from the warm-up to now of a compacted run against the same run kept whole (bit
// for bit), and of the whole one against the walk over its samples.
std::string ExactnessDifference(TSide& compacted, TSide& whole, double warmUp) {
    const double now = whole.Net().ModelTime;
    std::string difference = StatisticsDifference(compacted.Net(), whole.Net(), warmUp, now);
    if (!difference.empty())
        return "statistics of the compacted run against the whole run: " + difference;
    difference = WalkDifference(whole.Net(), warmUp, now);
    return difference.empty() ? ""
                              : "statistics from running totals against the walk: " + difference;
}

// The interval the case runs: the one drawn, or the time where the engine's step passed the
// event budget, so that a net whose tokens multiply stays cheap for the literal step.
double AffordableInterval(const TCase& c) {
    const std::uint64_t budget = c.Kind == TRandomNetKind::Large ? kLargeEventBudget : kEventBudget;
    TSide probe(c, 0);
    const TEngineNet& net = probe.Net();
    while (net.ModelTime < c.Interval) {
        const double reached = net.ModelTime;
        probe.RunSpan(std::min(c.Interval / 64, c.Interval - reached), &SimulationStep, false);
        if (probe.Overflowed)
            break;
        if (net.EventCount > budget)
            return reached;
    }
    return c.Interval;
}

TEST(DifferentialStep, WholeIntervalRunsMatchTheLiteralStep) {
    const int cases = CaseCount(5000);
    int runs = 0, failures = 0;
    int overflowed = 0, formulas = 0, informs = 0, integerDelays = 0, cut = 0;
    std::uint64_t events = 0;
    for (int i = 0; i < cases && failures < kFailureLimit; ++i, ++runs) {
        const TCase c = DrawCase(CaseSeed(1'000'000, i));
        const double interval = AffordableInterval(c);
        const double warmUp = c.WarmUpShare * interval;
        TSide fast(c, warmUp);
        TSide literal(c, warmUp);
        TSide whole(WithoutCompaction(c), warmUp);
        fast.RunWhole(interval, &SimulationStep);
        literal.RunWhole(interval, &reference::SimulationStep);
        whole.RunWhole(interval, &SimulationStep);
        std::string difference = FirstDifference(fast, literal, warmUp);
        if (difference.empty())
            difference = ExactnessDifference(fast, whole, warmUp);
        if (difference.empty() && fast.Overflowed) {
            // Started again after the stop, the too long buffer is still there.
            fast.RunWhole(1, &SimulationStep);
            literal.RunWhole(1, &reference::SimulationStep);
            whole.RunWhole(1, &SimulationStep);
            difference = FirstDifference(fast, literal, warmUp);
            if (difference.empty())
                difference = ExactnessDifference(fast, whole, warmUp);
            if (!difference.empty())
                difference = "after a restart: " + difference;
        }
        if (!difference.empty()) {
            ++failures;
            ADD_FAILURE() << Failure(
                c, "batch run over " + Number(interval) + ", warm-up " + Number(warmUp),
                difference);
        }
        overflowed += fast.Overflowed;
        formulas += fast.Traits.FormulaConnections > 0;
        informs += fast.Traits.InformConnections > 0;
        integerDelays += fast.Traits.IntegerDelays > 1;
        cut += interval < c.Interval;
        events += fast.Net().EventCount;
    }
    std::printf("%d batch runs, %d overflowed, %d cut short, %llu events\n", runs, overflowed, cut,
                static_cast<unsigned long long>(events));
    if (failures > 0 || runs < kCoverageRuns)
        return;
    EXPECT_GT(overflowed, 0);
    EXPECT_GT(formulas, runs / 2);
    EXPECT_GT(informs, runs / 2);
    EXPECT_GT(integerDelays, runs / 2);
}

// A ring of delay-0 transitions, one drawing its delay, passing a token round for ever at one
// instant, and a slow transition beside it: both steps stop at the same event with the same
// message, draws and markings.
TEST(DifferentialStep, NetFiringForEverAtOneInstantStopsWhereTheLiteralStepStops) {
    for (bool conflict : {false, true}) {
        TCase c = DrawCase(CaseSeed(3'000'000, 0));
        c.ConflictCheck = conflict;
        TSide fast(c, 0);
        TSide literal(c, 0);
        for (TSide* side : {&fast, &literal}) {
            TEngineNet& net = side->Net();
            ClearNet(net, side->Engine.get());
            side->Engine->ConflictCheck = conflict;
            TVertex* a = CreateVertex(net, "A", 1, 0, 0, nullptr);
            TVertex* b = CreateVertex(net, "B", 0, 0, 0, nullptr);
            TVertex* shared = CreateVertex(net, "Shared", 3, 0, 0, nullptr);
            TTransition* go = CreateTransition(net, "Go", 0, 0, 0, nullptr);
            TTransition* back = CreateTransition(net, "Back", 0, 0, 0, nullptr);
            TTransition* slow = CreateTransition(net, "Slow", 0, 7, 0, nullptr);
            back->DelayType = dtExponential; // delay 0, one draw a launch
            CreateConnection(net, ctVT, 1, a, go, nullptr);
            CreateConnection(net, ctTV, 1, b, go, nullptr);
            CreateConnection(net, ctVT, 1, b, back, nullptr);
            CreateConnection(net, ctTV, 1, a, back, nullptr);
            CreateConnection(net, ctVT, 1, shared, go, nullptr)->IsInform = true;
            CreateConnection(net, ctVT, 2, shared, slow, nullptr); // once only
        }
        fast.RunWhole(10, &SimulationStep);
        literal.RunWhole(10, &reference::SimulationStep);
        EXPECT_EQ(FirstDifference(fast, literal, 0), "") << conflict;
        EXPECT_TRUE(fast.Overflowed);
        EXPECT_EQ(fast.Net().StopCause, rsEndlessInstant);
        EXPECT_GT(fast.Net().EventCount, InstantEventLimit);
    }
}

// An edit the editor lets the user make between two steps, drawn once and applied to both
// sides by position.
struct TEdit {
    enum TKind {
        Marking,
        ClearBuffer,
        RemoveVertex,
        RemoveTransition,
        Connect,
        MonitorVertex,
        MonitorTransition
    };
    TKind Kind = Marking;
    std::int32_t Vertex = 0;
    std::int32_t Transition = 0;
    std::int32_t Value = 0; // the new marking, or the connection's count
    bool Output = false;    // Connect: from the transition to the vertex
    int Input = 0;          // Connect to the transition: 0 plain, 1 a test, 2 a formula
};

bool HasTakingInput(const TTransition& transition) {
    return std::any_of(transition.InConnections.begin(), transition.InConnections.end(),
                       [](const TConnection* c) { return TakesTokens(*c); });
}

// Deleting the vertex must not leave a transition whose remaining inputs take nothing: that
// one would launch for ever.
bool SafeToDelete(const TVertex& vertex) {
    for (const TConnection* out : vertex.OutConnections) {
        bool remaining = false, taking = false;
        for (const TConnection* in : out->Transition->InConnections)
            if (in->Vertex != &vertex) {
                remaining = true;
                taking = taking || TakesTokens(*in);
            }
        if (remaining && !taking)
            return false;
    }
    return true;
}

// Edits keep the generator's guarantees: new inputs only at transitions whose delay cannot be 0,
// a test only beside an input that takes tokens, new outputs only at slow transitions.
std::optional<TEdit> DrawEdit(TTestRandom& random, const TEngineNet& net) {
    TEdit edit;
    edit.Kind = static_cast<TEdit::TKind>(DrawInteger(random, 0, 6));
    const bool vertex = edit.Kind == TEdit::Marking || edit.Kind == TEdit::RemoveVertex ||
                        edit.Kind == TEdit::Connect || edit.Kind == TEdit::MonitorVertex;
    const bool transition = !vertex || edit.Kind == TEdit::Connect;
    const auto vertices = static_cast<int>(net.Vertices.size());
    const auto transitions = static_cast<int>(net.Transitions.size());
    if ((vertex && vertices == 0) || (transition && transitions == 0))
        return std::nullopt;
    edit.Vertex = vertex ? DrawInteger(random, 0, vertices - 1) : 0;
    edit.Transition = transition ? DrawInteger(random, 0, transitions - 1) : 0;
    edit.Value = DrawInteger(random, 0, 5);
    if (edit.Kind == TEdit::RemoveVertex && !SafeToDelete(*net.Vertices[edit.Vertex]))
        return std::nullopt;
    if (edit.Kind == TEdit::Connect) {
        const TTransition& t = *net.Transitions[edit.Transition];
        edit.Output = DrawChance(random, 0.5);
        edit.Input = DrawInteger(random, 0, 2);
        edit.Value = DrawInteger(random, 1, 2);
        if (edit.Output ? !IsSlow(t) : CanBeInstant(t) || (edit.Input == 1 && !HasTakingInput(t)))
            return std::nullopt;
    }
    return edit;
}

std::string EditText(const TEdit& edit) {
    return "edit " + std::to_string(edit.Kind) + " of vertex " + std::to_string(edit.Vertex) +
           ", transition " + std::to_string(edit.Transition) + ", value " +
           std::to_string(edit.Value) + (edit.Output ? ", output" : ", input ") +
           std::to_string(edit.Input);
}

template <typename Object> void ToggleMonitoring(Object& object, double time) {
    if (object.IsMonitoring)
        StopMonitoring(object);
    else
        StartMonitoring(object, time);
}

void ApplyEdit(const TEdit& edit, TEngineNet& net) {
    switch (edit.Kind) {
    case TEdit::Marking: {
        TVertex& vertex = *net.Vertices[edit.Vertex];
        vertex.Marking = edit.Value;
        RecordUserMarking(vertex, net.ModelTime);
        break;
    }
    case TEdit::ClearBuffer:
        BufferClear(net.Transitions[edit.Transition]->LaunchBuffer);
        break;
    case TEdit::RemoveVertex:
        DeleteVertex(net, edit.Vertex, nullptr);
        break;
    case TEdit::RemoveTransition:
        DeleteTransition(net, edit.Transition, nullptr);
        break;
    case TEdit::Connect: {
        const std::size_t before = net.Connections.size();
        TConnection* connection = CreateConnection(net, edit.Output ? ctTV : ctVT, edit.Value,
                                                   net.Vertices[edit.Vertex].get(),
                                                   net.Transitions[edit.Transition].get(), nullptr);
        if (!edit.Output && net.Connections.size() > before) {
            connection->IsInform = edit.Input == 1;
            connection->UseFunction = edit.Input == 2;
            connection->Formula = "M(P1)-1";
        }
        break;
    }
    case TEdit::MonitorVertex:
        ToggleMonitoring(*net.Vertices[edit.Vertex], net.ModelTime);
        break;
    case TEdit::MonitorTransition:
        ToggleMonitoring(*net.Transitions[edit.Transition], net.ModelTime);
        break;
    }
}

std::vector<std::int32_t> HistoryLengths(const TEngineNet& net) {
    std::vector<std::int32_t> lengths;
    for (const auto& vertex : net.Vertices)
        lengths.push_back(vertex->History.Count());
    for (const auto& transition : net.Transitions)
        lengths.push_back(transition->History.Count());
    return lengths;
}

// The editor's way: many short steps with flashing, the user editing the net between them.
TEST(DifferentialStep, ShortStepsWithEditsBetweenMatchTheLiteralStep) {
    const int cases = CaseCount(2500);
    int runs = 0, failures = 0, compacted = 0, edits = 0;
    for (int i = 0; i < cases && failures < kFailureLimit; ++i, ++runs) {
        TCase c = DrawCase(CaseSeed(2'000'000, i));
        if (c.Kind == TRandomNetKind::Large)
            c.Kind = TRandomNetKind::Small;
        // The warm-up stays put while the steps pass it, as the editor's does.
        const double warmUp = c.WarmUpShare * 12;
        TSide fast(c, warmUp);
        TSide literal(c, warmUp);
        TSide whole(WithoutCompaction(c), warmUp);
        TTestRandom random(c.Seed);
        std::string done;
        for (int call = 0; call < 40; ++call) {
            const double span = DrawChance(random, 0.5)   ? 0.37
                                : DrawChance(random, 0.2) ? 0.0
                                                          : DrawReal(random, 0, 1);
            const std::vector<std::int32_t> lengths = HistoryLengths(fast.Net());
            fast.RunSpan(span, &SimulationStep, true);
            literal.RunSpan(span, &reference::SimulationStep, true);
            whole.RunSpan(span, &SimulationStep, true);
            const std::vector<std::int32_t> after = HistoryLengths(fast.Net());
            compacted += !std::equal(after.begin(), after.end(), lengths.begin(),
                                     [](std::int32_t a, std::int32_t b) { return a >= b; });
            done += "step " + Number(span) + "; ";
            std::string difference = FirstDifference(fast, literal, warmUp);
            if (difference.empty())
                difference = ExactnessDifference(fast, whole, warmUp);
            if (!difference.empty()) {
                ++failures;
                ADD_FAILURE() << Failure(c, "short steps and edits: " + done, difference);
                break;
            }
            if (fast.Overflowed || fast.Net().EventCount > kEventBudget)
                break;
            if (!DrawChance(random, 0.4))
                continue;
            if (const std::optional<TEdit> edit = DrawEdit(random, fast.Net())) {
                done += EditText(*edit) + "; ";
                ApplyEdit(*edit, fast.Net());
                ApplyEdit(*edit, literal.Net());
                ApplyEdit(*edit, whole.Net());
                ++edits;
            }
        }
    }
    if (failures > 0 || runs < kCoverageRuns)
        return;
    EXPECT_GT(compacted, runs / 20);
    EXPECT_GT(edits, runs);
}

} // namespace
