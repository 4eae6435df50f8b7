#include "ReferenceEngine.h"

#include "Delays.h"
#include "Fades.h"
#include "Firing.h"
#include "Formula.h"
#include "IntegerMath.h"
#include "Monitoring.h"
#include "NumberText.h"
#include "Random.h"
#include "Statistics.h"
#include "WorkerThreads.h"

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

bool StopForOverflow(const TTransition& transition, TEngine& engine) {
    if (engine.ShowMessage)
        engine.ShowMessage(BufferOverflowMessage(transition));
    return true;
}

void RecordVertex(TVertex& vertex, double time, std::int32_t received, const THistorySettings& settings) {
    HistoryAdd(vertex.History, hmAccumulate, received, vertex.Marking, time);
    vertex.ChangeCount = WrapAdd(vertex.ChangeCount, 1);
    if (received > 0)
        vertex.ReceivedTotal = WrapAdd(vertex.ReceivedTotal, received);
    vertex.MinMarking = std::min(vertex.MinMarking, vertex.Marking);
    vertex.MaxMarking = std::max(vertex.MaxMarking, vertex.Marking);
    if (settings.DoVertexHistorySimple)
        reference::HistoryCompact(vertex, settings.VertexHistoryNormal);
}

void RecordTransition(TTransition& transition, double time, const THistorySettings& settings) {
    const std::int32_t length = BufferCount(transition.LaunchBuffer);
    HistoryAdd(transition.History, hmBusy, 0, length, time);
    transition.LaunchCount = WrapAdd(transition.LaunchCount, 1);
    transition.MinBuffer = std::min(transition.MinBuffer, length);
    transition.MaxBuffer = std::max(transition.MaxBuffer, length);
    if (settings.DoTransitionHistorySimple)
        reference::HistoryCompact(transition, settings.TransitionHistoryNormal);
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
        reference::LaunchTransition(*reference::ChooseCandidate(candidates), net, net.ModelTime, flash, engine);
    }
}

bool CompletionPhase(TEngineNet& net, double end, bool flash, TEngine& engine) {
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
        completed = true;
    }
}

} // namespace

void BufferAppend(TTransitionBuffer& buffer, double time) { buffer.Entries.push_back(time); }

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
    reference::BufferAppend(transition.LaunchBuffer, time + DrawDelay(transition));
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

TTransition* ChooseCandidate(std::vector<TTransition*>& candidates) {
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
    const double u = UniformRandom();
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
    for (;;) {
        if (TTransition* overflowed = LaunchPhase(net, conflictCheck, flash, engine, candidates))
            return StopForOverflow(*overflowed, engine);
        if (!CompletionPhase(net, end, flash, engine)) {
            net.ModelTime = end;
            return false;
        }
        if (budgetMs >= 0 && TickCount() - entry >= budgetMs)
            return false;
    }
}

namespace {

bool ShouldCompact(const HistoryList& history, std::int32_t normal) {
    return normal >= 1 && !(2.05 * normal > history.Count()) && history.Count() > 1;
}

template <typename Object, typename AddSample>
void Compact(Object& object, std::int32_t normal, AddSample add) {
    if (!ShouldCompact(object.History, normal))
        return;
    const auto& samples = object.History.Samples;
    const double first = samples.front().Time;
    const double step = (samples.back().Time - first) / normal;
    HistoryList compacted;
    for (std::int32_t i = 0; i < normal; ++i)
        add(compacted, i, first, step, first + i * step, first + (i + 1) * step);
    object.History = std::move(compacted);
}

} // namespace

void HistoryCompact(TVertex& vertex, std::int32_t normal) {
    Compact(vertex, normal, [&](HistoryList& list, std::int32_t, double, double, double start, double end) {
        const TVertexStats stats = VertexWindowStats(vertex, start, end);
        HistoryAdd(list, hmAccumulate, stats.Received, stats.Mean, start);
    });
}

void HistoryCompact(TTransition& transition, std::int32_t normal) {
    Compact(transition, normal,
            [&](HistoryList& list, std::int32_t i, double first, double step, double start, double end) {
                const TTransitionStats stats = TransitionWindowStats(transition, start, end, false);
                if (stats.Busy >= 0)
                    HistoryAdd(list, hmReplace, stats.Busy, stats.Mean, first + (i + 0.5) * step);
                else
                    HistoryAdd(list, hmReplace, 0, stats.Mean, start);
            });
}

} // namespace reference
