// The timed firing rule. A launch takes the input tokens at once and schedules a completion
// after a drawn delay; the completion puts tokens into the outputs.
#pragma once

#include "Engine.h"

#include <cstdint>
#include <vector>

// A launch buffer holding more entries than this stops the run.
constexpr std::int32_t BufferOverflowLimit = 200000;

bool IsTransitionEnabled(const TTransition& transition, const TEngineNet& net);
void LaunchTransition(TTransition& transition, TEngineNet& net, double time, bool flash,
                      TEngine& engine);
void CompleteLaunch(TTransition& transition, TEngineNet& net, std::int32_t position, bool flash,
                    TEngine& engine);

// Chooses one of the enabled conflicting transitions: the highest priority first, then at random
// in proportion to weight (one uniform draw from `random` when two or more remain). The list is
// left in the order the priority removal made.
TTransition* ChooseCandidate(std::vector<TTransition*>& candidates, TRandom& random);

// The overflow message for the transition (UTF-8).
std::string BufferOverflowMessage(const TTransition& transition);

// Rounds a model time to the 1e-8 grid, halves to even.
double RoundToTimeGrid(double time);
