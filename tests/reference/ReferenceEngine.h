// The literal simulation step and history compaction, kept as the yardstick the engine's fast
// versions are compared with. Everything here works the slow, obvious way: the launch buffer is
// an unordered array scanned for its earliest entry, every launch rescans every transition, and
// compaction searches every grid point from the start and walks each kept stretch on its own.
// The engine's formula evaluator, delay laws, generator, HistoryAdd, running totals and window
// statistics are shared.
#pragma once

#include "Engine.h"

#include <cstdint>
#include <vector>

namespace reference {

// The buffer as an unordered array: appended at the end, the last entry moved into a gap.
void BufferAppend(TTransitionBuffer& buffer, double time);
void BufferRemove(TTransitionBuffer& buffer, std::int32_t position);
// The earliest entry; among equal times the one at the highest position.
TBufferEntry BufferEarliest(const TTransitionBuffer& buffer);

bool IsTransitionEnabled(const TTransition& transition, const TEngineNet& net);
TTransition* ChooseCandidate(std::vector<TTransition*>& candidates, TRandom& random);
void LaunchTransition(TTransition& transition, TEngineNet& net, double time, bool flash,
                      TEngine& engine);
void CompleteLaunch(TTransition& transition, TEngineNet& net, std::int32_t position, bool flash,
                    TEngine& engine);
// The same signature as the engine's SimulationStep, so both fit one run loop.
bool SimulationStep(TEngineNet& net, bool conflictCheck, double startTime, double span, bool flash,
                    TEngine& engine, int budgetMs);

void HistoryCompact(TVertex& vertex, std::int32_t normal, double warmUpTime);
void HistoryCompact(TTransition& transition, std::int32_t normal, double warmUpTime);

} // namespace reference
