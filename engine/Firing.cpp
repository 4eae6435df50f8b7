#include "Firing.h"

#include "Delays.h"
#include "Fades.h"
#include "Formula.h"
#include "IntegerMath.h"
#include "Monitoring.h"
#include "NumberText.h"
#include "Random.h"
#include "TextCodec.h"
#include "WorkerThreads.h"

#include <algorithm>


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

// Launches until a pass launches nothing; returns the transition whose buffer overflowed.
TTransition* LaunchPhase(TEngineNet& net, bool conflictCheck, bool flash, TEngine& engine,
                         std::vector<TTransition*>& candidates) {
    if (!conflictCheck) {
        bool launched = true;
        while (launched) {
            launched = false;
            for (auto& transition : net.Transitions) {
                if (!IsTransitionEnabled(*transition, net))
                    continue;
                LaunchTransition(*transition, net, net.ModelTime, flash, engine);
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
            if (!IsTransitionEnabled(*transition, net))
                continue;
            if (candidates.empty() || SharesInputVertex(*transition, *candidates.front()))
                candidates.push_back(transition.get());
        }
        if (candidates.empty())
            return nullptr;
        LaunchTransition(*ChooseCandidate(candidates), net, net.ModelTime, flash, engine);
    }
}

// Carries out every completion of one instant; returns whether any happened.
bool CompletionPhase(TEngineNet& net, double end, bool flash, TEngine& engine) {
    bool completed = false;
    for (;;) {
        TTransition* earliest = nullptr;
        TBufferEntry entry;
        for (auto& transition : net.Transitions) {
            const TBufferEntry candidate = BufferEarliest(transition->LaunchBuffer);
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
        CompleteLaunch(*earliest, net, entry.Position, flash, engine);
        completed = true;
    }
}

} // namespace

bool IsTransitionEnabled(const TTransition& transition, const TEngineNet& net) {
    if (transition.InConnections.empty())
        return false;
    bool anyPositive = false;
    for (const TConnection* connection : transition.InConnections) {
        std::int32_t needed = connection->Count;
        if (connection->UseFunction) {
            const auto value = EvaluateFormula(*connection, net);
            if (!value)
                return false; // a formula that fails is not satisfied
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
            RecordVertexSample(vertex, time, 0, settings);
    }
    if (flash)
        for (TConnection* connection : transition.InConnections)
            StartFlash(*connection, engine.Graph);
    BufferAppend(transition.LaunchBuffer, time + DrawDelay(transition));
    ++net.EventCount;
    if (transition.IsMonitoring)
        RecordTransitionSample(transition, time, settings);
}

void CompleteLaunch(TTransition& transition, TEngineNet& net, std::int32_t position, bool flash,
                    TEngine& engine) {
    const THistorySettings settings = HistorySettingsOf(engine);
    const double time = net.ModelTime;
    for (TConnection* connection : transition.OutConnections) {
        std::int32_t count = connection->Count;
        if (connection->UseFunction)
            count = EvaluateFormula(*connection, net).value_or(0); // a failing formula gives nothing
        TVertex& vertex = *connection->Vertex;
        if (count > 0)
            vertex.Marking = WrapAdd(vertex.Marking, count);
        if (flash)
            StartFlash(*connection, engine.Graph);
        if (vertex.IsMonitoring)
            RecordVertexSample(vertex, time, count > 0 ? count : 0, settings);
    }
    BufferRemove(transition.LaunchBuffer, position);
    ++net.EventCount;
    if (transition.IsMonitoring)
        RecordTransitionSample(transition, time, settings);
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
    // Priorities below the search's starting value would remove every candidate: the greatest
    // of them wins then, as any higher one would.
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

std::string BufferOverflowMessage(const TTransition& transition) {
    return "Процес імітації зупинений, оскільки буфер запуску переходу " +
           Win1251ToUtf8(transition.Name) +
           " завеликий. Можливо, сітка складена некоректно (умови запуску даного переходу завжди "
           "виконуються і він може бути запущений нескінченну кількість разів).";
}

double RoundToTimeGrid(double time) { return RoundHalfEven(time * 1e8) / 1e8; }
