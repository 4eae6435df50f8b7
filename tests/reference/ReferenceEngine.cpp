#include "ReferenceEngine.h"

#include "Clock.h"
#include "Delays.h"
#include "Fades.h"
#include "Firing.h"
#include "Formula.h"
#include "HistoryTotals.h"
#include "IntegerMath.h"
#include "Monitoring.h"
#include "NumberText.h"
#include "Random.h"

#include <algorithm>

namespace reference {

namespace {

constexpr std::int32_t kLowestPriority = -1000000000;

bool SharesInputVertex(const TTransition& a, const TTransition& b) {
    for (const TConnection* x : a.InConnections)
        for (const TConnection* y : b.InConnections)
            if (x->Vertex == y->Vertex)
                return true;
    return false;
}

bool Overflowed(const TTransition& transition) {
    return BufferCount(transition.LaunchBuffer) > BufferOverflowLimit;
}

bool StopForOverflow(const TTransition& transition, TEngineNet& net, TEngine& engine) {
    net.StopCause = rsOverflow;
    if (engine.ShowMessage)
        engine.ShowMessage(BufferOverflowMessage(transition));
    return true;
}

void RecordVertex(TVertex& vertex, double time, std::int32_t received,
                  const THistorySettings& settings) {
    HistoryAdd(vertex.History, hmAccumulate, received, vertex.Marking, time);
    vertex.ChangeCount = WrapAdd(vertex.ChangeCount, 1);
    if (received > 0)
        vertex.ReceivedTotal = WrapAdd(vertex.ReceivedTotal, received);
    vertex.MinMarking = std::min(vertex.MinMarking, vertex.Marking);
    vertex.MaxMarking = std::max(vertex.MaxMarking, vertex.Marking);
    if (settings.DoVertexHistorySimple)
        reference::HistoryCompact(vertex, settings.VertexHistoryNormal, settings.WarmUpInterval);
}

void RecordTransition(TTransition& transition, double time, const THistorySettings& settings) {
    const std::int32_t length = BufferCount(transition.LaunchBuffer);
    HistoryAdd(transition.History, hmBusy, 0, length, time);
    transition.LaunchCount = WrapAdd(transition.LaunchCount, 1);
    transition.MinBuffer = std::min(transition.MinBuffer, length);
    transition.MaxBuffer = std::max(transition.MaxBuffer, length);
    if (settings.DoTransitionHistorySimple)
        reference::HistoryCompact(transition, settings.TransitionHistoryNormal,
                                  settings.WarmUpInterval);
}

TTransition* LaunchPhase(TEngineNet& net, bool conflictCheck, bool flash, TEngine& engine,
                         std::vector<TTransition*>& candidates) {
    if (!conflictCheck) {
        bool launched = true;
        while (launched) {
            launched = false;
            for (auto& transition : net.Transitions) {
                if (!reference::IsTransitionEnabled(*transition, net))
                    continue;
                reference::LaunchTransition(*transition, net, net.ModelTime, flash, engine);
                launched = true;
                if (Overflowed(*transition))
                    return transition.get();
            }
        }
        return nullptr;
    }
    for (;;) {
        candidates.clear();
        for (auto& transition : net.Transitions) {
            if (Overflowed(*transition))
                return transition.get();
            if (!reference::IsTransitionEnabled(*transition, net))
                continue;
            if (candidates.empty() || SharesInputVertex(*transition, *candidates.front()))
                candidates.push_back(transition.get());
        }
        if (candidates.empty())
            return nullptr;
        TTransition* chosen = reference::ChooseCandidate(candidates, engine.Random);
        reference::LaunchTransition(*chosen, net, net.ModelTime, flash, engine);
    }
}

// `completed`, when given, gets a mark at the position of every transition that completes.
bool CompletionPhase(TEngineNet& net, double end, bool flash, TEngine& engine,
                     std::vector<std::uint8_t>* completedAt) {
    bool completed = false;
    for (;;) {
        TTransition* earliest = nullptr;
        TBufferEntry entry;
        for (auto& transition : net.Transitions) {
            const TBufferEntry candidate = reference::BufferEarliest(transition->LaunchBuffer);
            if (candidate.Position >= 0 && (earliest == nullptr || candidate.Time < entry.Time)) {
                earliest = transition.get();
                entry = candidate;
            }
        }
        if (earliest == nullptr)
            return completed;
        const bool due = completed ? entry.Time == net.ModelTime : entry.Time <= end;
        if (!due)
            return completed;
        net.ModelTime = entry.Time;
        reference::CompleteLaunch(*earliest, net, entry.Position, flash, engine);
        if (completedAt)
            (*completedAt)[static_cast<std::size_t>(earliest->Index)] = 1;
        completed = true;
    }
}

} // namespace

void BufferAppend(TTransitionBuffer& buffer, double time) {
    buffer.Entries.push_back(time);
}

void BufferRemove(TTransitionBuffer& buffer, std::int32_t position) {
    buffer.Entries[position] = buffer.Entries.back();
    buffer.Entries.pop_back();
}

TBufferEntry BufferEarliest(const TTransitionBuffer& buffer) {
    TBufferEntry best;
    for (std::size_t i = 0; i < buffer.Entries.size(); ++i)
        if (best.Position < 0 || buffer.Entries[i] <= best.Time) {
            best.Position = static_cast<std::int32_t>(i);
            best.Time = buffer.Entries[i];
        }
    return best;
}

bool IsTransitionEnabled(const TTransition& transition, const TEngineNet& net) {
    if (transition.InConnections.empty())
        return false;
    bool anyPositive = false;
    for (const TConnection* connection : transition.InConnections) {
        std::int32_t needed = connection->Count;
        if (connection->UseFunction) {
            const auto value = EvaluateFormula(*connection, net);
            if (!value)
                return false;
            needed = *value;
            anyPositive = anyPositive || needed > 0;
        } else {
            anyPositive = true;
        }
        if (connection->Vertex->Marking < needed)
            return false;
    }
    return anyPositive;
}

void LaunchTransition(TTransition& transition, TEngineNet& net, double time, bool flash,
                      TEngine& engine) {
    const THistorySettings settings = HistorySettingsOf(engine);
    for (TConnection* connection : transition.InConnections) {
        if (connection->IsInform)
            continue;
        TVertex& vertex = *connection->Vertex;
        if (!connection->UseFunction) {
            vertex.Marking = WrapSub(vertex.Marking, connection->Count);
        } else {
            const auto value = EvaluateFormula(*connection, net);
            if (value && *value > 0)
                vertex.Marking = WrapSub(vertex.Marking, *value);
        }
        if (vertex.IsMonitoring)
            RecordVertex(vertex, time, 0, settings);
    }
    if (flash)
        for (TConnection* connection : transition.InConnections)
            StartFlash(*connection, engine.Graph);
    reference::BufferAppend(transition.LaunchBuffer, time + DrawDelay(transition, engine.Random));
    ++net.EventCount;
    if (transition.IsMonitoring)
        RecordTransition(transition, time, settings);
}

void CompleteLaunch(TTransition& transition, TEngineNet& net, std::int32_t position, bool flash,
                    TEngine& engine) {
    const THistorySettings settings = HistorySettingsOf(engine);
    const double time = net.ModelTime;
    for (TConnection* connection : transition.OutConnections) {
        std::int32_t count = connection->Count;
        if (connection->UseFunction)
            count = EvaluateFormula(*connection, net).value_or(0);
        TVertex& vertex = *connection->Vertex;
        if (count > 0)
            vertex.Marking = WrapAdd(vertex.Marking, count);
        if (flash)
            StartFlash(*connection, engine.Graph);
        if (vertex.IsMonitoring)
            RecordVertex(vertex, time, count > 0 ? count : 0, settings);
    }
    reference::BufferRemove(transition.LaunchBuffer, position);
    ++net.EventCount;
    if (transition.IsMonitoring)
        RecordTransition(transition, time, settings);
}

TTransition* ChooseCandidate(std::vector<TTransition*>& candidates, TRandom& random) {
    if (candidates.size() == 1)
        return candidates.front();
    std::int32_t highest = kLowestPriority;
    std::int32_t greatest = candidates.front()->Priority;
    for (const TTransition* candidate : candidates) {
        if (candidate->Priority > highest)
            highest = candidate->Priority;
        greatest = std::max(greatest, candidate->Priority);
    }
    if (greatest < highest)
        highest = greatest;
    for (std::size_t i = candidates.size(); i-- > 0;)
        if (candidates[i]->Priority < highest) {
            candidates[i] = candidates.back();
            candidates.pop_back();
        }
    if (candidates.size() == 1)
        return candidates.front();

    double total = 0;
    for (const TTransition* candidate : candidates)
        total += candidate->Weight;
    const double u = UniformRandom(random);
    if (total != 0) {
        const double r = u * total;
        double running = 0;
        for (TTransition* candidate : candidates) {
            running += candidate->Weight;
            if (r < running)
                return candidate;
        }
        return candidates.back();
    }
    const double n = static_cast<double>(candidates.size());
    for (std::size_t k = 0; k < candidates.size(); ++k)
        if ((k + 1) / n > u)
            return candidates[k];
    return candidates.back();
}

bool SimulationStep(TEngineNet& net, bool conflictCheck, double startTime, double span, bool flash,
                    TEngine& engine, int budgetMs) {
    const std::int64_t entry = TickCount();
    net.ModelTime = startTime;
    const double end = RoundToTimeGrid(startTime + span);
    std::vector<TTransition*> candidates;
    // Every 256 rounds the step looks at the instant: the events since it was first seen there
    // are counted, and the last InstantWatchEvents of them, watched from this call, name the
    // transitions in the message.
    int rounds = 0;
    bool watching = false;
    std::uint64_t watchStart = 0;
    std::vector<std::uint8_t> completed;
    for (;;) {
        if (TTransition* overflowed = LaunchPhase(net, conflictCheck, flash, engine, candidates))
            return StopForOverflow(*overflowed, net, engine);
        if (!CompletionPhase(net, end, flash, engine, watching ? &completed : nullptr)) {
            net.ModelTime = end;
            return false;
        }
        if (++rounds % 256 != 0) {
            // not looked at in this round
        } else if (net.ModelTime != net.CountedInstant) {
            net.CountedInstant = net.ModelTime;
            net.EventsBeforeInstant = net.EventCount;
            watching = false;
        } else if (!watching) {
            if (net.EventCount - net.EventsBeforeInstant > InstantEventLimit - InstantWatchEvents) {
                watching = true;
                watchStart = net.EventCount;
                completed.assign(net.Transitions.size(), 0);
            }
        } else if (net.EventCount - watchStart >= InstantWatchEvents) {
            std::vector<const TTransition*> firing;
            for (std::size_t t = 0; t < net.Transitions.size(); ++t)
                if (completed[t])
                    firing.push_back(net.Transitions[t].get());
            net.EventsBeforeInstant = net.EventCount;
            net.StopCause = rsEndlessInstant;
            if (engine.ShowMessage)
                engine.ShowMessage(EndlessInstantMessage(net.ModelTime, firing));
            return true;
        }
        if (budgetMs >= 0 && TickCount() - entry >= budgetMs)
            return false;
    }
}

namespace {

bool ShouldCompact(const HistoryList& history, std::int32_t normal) {
    return normal >= 1 && !(2.05 * normal > history.Count()) && history.Count() > 1;
}

// The samples compaction keeps, by position: the first, for every inner grid point the first
// sample at or after it (each grid point searched from the start), and the last.
std::vector<std::size_t> KeptSamples(const std::vector<HistorySample>& samples,
                                     std::int32_t normal) {
    const double first = samples.front().Time;
    const double step = (samples.back().Time - first) / normal;
    std::vector<std::size_t> kept = {0};
    for (std::int32_t i = 1; i < normal; ++i) {
        std::size_t at = 0;
        while (samples[at].Time < first + i * step)
            ++at;
        if (at != kept.back() && at != samples.size() - 1)
            kept.push_back(at);
    }
    kept.push_back(samples.size() - 1);
    return kept;
}

void Compact(HistoryList& history, std::int32_t normal, double warmUpTime, bool tokens) {
    if (!ShouldCompact(history, normal))
        return;
    const auto& samples = history.Samples;
    // The totals at the warm-up time, while the stretch around it still holds real values.
    std::size_t around = 0;
    while (around + 1 < samples.size() && samples[around + 1].Time <= warmUpTime)
        ++around;
    if (warmUpTime > samples.front().Time && warmUpTime < samples.back().Time &&
        static_cast<std::int32_t>(around) >= history.MeanCount) {
        const THistoryTotals totals = TotalsAt(history, warmUpTime);
        history.Anchor = {true,        warmUpTime,           totals.Area, totals.ReceivedBefore,
                          totals.Busy, totals.NextSampleTime};
    }
    const std::vector<std::size_t> kept = KeptSamples(samples, normal);
    HistoryList compacted;
    for (std::size_t i = 0; i + 1 < kept.size(); ++i) {
        HistorySample merged = samples[kept[i]];
        double area = 0;
        for (std::size_t j = kept[i]; j < kept[i + 1]; ++j)
            area += samples[j].Value * (samples[j + 1].Time - samples[j].Time);
        merged.Value = area / (samples[kept[i + 1]].Time - merged.Time);
        if (tokens) // counted up to the next kept sample
            merged.Aux = samples[kept[i + 1] - 1].Aux;
        compacted.Samples.push_back(merged);
    }
    compacted.Samples.push_back(samples.back());
    compacted.MeanCount = compacted.Count() - 1;
    compacted.ValueBeforeFirst = history.LeadValue();
    compacted.Anchor = history.Anchor;
    history = std::move(compacted);
}

} // namespace

void HistoryCompact(TVertex& vertex, std::int32_t normal, double warmUpTime) {
    Compact(vertex.History, normal, warmUpTime, true);
}

void HistoryCompact(TTransition& transition, std::int32_t normal, double warmUpTime) {
    Compact(transition.History, normal, warmUpTime, false);
}

} // namespace reference
