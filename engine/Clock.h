// The wall clock of the program: the step's time budget, run control's pacing and the fades of
// the canvas all read it.
#pragma once

#include <cstdint>

// Milliseconds of a steady clock.
std::int64_t TickCount();
