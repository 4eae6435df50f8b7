#include "Firing.h"

#include "FiringEvents.h"
#include "Formula.h"
#include "NumberText.h"
#include "Random.h"
#include "TextCodec.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int32_t kLowestPriority = -1000000000;

const auto kNoNotice = [](std::int32_t) {};

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
    LaunchWith(transition, transition.InConnections, net, time, flash, engine,
               HistorySettingsOf(engine), kNoNotice);
}

void CompleteLaunch(TTransition& transition, TEngineNet& net, std::int32_t position, bool flash,
                    TEngine& engine) {
    CompleteWith(transition, transition.OutConnections, net, position, flash, engine,
                 HistorySettingsOf(engine), kNoNotice);
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

std::string BufferOverflowMessage(const TTransition& transition) {
    return "Процес імітації зупинений, оскільки буфер запуску переходу " +
           Win1251ToUtf8(transition.Name) +
           " завеликий. Можливо, сітка складена некоректно (умови запуску даного переходу завжди "
           "виконуються і він може бути запущений нескінченну кількість разів).";
}

std::string EndlessInstantMessage(double time, const std::vector<const TTransition*>& firing) {
    std::string names;
    for (std::size_t i = 0; i < firing.size(); ++i) {
        if (i > 0)
            names += ", ";
        if (i == EndlessInstantNames) {
            names += "…";
            break;
        }
        names += Win1251ToUtf8(firing[i]->Name);
    }
    return "Процес імітації зупинений, оскільки в момент модельного часу " + FloatToText("", time) +
           " відбулося понад " + std::to_string(InstantEventLimit) +
           " подій, а модельний час не просувається. Можливо, сітка містить цикл переходів з "
           "нульовою затримкою. Переходи, що спрацьовують у цей момент: " +
           names + ". Задайте хоча б одному з них ненульову затримку.";
}

double RoundToTimeGrid(double time) {
    // Beyond about 1e300 the scaled time overflows; a time that large lies on the grid anyway.
    const double scaled = time * 1e8;
    return std::isfinite(scaled) ? RoundHalfEven(scaled) / 1e8 : time;
}
