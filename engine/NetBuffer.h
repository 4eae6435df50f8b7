// The copy buffer: values of copied vertices, transitions and connections, pasted any number of
// times. It holds no pointers into the net, so it survives edits, deletions and loading.
#pragma once

#include "NetRecords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TEngine;

// The buffered objects are records of their own holding only the stored values (see
// StoredFields.h). Each one's Index is its position in the buffer, and a buffered connection's
// ends are the buffer's own vertex and transition.
struct TEngineNetBuffer {
    std::int32_t OriginX = 0, OriginY = 0; // model point under the mouse at the copy
    std::vector<std::unique_ptr<TVertex>> Vertices;
    std::vector<std::unique_ptr<TTransition>> Transitions;
    std::vector<std::unique_ptr<TConnection>> Connections;

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
