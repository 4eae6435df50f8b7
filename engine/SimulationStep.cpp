// SimulationStep: launch phases and completion phases over a span of model time.
//
// The step gives exactly the launches, draws and completions of a plain rescan of every
// transition after every launch, with far fewer enabling tests. It relies on two facts:
// - a transition without formula inputs can change from disabled to enabled only when the
//   marking of one of its input vertices changes, so only those transitions are re-tested, in
//   the position order a full rescan would meet them;
// - a transition reading a formula depends on every marking, so it is re-tested whenever any
//   marking changed since its last test.
// Pending completions are ordered by a heap over the transitions (earliest time, then lowest
// position), each transition's own buffer being a heap too.
// The indexes are built at the start of every call, so edits between calls need no bookkeeping.
#include "SimulationStep.h"

#include "Clock.h"
#include "CompletionQueue.h"
#include "Firing.h"
#include "FiringEvents.h"
#include "PositionQueue.h"

#include <algorithm>
#include <span>

namespace {

// Rounds of a launch phase and a completion phase between two looks at the events counted at one
// instant.
constexpr int InstantCountPeriod = 256;

class TStep {
public:
    TStep(TEngineNet& net, bool conflictCheck, bool flash, TEngine& engine)
        : Net(net), Engine(engine), ConflictCheck(conflictCheck), Flash(flash),
          Settings(HistorySettingsOf(engine)) {
        BuildIndexes();
    }

    // The whole call; see SimulationStep.
    bool Run(double startTime, double span, int budgetMs, std::int64_t entryTick);

private:
    // Launch phases: launch until nothing is enabled; return the transition whose buffer
    // overflowed.
    TTransition* LaunchPassesInOrder();
    TTransition* LaunchOneConflictAtATime();
    // Watching, it notes every transition that completes.
    template <bool Watch> bool CompletionPhase(double end);
    // Called at an instant that has seen more than InstantEventLimit - InstantWatchEvents events:
    // watches the rest of them, and is true when the net has fired there for too long.
    bool EndlessInstant();
    bool StopForEndlessInstant();

    void BuildIndexes();
    bool Enabled(std::int32_t position);
    // Without notices for a transition whose launches change no other transition's enabling
    // (Alone): it stays queued itself, and no formula reads the markings.
    template <bool Notify = true> void Launch(std::int32_t position);
    void Complete(std::int32_t position);
    void MarkingChanged(std::int32_t vertex);
    // The transitions sharing an input vertex with `first` and placed after it, ascending.
    void CollectSharers(std::int32_t first);

    TEngineNet& Net;
    TEngine& Engine;
    const bool ConflictCheck;
    const bool Flash;
    const THistorySettings Settings;

    std::span<const TArc> Inputs(std::int32_t position) const {
        const TArcRange& range = ArcRanges[static_cast<std::size_t>(position)];
        return {Arcs.data() + range.Inputs, Arcs.data() + range.Outputs};
    }
    std::span<const TArc> Outputs(std::int32_t position) const {
        const TArcRange& range = ArcRanges[static_cast<std::size_t>(position)];
        return {Arcs.data() + range.Outputs, Arcs.data() + range.End};
    }

    std::vector<TTransition*> Transitions;
    // The connections of every transition as flat copies, in their order: its inputs are
    // Arcs[Inputs .. Outputs), its outputs Arcs[Outputs .. End).
    struct TArcRange {
        std::size_t Inputs, Outputs, End;
    };
    std::vector<TArc> Arcs;
    std::vector<TArcRange> ArcRanges;
    std::vector<std::uint8_t> ReadsFormula; // some input connection has a formula
    // No other transition reads any of its input vertices, and no formula reads markings: its
    // launches change no other transition's enabling.
    std::vector<std::uint8_t> Alone;
    std::vector<std::int32_t> FormulaTransitions; // ascending
    std::vector<std::uint64_t> DisabledAt;        // MarkingVersion of the last failed test
    std::uint64_t MarkingVersion = 1;
    // Transitions with an input connection from each vertex, ascending: Consumers[First[v] ..
    // First[v + 1]).
    std::vector<std::int32_t> ConsumerFirst;
    std::vector<std::int32_t> Consumers;

