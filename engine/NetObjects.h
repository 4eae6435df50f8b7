// Creation, deletion, lookup and naming of the objects of a net. These operations keep the
// cross-references consistent: every connection is listed once at each of its ends, and every
// object's Index equals its position in its array.
#pragma once

#include "Engine.h"
#include "ObjectRef.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

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

// The names one array bears, for handing out automatic names to many new objects in a row
// without looking at every name for each: "P1", "P2", ... or "T1", "T2", ..., matched exactly.
struct TAutomaticNames {
    std::string Prefix;
    std::unordered_set<std::string> Taken;
    long long Next = 1; // no smaller number gives a free name
};
TAutomaticNames VertexNames(const TEngineNet& net);
TAutomaticNames TransitionNames(const TEngineNet& net);
// The first automatic name that no object bears; it stays free until taken.
std::string FreeAutomaticName(TAutomaticNames& names);
// A new object of the array bears the name from now on.
void TakeName(TAutomaticNames& names, const std::string& name);

// Appends a connection without looking for one to add the count to: for a caller that knows
// the vertex and the transition have no connection of that type yet.
TConnection* AppendConnection(TEngineNet& net, TConnectionType type, std::int32_t count,
                              TVertex* vertex, TTransition* transition,
                              const TEngineGraphOptions* options);

// Where an object stands in the net: its position in its array and, for a connection, its
// positions in the connection arrays of its vertex and its transition.
struct TObjectSlots {
    std::int32_t Index = 0;
    std::int32_t VertexSlot = 0;
    std::int32_t TransitionSlot = 0;
};

// An object taken out of the net whole, with the slots it stood in, so that it can be put back
// exactly where it was: the same object, the same positions, every other object where it was.
struct TDetachedObject {
    TObjectSlots Slots;
    std::variant<std::monostate, std::unique_ptr<TVertex>, std::unique_ptr<TTransition>,
                 std::unique_ptr<TConnection>>
        Object;
    TObjectRef Ref() const;
};
// Objects taken out by one deletion, in the order they went.
using TDetachedObjects = std::vector<TDetachedObject>;

// Takes the object out: the last object of its array moves into the gap (and likewise in the
// connection arrays of a connection's ends). A vertex or a transition must have no connections
// left. With an engine the object also leaves the picked and chosen lists.
TDetachedObject DetachObject(TEngineNet& net, TObjectRef object, TEngine* engine);
// Puts a detached object back into its slots: the exact inverse of DetachObject, given the net
// as DetachObject left it.
void AttachObject(TEngineNet& net, TDetachedObject&& detached);

// The delete operations move the last object into the gap. With an engine they also take the
// object out of its picked and chosen lists. Deleting a vertex or a transition first deletes its
// connections. With `kept`, the deleted objects are not freed but appended to it in the order
// they went, so that they can be put back (AttachObject, from the last to the first).
void DeleteConnection(TEngineNet& net, std::int32_t index, TEngine* engine,
                      TDetachedObjects* kept = nullptr);
void DeleteVertex(TEngineNet& net, std::int32_t index, TEngine* engine,
                  TDetachedObjects* kept = nullptr);
void DeleteTransition(TEngineNet& net, std::int32_t index, TEngine* engine,
                      TDetachedObjects* kept = nullptr);

// Deletes every object and sets ModelTime to 0.
void ClearNet(TEngineNet& net, TEngine* engine, TDetachedObjects* kept = nullptr);
// Clears the engine's net and forgets its file name.
void NewNet(TEngine& engine);

// Moves the vertices and transitions among the objects by (dx, dy) model units; connections
// follow their ends and are skipped.
void MoveObjects(TEngineNet& net, const std::vector<TObjectRef>& objects, std::int32_t dx,
                 std::int32_t dy);

// Position of the first object of that kind whose name equals the given one without regard to
// letter case, or -1.
std::int32_t FindVertex(const TEngineNet& net, const std::string& name);
std::int32_t FindTransition(const TEngineNet& net, const std::string& name);

// True when no vertex or transition other than `self` bears the name, letter case disregarded.
// With no object (an empty reference) the name is checked against every object.
bool IsNameFree(const TEngineNet& net, TObjectRef self, const std::string& name);
