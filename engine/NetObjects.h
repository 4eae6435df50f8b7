// Creation, deletion, lookup and naming of the objects of a net. These operations keep the
// cross-references consistent: every connection is listed once at each of its ends, and every
// object's Index equals its position in its array.
#pragma once

#include "Engine.h"
#include "ObjectRef.h"

#include <cstdint>
#include <string>

// Appends a vertex; an empty name gives the first free automatic name "P1", "P2", ...
// With options, sizes and colours come from the visual settings; otherwise they stay 0.
TVertex* CreateVertex(TEngineNet& net, const std::string& name, std::int32_t marking,
                      std::int32_t x, std::int32_t y, const TEngineGraphOptions* options);

// Appends a transition with a fixed delay; an empty name gives "T1", "T2", ...
TTransition* CreateTransition(TEngineNet& net, const std::string& name, std::int32_t x,
                              double delay, std::int32_t y, const TEngineGraphOptions* options);

// Appends a connection, or adds the count to the existing connection of the same type between
// the same vertex and transition. Returns the connection that now carries the count.
TConnection* CreateConnection(TEngineNet& net, TConnectionType type, std::int32_t count,
                              TVertex* vertex, TTransition* transition,
                              const TEngineGraphOptions* options);

// The delete operations move the last object into the gap. With an engine they also take the
// object out of its picked and chosen lists.
void DeleteConnection(TEngineNet& net, std::int32_t index, TEngine* engine);
void DeleteVertex(TEngineNet& net, std::int32_t index, TEngine* engine);
void DeleteTransition(TEngineNet& net, std::int32_t index, TEngine* engine);

// Deletes every object and sets ModelTime to 0.
void ClearNet(TEngineNet& net, TEngine* engine);
// Clears the engine's net and forgets its file name.
void NewNet(TEngine& engine);

// Position of the first object of that kind whose name equals the given one without regard to
// letter case, or -1.
std::int32_t FindVertex(const TEngineNet& net, const std::string& name);
std::int32_t FindTransition(const TEngineNet& net, const std::string& name);

// True when no vertex or transition other than `self` bears the name, letter case disregarded.
// With no object (an empty reference) the name is checked against every object.
bool IsNameFree(const TEngineNet& net, TObjectRef self, const std::string& name);
