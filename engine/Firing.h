// The timed firing rule. A launch takes the input tokens at once and schedules a completion
// after a drawn delay; the completion puts tokens into the outputs.
#pragma once

#include "Engine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A launch buffer holding more entries than this stops the run.
constexpr std::int32_t BufferOverflowLimit = 200000;
// More launches and completions than this at one model time stop the run: the net keeps firing
// without time advancing (a cycle of transitions with delay 0). No sound net comes near it, and
// the batch simulator reaches it in well under a second.
constexpr std::uint64_t InstantEventLimit = 10000000;
// The last events before the stop whose transitions the message names.
constexpr std::uint64_t InstantWatchEvents = 10000;
// The most transitions the message names before "…".
constexpr std::size_t EndlessInstantNames = 5;

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
// The message for a net that kept firing at model time `time`; `firing` are the transitions that
// fired there last, in net order (UTF-8).
std::string EndlessInstantMessage(double time, const std::vector<const TTransition*>& firing);

// Rounds a model time to the 1e-8 grid, halves to even.
double RoundToTimeGrid(double time);
