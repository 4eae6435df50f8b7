// The lists of picked objects (under the cursor or inside a rubber band) and chosen objects (the
// selection), each entry naming an object by kind and pointer. Entering or leaving a list can
// start the object's colour fade towards its new state.
#pragma once

#include "EngineTypes.h"

#include <cstdint>
#include <vector>

struct TEngineGraph;

struct TEnginePickedChoicedEntry {
    std::int32_t Kind = okNone; // okVertex, okTransition or okConnection
    void* Object = nullptr;
};

struct TEnginePickedChoiced {
    std::vector<TEnginePickedChoicedEntry> Items;
};

// Position of the object in the list, or -1.
std::int32_t IndexOfObject(const TEnginePickedChoiced& list, const void* object);
bool ContainsObject(const TEnginePickedChoiced& list, const void* object);

// Appends an entry; with animate, the object fades into the pick or choice colours.
void AddEntry(TEnginePickedChoiced& list, std::int32_t kind, void* object, const TEngineGraph& graph,
              bool isChoiceList, bool animate);
// With animate, the object fades back to the normal colours; then the last entry moves into the
// entry's slot.
void RemoveEntryAt(TEnginePickedChoiced& list, std::int32_t index, bool animate, const TEngineGraph& graph,
                   bool isChoiceList);
// Removes the object's entry; true when it was there.
bool RemoveObject(TEnginePickedChoiced& list, const void* object, const TEngineGraph* graph = nullptr,
                  bool isChoiceList = false, bool animate = false);
