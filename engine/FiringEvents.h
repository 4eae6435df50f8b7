// The two events of a firing, shared by LaunchTransition/CompleteLaunch and the simulation step.
// The events walk a transition's input or output connections, given either as the connections
// themselves or as the step's flat copies of the fields read here (TArc), which keep the hot
// data of a run together. `changed` is called with every vertex whose marking the event
// changed, so that the step can re-test the transitions that read it.
#pragma once

#include "Delays.h"
#include "Engine.h"
#include "Fades.h"
#include "Formula.h"
#include "IntegerMath.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"

struct TArc {
    TVertex* Vertex;
    TConnection* Connection;
    std::int32_t Count;
    std::int32_t VertexIndex;
    bool IsInform;
    bool UseFunction;
    bool VertexMonitored; // no step changes it
};

inline const TConnection* ArcFields(const TConnection* connection) {
    return connection;
}
inline const TArc* ArcFields(const TArc& arc) {
    return &arc;
}
inline TConnection& ConnectionOf(TConnection* connection) {
    return *connection;
}
inline TConnection& ConnectionOf(const TArc& arc) {
    return *arc.Connection;
}
inline std::int32_t VertexIndexOf(const TConnection* connection) {
    return connection->Vertex->Index;
}
inline std::int32_t VertexIndexOf(const TArc& arc) {
    return arc.VertexIndex;
}
inline bool VertexMonitored(const TConnection* connection) {
    return connection->Vertex->IsMonitoring;
}
inline bool VertexMonitored(const TArc& arc) {
    return arc.VertexMonitored;
}

template <typename Arcs, typename Changed>
void LaunchWith(TTransition& transition, const Arcs& inputs, TEngineNet& net, double time,
                bool flash, TEngine& engine, const THistorySettings& settings, Changed&& changed) {
    for (const auto& arc : inputs) {
        const auto* connection = ArcFields(arc);
        if (connection->IsInform)
            continue;
        TVertex& vertex = *connection->Vertex;
        std::int32_t taken = connection->Count;
        if (connection->UseFunction) {
            const auto value = EvaluateFormula(ConnectionOf(arc), net);
            taken = value && *value > 0 ? *value : 0;
        }
        if (taken != 0) {
            vertex.Marking = WrapSub(vertex.Marking, taken);
            changed(VertexIndexOf(arc));
        }
        if (VertexMonitored(arc))
            RecordVertexSample(vertex, time, 0, settings);
    }
    if (flash)
        for (const auto& arc : inputs)
            StartFlash(ConnectionOf(arc), engine.Graph);
    BufferAppend(transition.LaunchBuffer, time + DrawDelay(transition, engine.Random));
    ++net.EventCount;
    if (transition.IsMonitoring)
        RecordTransitionSample(transition, time, settings);
}

template <typename Arcs, typename Changed>
void CompleteWith(TTransition& transition, const Arcs& outputs, TEngineNet& net,
                  std::int32_t position, bool flash, TEngine& engine,
                  const THistorySettings& settings, Changed&& changed) {
    const double time = net.ModelTime;
    for (const auto& arc : outputs) {
        const auto* connection = ArcFields(arc);
        std::int32_t count = connection->Count;
        if (connection->UseFunction)
            count = EvaluateFormula(ConnectionOf(arc), net)
                        .value_or(0); // a failing formula gives nothing
        TVertex& vertex = *connection->Vertex;
        if (count > 0) {
            vertex.Marking = WrapAdd(vertex.Marking, count);
            changed(VertexIndexOf(arc));
        }
        if (flash)
            StartFlash(ConnectionOf(arc), engine.Graph);
        if (VertexMonitored(arc))
            RecordVertexSample(vertex, time, count > 0 ? count : 0, settings);
    }
    BufferRemove(transition.LaunchBuffer, position);
    ++net.EventCount;
    if (transition.IsMonitoring)
        RecordTransitionSample(transition, time, settings);
}
