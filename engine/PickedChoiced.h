// The lists of picked objects (under the cursor or inside a rubber band) and chosen objects (the
// selection), each entry naming one object. Entering or leaving a list can start the object's
// colour fade towards its new state.
#pragma once

#include "ObjectRef.h"

#include <cstdint>
#include <vector>

struct TEngineGraph;

struct TEnginePickedChoiced {
    std::vector<TObjectRef> Items;
};

// Which list an operation works on: the fades go to the pick or to the choice colours.
enum class TListRole { Picked, Chosen };
// Whether entering or leaving a list starts the object's colour fade.
enum class TFade { Animate, Instant };

// Position of the object in the list, or -1.
std::int32_t IndexOfObject(const TEnginePickedChoiced& list, TObjectRef object);
bool ContainsObject(const TEnginePickedChoiced& list, TObjectRef object);

// Appends an entry; with TFade::Animate, the object fades into the pick or choice colours.
void AddEntry(TEnginePickedChoiced& list, TObjectRef object, const TEngineGraph& graph,
              TListRole role, TFade fade);
// With TFade::Animate, the object fades back to the normal colours; then the last entry moves into
// the entry's slot.
void RemoveEntryAt(TEnginePickedChoiced& list, std::int32_t index, const TEngineGraph& graph,
                   TListRole role, TFade fade);
// Removes the object's entry; true when it was there. Without a graph, no fade starts.
bool RemoveObject(TEnginePickedChoiced& list, TObjectRef object,
                  const TEngineGraph* graph = nullptr, TListRole role = TListRole::Picked,
                  TFade fade = TFade::Instant);
