// The delay laws of transitions.
#pragma once

#include "NetRecords.h"
#include "Random.h"

// Draws a delay by the transition's law from `random`; a negative result becomes 0. The number
// and the order of the uniform draws are fixed: none for a fixed delay, one for the uniform and
// the exponential laws, twelve for the normal law whatever its deviation.
double DrawDelay(const TTransition& transition, TRandom& random);
