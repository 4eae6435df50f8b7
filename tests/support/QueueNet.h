// A queue fed by Poisson arrivals of rate 1 (vertices Source, Queue, Free; transitions Arrive,
// Serve), the net the long-run tests compare with queueing theory.
#pragma once

#include "NetObjects.h"

inline void BuildQueueNet(TEngineNet& net, std::int32_t servers, TDelayType service, double mean,
                          double deviation = 0) {
    TVertex* source = CreateVertex(net, "Source", 1, 0, 0, nullptr);
    TVertex* queue = CreateVertex(net, "Queue", 0, 0, 0, nullptr);
    TVertex* free = CreateVertex(net, "Free", servers, 0, 0, nullptr);
    TTransition* arrive = CreateTransition(net, "Arrive", 0, 1.0, 0, nullptr);
    TTransition* serve = CreateTransition(net, "Serve", 0, mean, 0, nullptr);
    arrive->DelayType = dtExponential;
    serve->DelayType = service;
    serve->Deviation = deviation;
    CreateConnection(net, ctVT, 1, source, arrive, nullptr);
    CreateConnection(net, ctTV, 1, source, arrive, nullptr);
    CreateConnection(net, ctTV, 1, queue, arrive, nullptr);
    CreateConnection(net, ctVT, 1, queue, serve, nullptr);
    CreateConnection(net, ctVT, 1, free, serve, nullptr);
    CreateConnection(net, ctTV, 1, free, serve, nullptr);
}
