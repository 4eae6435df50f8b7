// The records of a net: vertices (places), transitions and the connections (arcs) between them.
#pragma once

#include "EngineTypes.h"
#include "History.h"
#include "LaunchBuffer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TConnection;
struct TCompiledFormula;
struct TPickIndex; // the canvas's index of object places, defined by the picking code

// The fields the simulation step touches on every event come first, to share cache lines.
struct TVertex {
    std::int32_t Marking = 0;
    std::int32_t Index = 0;
    bool IsMonitoring = false;
    std::int32_t ChangeCount = 0;
    std::int32_t ReceivedTotal = 0;
    std::int32_t MinMarking = 0;
    std::int32_t MaxMarking = 0;
    HistoryList History;
    std::string Name; // Windows-1251
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::vector<TConnection*> InConnections;  // ctTV connections ending here
    std::vector<TConnection*> OutConnections; // ctVT connections starting here
    bool IsFading = false;
    std::int32_t Radius = 0;
    std::int32_t LineWidth = 0;
    std::int32_t NameFontSize = 0;
    std::int32_t MarkFontSize = 0;
    std::int32_t FadeStart = 0;
    std::int32_t FadeDuration = 0;
    TColor LineColorFrom = 0;
    TColor LineColor = 0;
    TColor FillColorFrom = 0;
    TColor FillColor = 0;
};

struct TTransition {
    std::vector<TConnection*> InConnections;  // ctVT connections ending here
    std::vector<TConnection*> OutConnections; // ctTV connections starting here
    TTransitionBuffer LaunchBuffer;
    std::int32_t Index = 0;
    bool IsMonitoring = false;
    TDelayType DelayType = dtDefault;
    double Delay = 0;
    double Deviation = 0;
    std::int32_t Priority = 0;
    double Weight = 0;
    HistoryList History;
    std::int32_t LaunchCount = 0;
    std::int32_t MinBuffer = 0;
    std::int32_t MaxBuffer = 0;
    std::string Name; // Windows-1251
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool IsFading = false;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t NameFontSize = 0;
    std::int32_t DelayFontSize = 0;
    std::int32_t FadeStart = 0;
    std::int32_t FadeDuration = 0;
    TColor FadeFromColor = 0;
    TColor Color = 0;
};

struct TConnection {
    TVertex* Vertex = nullptr;
    TTransition* Transition = nullptr;
    std::int32_t Count = 0;
    bool IsInform = false;
    bool UseFunction = false;
    TConnectionType ConnectionType = ctVT;
    std::int32_t Index = 0;
    std::string Formula; // Windows-1251; meaningful only with UseFunction
    // The formula taken apart, kept by its evaluation; compiled anew when Formula has changed.
    mutable std::shared_ptr<const TCompiledFormula> CompiledFormula;
    bool IsFading = false;
    bool IsFlashing = false;
    std::int32_t Width = 0;
    std::int32_t Width1 = 0;
    std::int32_t Height1 = 0;
    std::int32_t CountFontSize = 0;
    std::int32_t FadeStart = 0;
    std::int32_t FadeDuration = 0;
    TColor FadeFromColor = 0;
    TColor Color = 0;
};

struct TEngineNet {
    std::vector<std::unique_ptr<TVertex>> Vertices;
    std::vector<std::unique_ptr<TTransition>> Transitions;
    std::vector<std::unique_ptr<TConnection>> Connections;
    double ModelTime = 0;
    std::uint64_t EventCount = 0; // launches plus completions carried out, for benchmarks
    // Changes of the run's state made outside the firing rule: results cleared, a launch buffer
    // emptied by hand.
    std::uint64_t RunResets = 0;
    // The model time the step counts events at, and EventCount before the first event counted
    // there: a net that keeps firing while model time stands still is stopped.
    double CountedInstant = 0;
    std::uint64_t EventsBeforeInstant = 0;
    // Why the last step that stopped the run stopped it.
    TRunStop StopCause = rsNone;
    // Counts the changes of the objects' number, order, places and sizes (MarkShapesChanged).
    // The picking index compares it with the count it was built at and rebuilds when they
    // differ; runs never change it.
    std::uint64_t ShapeRevision = 0;
    // Built by the first pick after a change; travels with the net when a loaded net replaces it.
    mutable std::shared_ptr<TPickIndex> PickIndex;
};

// Every operation that creates, deletes, moves or resizes objects calls it.
inline void MarkShapesChanged(TEngineNet& net) {
    ++net.ShapeRevision;
}
