// Two transitions of delay 0 passing one token round for ever: the net never lets model time
// advance, so a run stops it at the first instant (vertices Idle, Busy; transitions Start,
// Finish; Idle monitored).
#pragma once

#include "NetObjects.h"

inline void BuildEndlessCycle(TEngineNet& net) {
    TVertex* idle = CreateVertex(net, "Idle", 1, 0, 0, nullptr);
    TVertex* busy = CreateVertex(net, "Busy", 0, 0, 0, nullptr);
    TTransition* start = CreateTransition(net, "Start", 0, 0, 0, nullptr);
    TTransition* finish = CreateTransition(net, "Finish", 0, 0, 0, nullptr);
    CreateConnection(net, ctVT, 1, idle, start, nullptr);
    CreateConnection(net, ctTV, 1, busy, start, nullptr);
    CreateConnection(net, ctVT, 1, busy, finish, nullptr);
    CreateConnection(net, ctTV, 1, idle, finish, nullptr);
    idle->IsMonitoring = true;
}
