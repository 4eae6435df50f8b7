// A list of objects named by kind and pointer: the picked objects and the chosen ones.
#pragma once

#include "EngineTypes.h"

#include <cstdint>
#include <vector>

struct TEnginePickedChoicedEntry {
    std::int32_t Kind = okNone; // okVertex, okTransition or okConnection
    void* Object = nullptr;
};

struct TEnginePickedChoiced {
    std::vector<TEnginePickedChoicedEntry> Entries;
};

// Position of the object in the list, or -1.
std::int32_t IndexOfObject(const TEnginePickedChoiced& list, const void* object);
bool ContainsObject(const TEnginePickedChoiced& list, const void* object);
// Removes every entry naming the object; the order of the others is kept.
void RemoveObject(TEnginePickedChoiced& list, const void* object);