    // Transitions that may be enabled. Without conflict checks, Current holds those the running
    // pass has still to visit and Next those for the pass after it; Scan is the position being
    // visited (-1 between passes).
    TPositionQueue Current;
    TPositionQueue Next;
    std::int32_t Scan = -1;
    std::vector<std::int32_t> Sharers;
    std::vector<TTransition*> Candidates;
    TCompletionQueue Completions;
    // A transition whose buffer the last completion emptied, still queued: the next launch of a
    // transition with an empty buffer takes its place in the queue.
    std::int32_t Vacated = -1;
    // Near the limit of events at one instant the step watches which transitions complete, so
    // that the message can name them; WatchStart is EventCount when the watch began.
    bool Watching = false;
    std::uint64_t WatchStart = 0;
    std::vector<std::uint8_t> CompletedWhileWatching;
};

void TStep::BuildIndexes() {
    const auto count = static_cast<std::int32_t>(Net.Transitions.size());
    Transitions.resize(Net.Transitions.size());
    ReadsFormula.assign(Net.Transitions.size(), 0);
    DisabledAt.assign(Net.Transitions.size(), 0);
    Current.Reset(count);
    Next.Reset(count);
    Completions.Reset(count);
    ConsumerFirst.assign(Net.Vertices.size() + 1, 0);

    std::vector<std::int32_t> withInputs;
    // A connection repeats a (vertex, transition) pair when the last transition seen reading its
    // vertex is its own: positions ascend, so repeats are adjacent.
    std::vector<std::int32_t> lastReader;
    auto eachNewPair = [&](auto&& use) {
        lastReader.assign(Net.Vertices.size(), -1);
        for (std::int32_t t = 0; t < count; ++t)
            for (const TArc& arc : Inputs(t)) {
                const auto v = static_cast<std::size_t>(arc.VertexIndex);
                if (lastReader[v] != t) {
                    lastReader[v] = t;
                    use(v, t);
                }
            }
    };
    ArcRanges.resize(Net.Transitions.size());
    Arcs.clear();
    Arcs.reserve(Net.Connections.size());
    auto copy = [&](const std::vector<TConnection*>& connections) {
        for (TConnection* c : connections)
            Arcs.push_back({c->Vertex, c, c->Count, c->Vertex->Index, c->IsInform, c->UseFunction,
                            c->Vertex->IsMonitoring});
        return Arcs.size();
    };
    for (std::int32_t t = 0; t < count; ++t) {
        TTransition* transition = Net.Transitions[static_cast<std::size_t>(t)].get();
        Transitions[static_cast<std::size_t>(t)] = transition;
        TArcRange& range = ArcRanges[static_cast<std::size_t>(t)];
        range.Inputs = Arcs.size();
        range.Outputs = copy(transition->InConnections);
        range.End = copy(transition->OutConnections);
        if (!transition->LaunchBuffer.Entries.empty())
            Completions.Update(t, transition->LaunchBuffer.Entries.front());
        if (transition->InConnections.empty())
            continue; // never enabled
        for (const TConnection* connection : transition->InConnections)
            if (connection->UseFunction)
                ReadsFormula[static_cast<std::size_t>(t)] = 1;
        if (ReadsFormula[static_cast<std::size_t>(t)])
            FormulaTransitions.push_back(t);
        else
            withInputs.push_back(t);
    }
    eachNewPair([&](std::size_t v, std::int32_t) { ++ConsumerFirst[v + 1]; });
    for (std::size_t v = 1; v < ConsumerFirst.size(); ++v)
        ConsumerFirst[v] += ConsumerFirst[v - 1];
    Consumers.resize(static_cast<std::size_t>(ConsumerFirst.back()));
    std::vector<std::int32_t> fill(ConsumerFirst.begin(), ConsumerFirst.end() - 1);
    eachNewPair(
        [&](std::size_t v, std::int32_t t) { Consumers[static_cast<std::size_t>(fill[v]++)] = t; });
    Alone.assign(Net.Transitions.size(), 0);
    if (FormulaTransitions.empty())
        for (std::int32_t t : withInputs) {
            bool alone = true;
            for (const TArc& arc : Inputs(t)) {
                const auto v = static_cast<std::size_t>(arc.VertexIndex);
                alone = alone && ConsumerFirst[v + 1] - ConsumerFirst[v] == 1;
            }
            Alone[static_cast<std::size_t>(t)] = alone;
        }
    // Every transition is tested in the first pass.
    Current.Fill(withInputs);
}

bool TStep::Enabled(std::int32_t position) {
    const std::size_t t = static_cast<std::size_t>(position);
    if (ReadsFormula[t]) {
        if (DisabledAt[t] == MarkingVersion)
            return false;
        if (IsTransitionEnabled(*Transitions[t], Net))
            return true;
        DisabledAt[t] = MarkingVersion;
        return false;
    }
    for (const TArc& arc : Inputs(position))
        if (arc.Vertex->Marking < arc.Count)
            return false;
    return true;
}

void TStep::MarkingChanged(std::int32_t vertex) {
    ++MarkingVersion;
    const auto v = static_cast<std::size_t>(vertex);
    for (std::int32_t k = ConsumerFirst[v]; k < ConsumerFirst[v + 1]; ++k) {
        const std::int32_t t = Consumers[static_cast<std::size_t>(k)];
        if (ReadsFormula[static_cast<std::size_t>(t)])
            continue;
        if (t > Scan)
            Current.Push(t);
        else
            Next.Push(t);
    }
}

template <bool Notify> void TStep::Launch(std::int32_t position) {
    TTransition& transition = *Transitions[static_cast<std::size_t>(position)];
    const auto& entries = transition.LaunchBuffer.Entries;
    const bool wasEmpty = entries.empty();
    const double earliest = wasEmpty ? 0 : entries.front();
    LaunchWith(transition, Inputs(position), Net, Net.ModelTime, Flash, Engine, Settings,
               [&](std::int32_t vertex) { // captures the step only when it notifies
                   if constexpr (Notify)
                       MarkingChanged(vertex);
               });
    // The queue needs telling only when the new entry became the earliest.
    if (wasEmpty && Vacated >= 0) {
        Completions.Replace(Vacated, position, entries.front());
        Vacated = -1;
    } else if (wasEmpty || entries.front() < earliest) {
        Completions.Update(position, entries.front());
    }
}

void TStep::Complete(std::int32_t position) {
    TTransition& transition = *Transitions[static_cast<std::size_t>(position)];
    CompleteWith(transition, Outputs(position), Net, 0, Flash, Engine, Settings,
                 [this](std::int32_t vertex) { MarkingChanged(vertex); });
    if (transition.LaunchBuffer.Entries.empty())
        Vacated = position;
    else
        Completions.Update(position, transition.LaunchBuffer.Entries.front());
}

// Each pass visits the transitions in position order and launches every enabled one once.
TTransition* TStep::LaunchPassesInOrder() {
    for (;;) {
        bool launched = false;
        std::size_t formula = 0;
        for (;;) {
            // The next position of the pass: the smaller of the queued and the formula ones.
            std::int32_t position = -1;
            const bool haveQueued = !Current.Empty();
            const bool haveFormula = formula < FormulaTransitions.size();
            if (haveQueued && (!haveFormula || Current.Top() < FormulaTransitions[formula]))
                position = Current.Pop();
            else if (haveFormula)
                position = FormulaTransitions[formula++];
            else
                break;
            Scan = position;
            if (!Enabled(position))
                continue;
            Launch(position);
            launched = true;
            // It may still be enabled in the next pass, which visits formula readers anyway.
            if (!ReadsFormula[static_cast<std::size_t>(position)])
                Next.Push(position);
            TTransition* transition = Transitions[static_cast<std::size_t>(position)];
            if (BufferCount(transition->LaunchBuffer) > BufferOverflowLimit) {
                Scan = -1;
                return transition;
            }
        }
        Scan = -1;
        std::swap(Current, Next);
        if (!launched)
            return nullptr;
    }
}

void TStep::CollectSharers(std::int32_t first) {
    Sharers.clear();
    const auto inputs = Inputs(first);
    for (const TArc& arc : inputs) {
        const auto v = static_cast<std::size_t>(arc.VertexIndex);
        for (std::int32_t k = ConsumerFirst[v]; k < ConsumerFirst[v + 1]; ++k)
            if (Consumers[static_cast<std::size_t>(k)] > first)
                Sharers.push_back(Consumers[static_cast<std::size_t>(k)]);
    }
    if (inputs.size() > 1) {
        std::sort(Sharers.begin(), Sharers.end());
        Sharers.erase(std::unique(Sharers.begin(), Sharers.end()), Sharers.end());
    }
}

// Each pass takes the first enabled transition and the enabled ones sharing an input vertex with
// it, and launches one of them.
TTransition* TStep::LaunchOneConflictAtATime() {
    for (;;) {
        // The first enabled transition; queued ones found disabled leave the queue.
        std::int32_t first = -1;
        std::size_t formula = 0;
        for (;;) {
            const bool haveQueued = !Current.Empty();
            const bool haveFormula = formula < FormulaTransitions.size();
            if (haveQueued && (!haveFormula || Current.Top() < FormulaTransitions[formula])) {
                if (Enabled(Current.Top())) {
                    first = Current.Top();
                    break;
                }
                Current.Pop();
            } else if (haveFormula) {
                if (Enabled(FormulaTransitions[formula])) {
                    first = FormulaTransitions[formula];
                    break;
                }
                ++formula;
            } else {
                return nullptr;
            }
        }
        if (Alone[static_cast<std::size_t>(first)]) {
            // It stays the first enabled transition, the only candidate, while it is enabled.
            TTransition* transition = Transitions[static_cast<std::size_t>(first)];
            do {
                Launch<false>(first);
                if (BufferCount(transition->LaunchBuffer) > BufferOverflowLimit)
                    return transition;
            } while (Enabled(first));
            Current.Pop();
            continue;
        }
        Candidates.clear();
        Candidates.push_back(Transitions[static_cast<std::size_t>(first)]);
        CollectSharers(first);
        for (std::int32_t sharer : Sharers) {
            // A queued or formula transition may be enabled; any other one is known not to be.
            if ((ReadsFormula[static_cast<std::size_t>(sharer)] || Current.Contains(sharer)) &&
                Enabled(sharer))
                Candidates.push_back(Transitions[static_cast<std::size_t>(sharer)]);
        }
        TTransition* chosen = ChooseCandidate(Candidates, Engine.Random);
        Launch(chosen->Index);
        if (BufferCount(chosen->LaunchBuffer) > BufferOverflowLimit)
            return chosen; // the next pass would stop at it
    }
}

template <bool Watch> bool TStep::CompletionPhase(double end) {
    bool completed = false;
    for (;;) {
        std::int32_t next = -1;
        if (Vacated >= 0 && Completions.Top() == Vacated) {
            // Look past it without taking it out: the next launch may take its place.
            next = Completions.Second();
        } else {
            if (Vacated >= 0) {
                Completions.Remove(Vacated);
                Vacated = -1;
            }
            if (!Completions.Empty())
                next = Completions.Top();
        }
        if (next < 0)
            break;
        const double time = Completions.TimeOf(next);
        const bool due = completed ? time == Net.ModelTime : time <= end;
        if (!due)
            break;
        if (Vacated >= 0) {
            Completions.Remove(Vacated);
            Vacated = -1;
        }
        Net.ModelTime = time;
        Complete(next);
        if constexpr (Watch)
            CompletedWhileWatching[static_cast<std::size_t>(next)] = 1;
        completed = true;
    }
    return completed;
}

bool TStep::EndlessInstant() {
    if (!Watching) {
        Watching = true;
        WatchStart = Net.EventCount;
        CompletedWhileWatching.assign(Transitions.size(), 0);
        return false;
    }
    // A watch begun in this call over InstantWatchEvents events ends beyond the limit.
    return Net.EventCount - WatchStart >= InstantWatchEvents;
}

bool TStep::StopForEndlessInstant() {
    std::vector<const TTransition*> firing;
    for (std::size_t t = 0; t < Transitions.size(); ++t)
        if (CompletedWhileWatching[t])
            firing.push_back(Transitions[t]);
    // Started again, the run gets the whole allowance anew: the user may have broken the cycle.
    Net.EventsBeforeInstant = Net.EventCount;
    Net.StopCause = rsEndlessInstant;
    if (Engine.ShowMessage)
        Engine.ShowMessage(EndlessInstantMessage(Net.ModelTime, firing));
    return true;
}

bool StopForOverflow(const TTransition& transition, TEngineNet& net, TEngine& engine) {
    net.StopCause = rsOverflow;
    if (engine.ShowMessage)
        engine.ShowMessage(BufferOverflowMessage(transition));
    return true;
}

bool TStep::Run(double startTime, double span, int budgetMs, std::int64_t entryTick) {
    Net.ModelTime = startTime;
    const double end = RoundToTimeGrid(startTime + span);
    if (ConflictCheck) {
        // The first pass stops at the first transition whose buffer is already too long.
        for (TTransition* transition : Transitions)
            if (BufferCount(transition->LaunchBuffer) > BufferOverflowLimit)
                return StopForOverflow(*transition, Net, Engine);
    }
    // The instant events are counted at and the event count when it was first seen, kept here
    // during the call and in the net between calls. They are looked at once every
    // InstantCountPeriod rounds of launches and completions: model time never goes back, so an
    // instant seen twice held every event in between.
    double instant = Net.CountedInstant;
    std::uint64_t eventsBeforeInstant = Net.EventsBeforeInstant;
    int roundsToCount = InstantCountPeriod;
    // The clock costs about as much as a round of a small net, so it is read every
    // ClockCheckPeriod rounds only, and after the first (a budget of 0 allows one round); where a
    // step ends changes no result.
    constexpr int ClockCheckPeriod = 64;
    int roundsToClock = 1;
    bool watching = false; // Watching, kept where the loop reads it cheaply
    auto keepCount = [&] {
        Net.CountedInstant = instant;
        Net.EventsBeforeInstant = eventsBeforeInstant;
    };
    // True when the net has fired at this instant for too long.
    auto countInstant = [&] {
        if (Net.ModelTime != instant) {
            instant = Net.ModelTime;
            eventsBeforeInstant = Net.EventCount;
            Watching = watching = false;
            return false;
        }
        if (Net.EventCount - eventsBeforeInstant <= InstantEventLimit - InstantWatchEvents)
            return false;
        const bool endless = EndlessInstant();
        watching = Watching;
        return endless;
    };
    for (;;) {
        TTransition* overflowed =
            ConflictCheck ? LaunchOneConflictAtATime() : LaunchPassesInOrder();
        if (overflowed) {
            keepCount();
            return StopForOverflow(*overflowed, Net, Engine);
        }
        if (!(watching ? CompletionPhase<true>(end) : CompletionPhase<false>(end))) {
            Net.ModelTime = end;
            keepCount();
            return false;
        }
        // A call that runs out of time looks too, however few rounds it made.
        bool outOfTime = false;
        if (budgetMs >= 0 && --roundsToClock == 0) {
            roundsToClock = ClockCheckPeriod;
            outOfTime = TickCount() - entryTick >= budgetMs;
        }
        if (--roundsToCount == 0 || outOfTime) {
            roundsToCount = InstantCountPeriod;
            if (countInstant()) {
                keepCount();
                return StopForEndlessInstant();
            }
            if (Engine.StopRequest && Engine.StopRequest->load(std::memory_order_relaxed)) {
                keepCount();
                return false;
            }
        }
        if (outOfTime) {
            keepCount();
            return false;
        }
    }
}

} // namespace

bool SimulationStep(TEngineNet& net, bool conflictCheck, double startTime, double span, bool flash,
                    TEngine& engine, int budgetMs) {
    const std::int64_t entry = TickCount();
    TStep step(net, conflictCheck, flash, engine);
    return step.Run(startTime, span, budgetMs, entry);
}
