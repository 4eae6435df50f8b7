// The copy buffer: values of copied vertices, transitions and connections, pasted any number of
// times. It holds no pointers into the net, so it survives edits, deletions and loading.
#pragma once

#include "EngineTypes.h"

#include <cstdint>
#include <string>
#include <vector>

struct TEngine;

struct TEngineNetBufferVertex {
    std::string Name;
    std::int32_t X = 0, Y = 0;
    std::int32_t SourceIndex = 0;
    std::int32_t Marking = 0, Radius = 0, LineWidth = 0, NameFontSize = 0, MarkFontSize = 0;
    bool IsMonitoring = false;
};

struct TEngineNetBufferTransition {
    std::string Name;
    std::int32_t X = 0, Y = 0;
    TDelayType DelayType = dtDefault;
    double Delay = 0, Deviation = 0, Weight = 0;
    std::int32_t SourceIndex = 0;
    std::int32_t Priority = 0, Width = 0, Height = 0, NameFontSize = 0, DelayFontSize = 0;
    bool IsMonitoring = false;
};

struct TEngineNetBufferConnection {
    TConnectionType ConnectionType = ctVT;
    std::int32_t Count = 0, Width = 0, Width1 = 0, Height1 = 0, CountFontSize = 0;
    std::int32_t VertexPos = 0, TransitionPos = 0; // positions of the ends within the buffer
    std::string Formula;
    bool UseFunction = false, IsInform = false;
};

struct TEngineNetBuffer {
    std::int32_t OriginX = 0, OriginY = 0; // model point under the mouse at the copy
    std::vector<TEngineNetBufferVertex> Vertices;
    std::vector<TEngineNetBufferTransition> Transitions;
    std::vector<TEngineNetBufferConnection> Connections;

    bool IsEmpty() const { return Vertices.empty() && Transitions.empty() && Connections.empty(); }
};

// Replaces the buffer by the chosen objects; (x, y) is the model point under the mouse. A chosen
// connection whose vertex or transition is not chosen too is left out.
void CopyFragment(TEngine& engine, std::int32_t x, std::int32_t y);
// Adds copies of the buffer's objects, moved by the distance from the copy point to (x, y), and
// makes them the chosen objects.
void PasteFragment(TEngine& engine, std::int32_t x, std::int32_t y);

struct TNameNumber {
    std::string Prefix;
    std::string Number; // the longest suffix that is a 32-bit integer; empty when none
};
TNameNumber SplitNameNumber(const std::string& name);
