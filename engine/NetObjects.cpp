#include "NetObjects.h"

#include "IntegerMath.h"
#include "TextCodec.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

template <typename Object>
TAutomaticNames NamesOf(const std::vector<std::unique_ptr<Object>>& objects, const char* prefix) {
    TAutomaticNames names;
    names.Prefix = prefix;
    names.Taken.reserve(objects.size());
    for (const auto& object : objects)
        names.Taken.insert(object->Name);
    return names;
}

// Removes one pointer from an end's connection array: the last element moves into its slot.
// Returns the slot it stood in.
// The connection is looked for from the end: deletions go from the last connection of an end
// to the first, so it is found at once however many connections the end has.
std::int32_t Detach(std::vector<TConnection*>& connections, const TConnection* connection) {
    const auto found = std::find(connections.rbegin(), connections.rend(), connection);
    if (found == connections.rend())
        return static_cast<std::int32_t>(connections.size());
    const auto slot = static_cast<std::int32_t>(connections.rend() - found - 1);
    connections[slot] = connections.back();
    connections.pop_back();
    return slot;
}

// The inverse of Detach: the element now in the slot goes back to the end.
void Attach(std::vector<TConnection*>& connections, TConnection* connection, std::int32_t slot) {
    if (slot >= static_cast<std::int32_t>(connections.size())) {
        connections.push_back(connection);
        return;
    }
    connections.push_back(connections[slot]);
    connections[slot] = connection;
}

// Takes the object at the position out and moves the last one into the gap.
template <typename Object>
std::unique_ptr<Object> TakeAt(std::vector<std::unique_ptr<Object>>& objects, std::int32_t index) {
    std::unique_ptr<Object> taken = std::move(objects[index]);
    const auto last = static_cast<std::int32_t>(objects.size()) - 1;
    if (index != last) {
        objects[index] = std::move(objects[last]);
        objects[index]->Index = index;
    }
    objects.pop_back();
    return taken;
}

// The inverse of TakeAt: the object now at the position goes back to the end.
template <typename Object>
void PutAt(std::vector<std::unique_ptr<Object>>& objects, std::unique_ptr<Object> object,
           std::int32_t index) {
    const auto size = static_cast<std::int32_t>(objects.size());
    if (index >= size) {
        object->Index = size;
        objects.push_back(std::move(object));
        return;
    }
    objects.push_back(std::move(objects[index]));
    objects.back()->Index = size;
    object->Index = index;
    objects[index] = std::move(object);
}

void ForgetSelection(TEngine* engine, TObjectRef object) {
    if (engine == nullptr)
        return;
    RemoveObject(engine->Choiced, object, &engine->Graph, TListRole::Chosen, TFade::Animate);
    RemoveObject(engine->Picked, object, &engine->Graph, TListRole::Picked, TFade::Animate);
}

template <typename Object>
std::int32_t FindByName(const std::vector<std::unique_ptr<Object>>& objects,
                        const std::string& name) {
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (SameText1251(objects[i]->Name, name))
            return static_cast<std::int32_t>(i);
    return -1;
}

// Deletes the connections of one end array, from the last to the first.
void DeleteConnectionsOf(TEngineNet& net, std::vector<TConnection*>& connections, TEngine* engine,
                         TDetachedObjects* kept) {
    while (!connections.empty())
        DeleteConnection(net, connections.back()->Index, engine, kept);
}

} // namespace

TAutomaticNames VertexNames(const TEngineNet& net) {
    return NamesOf(net.Vertices, "P");
}

TAutomaticNames TransitionNames(const TEngineNet& net) {
    return NamesOf(net.Transitions, "T");
}

std::string FreeAutomaticName(TAutomaticNames& names) {
    // Names are only added, so the first free number never goes down.
    for (;; ++names.Next) {
        std::string candidate = names.Prefix + std::to_string(names.Next);
        if (!names.Taken.contains(candidate))
            return candidate;
    }
}

void TakeName(TAutomaticNames& names, const std::string& name) {
    names.Taken.insert(name);
}

TVertex* CreateVertex(TEngineNet& net, const std::string& name, std::int32_t marking,
                      std::int32_t x, std::int32_t y, const TEngineGraphOptions* options) {
    auto vertex = std::make_unique<TVertex>();
    vertex->Index = static_cast<std::int32_t>(net.Vertices.size());
    if (name.empty()) {
        TAutomaticNames names = VertexNames(net);
        vertex->Name = FreeAutomaticName(names);
    } else {
        vertex->Name = name;
    }
    vertex->Marking = marking;
    vertex->X = x;
    vertex->Y = y;
    if (options != nullptr) {
        vertex->Radius = options->VertexRadius;
        vertex->LineWidth = options->VertexLineWidth;
        vertex->NameFontSize = options->VertexNameFontSize;
        vertex->MarkFontSize = options->VertexMarkFontSize;
        vertex->LineColor = options->VertexAmbientColor;
        vertex->FillColor = options->VertexAmbientColor1;
    }
    net.Vertices.push_back(std::move(vertex));
    MarkShapesChanged(net);
    return net.Vertices.back().get();
}

TTransition* CreateTransition(TEngineNet& net, const std::string& name, std::int32_t x,
                              double delay, std::int32_t y, const TEngineGraphOptions* options) {
    auto transition = std::make_unique<TTransition>();
    transition->Index = static_cast<std::int32_t>(net.Transitions.size());
    if (name.empty()) {
        TAutomaticNames names = TransitionNames(net);
        transition->Name = FreeAutomaticName(names);
    } else {
        transition->Name = name;
    }
    transition->Delay = delay;
    transition->X = x;
    transition->Y = y;
    if (options != nullptr) {
        transition->Width = options->TransitionWidth;
        transition->Height = options->TransitionHeight;
        transition->NameFontSize = options->TransitionNameFontSize;
        transition->DelayFontSize = options->TransitionDelayFontSize;
        transition->Color = options->TransitionAmbientColor;
    }
    net.Transitions.push_back(std::move(transition));
    MarkShapesChanged(net);
    return net.Transitions.back().get();
}

TConnection* CreateConnection(TEngineNet& net, TConnectionType type, std::int32_t count,
                              TVertex* vertex, TTransition* transition,
                              const TEngineGraphOptions* options) {
    if (type == ctVT) {
        for (TConnection* existing : vertex->OutConnections)
            if (existing->ConnectionType == ctVT && existing->Transition == transition) {
                existing->Count = WrapAdd(existing->Count, count);
                return existing;
            }
    } else {
        for (TConnection* existing : transition->OutConnections)
            if (existing->ConnectionType == ctTV && existing->Vertex == vertex) {
                existing->Count = WrapAdd(existing->Count, count);
                return existing;
            }
    }

    return AppendConnection(net, type, count, vertex, transition, options);
}

TConnection* AppendConnection(TEngineNet& net, TConnectionType type, std::int32_t count,
                              TVertex* vertex, TTransition* transition,
                              const TEngineGraphOptions* options) {
    auto connection = std::make_unique<TConnection>();
    connection->Index = static_cast<std::int32_t>(net.Connections.size());
    connection->ConnectionType = type;
    connection->Count = count;
    connection->Vertex = vertex;
    connection->Transition = transition;
    if (options != nullptr) {
        connection->Width = options->ConnectionWidth;
        connection->Width1 = options->ConnectionWidth1;
        connection->Height1 = options->ConnectionHeight1;
        connection->CountFontSize = options->ConnectionCountFontSize;
        connection->Color = options->ConnectionAmbientColor;
    }
    TConnection* created = connection.get();
    net.Connections.push_back(std::move(connection));
    MarkShapesChanged(net);
    if (type == ctVT) {
        vertex->OutConnections.push_back(created);
        transition->InConnections.push_back(created);
    } else {
        transition->OutConnections.push_back(created);
        vertex->InConnections.push_back(created);
    }
    return created;
}

TObjectRef TDetachedObject::Ref() const {
    if (const auto* vertex = std::get_if<std::unique_ptr<TVertex>>(&Object))
        return TObjectRef(vertex->get());
    if (const auto* transition = std::get_if<std::unique_ptr<TTransition>>(&Object))
        return TObjectRef(transition->get());
    if (const auto* connection = std::get_if<std::unique_ptr<TConnection>>(&Object))
        return TObjectRef(connection->get());
    return TObjectRef();
}

TDetachedObject DetachObject(TEngineNet& net, TObjectRef object, TEngine* engine) {
    MarkShapesChanged(net);
    ForgetSelection(engine, object);
    TDetachedObject detached;
    if (TConnection* c = object.Connection()) {
        detached.Slots.Index = c->Index;
        if (c->ConnectionType == ctVT) {
            detached.Slots.VertexSlot = Detach(c->Vertex->OutConnections, c);
            detached.Slots.TransitionSlot = Detach(c->Transition->InConnections, c);
        } else {
            detached.Slots.TransitionSlot = Detach(c->Transition->OutConnections, c);
            detached.Slots.VertexSlot = Detach(c->Vertex->InConnections, c);
        }
        detached.Object = TakeAt(net.Connections, c->Index);
    } else if (TVertex* v = object.Vertex()) {
        detached.Slots.Index = v->Index;
        detached.Object = TakeAt(net.Vertices, v->Index);
    } else if (TTransition* t = object.Transition()) {
        detached.Slots.Index = t->Index;
        detached.Object = TakeAt(net.Transitions, t->Index);
    }
    return detached;
}

void AttachObject(TEngineNet& net, TDetachedObject&& detached) {
    MarkShapesChanged(net);
    const TObjectSlots slots = detached.Slots;
    if (auto* connection = std::get_if<std::unique_ptr<TConnection>>(&detached.Object)) {
        TConnection* c = connection->get();
        // The ends take it back in the reverse order of DetachObject.
        if (c->ConnectionType == ctVT) {
            Attach(c->Transition->InConnections, c, slots.TransitionSlot);
            Attach(c->Vertex->OutConnections, c, slots.VertexSlot);
        } else {
            Attach(c->Vertex->InConnections, c, slots.VertexSlot);
            Attach(c->Transition->OutConnections, c, slots.TransitionSlot);
        }
        PutAt(net.Connections, std::move(*connection), slots.Index);
    } else if (auto* vertex = std::get_if<std::unique_ptr<TVertex>>(&detached.Object)) {
        PutAt(net.Vertices, std::move(*vertex), slots.Index);
    } else if (auto* transition = std::get_if<std::unique_ptr<TTransition>>(&detached.Object)) {
        PutAt(net.Transitions, std::move(*transition), slots.Index);
    }
    detached.Object = std::monostate{};
}

void DeleteConnection(TEngineNet& net, std::int32_t index, TEngine* engine,
                      TDetachedObjects* kept) {
    TDetachedObject detached = DetachObject(net, net.Connections[index].get(), engine);
    if (kept != nullptr)
        kept->push_back(std::move(detached));
}

void DeleteVertex(TEngineNet& net, std::int32_t index, TEngine* engine, TDetachedObjects* kept) {
    TVertex* vertex = net.Vertices[index].get();
    ForgetSelection(engine, vertex);
    DeleteConnectionsOf(net, vertex->InConnections, engine, kept);
    DeleteConnectionsOf(net, vertex->OutConnections, engine, kept);
    TDetachedObject detached = DetachObject(net, vertex, engine);
    if (kept != nullptr)
        kept->push_back(std::move(detached));
}

void DeleteTransition(TEngineNet& net, std::int32_t index, TEngine* engine,
                      TDetachedObjects* kept) {
    TTransition* transition = net.Transitions[index].get();
    ForgetSelection(engine, transition);
    DeleteConnectionsOf(net, transition->InConnections, engine, kept);
    DeleteConnectionsOf(net, transition->OutConnections, engine, kept);
    TDetachedObject detached = DetachObject(net, transition, engine);
    if (kept != nullptr)
        kept->push_back(std::move(detached));
}

void ClearNet(TEngineNet& net, TEngine* engine, TDetachedObjects* kept) {
    MarkShapesChanged(net);
    net.ModelTime = 0;
    net.CountedInstant = 0;
    net.EventsBeforeInstant = net.EventCount;
    if (kept == nullptr) {
        // Nothing to keep: the objects leave the picked and chosen lists in the order the
        // deletions one by one would take them out (each vertex, its connections from the last
        // in and the last out, the transitions last), and then all go at once.
        if (engine != nullptr &&
            (!engine->Choiced.Items.empty() || !engine->Picked.Items.empty())) {
            for (auto v = net.Vertices.rbegin(); v != net.Vertices.rend(); ++v) {
                ForgetSelection(engine, v->get());
                for (auto c = (*v)->InConnections.rbegin(); c != (*v)->InConnections.rend(); ++c)
                    ForgetSelection(engine, *c);
                for (auto c = (*v)->OutConnections.rbegin(); c != (*v)->OutConnections.rend(); ++c)
                    ForgetSelection(engine, *c);
            }
            for (auto t = net.Transitions.rbegin(); t != net.Transitions.rend(); ++t)
                ForgetSelection(engine, t->get());
        }
        net.Connections.clear();
        net.Vertices.clear();
        net.Transitions.clear();
        return;
    }
    while (!net.Vertices.empty())
        DeleteVertex(net, static_cast<std::int32_t>(net.Vertices.size()) - 1, engine, kept);
    while (!net.Transitions.empty())
        DeleteTransition(net, static_cast<std::int32_t>(net.Transitions.size()) - 1, engine, kept);
}

void NewNet(TEngine& engine) {
    ClearNet(engine.Net, &engine);
    engine.FileName.clear();
}

void MoveObjects(TEngineNet& net, const std::vector<TObjectRef>& objects, std::int32_t dx,
                 std::int32_t dy) {
    MarkShapesChanged(net);
    for (const TObjectRef& object : objects) {
        if (TVertex* v = object.Vertex()) {
            v->X += dx;
            v->Y += dy;
        } else if (TTransition* t = object.Transition()) {
            t->X += dx;
            t->Y += dy;
        }
    }
}

std::int32_t FindVertex(const TEngineNet& net, const std::string& name) {
    return FindByName(net.Vertices, name);
}

std::int32_t FindTransition(const TEngineNet& net, const std::string& name) {
    return FindByName(net.Transitions, name);
}

bool IsNameFree(const TEngineNet& net, TObjectRef self, const std::string& name) {
    const std::int32_t v = FindVertex(net, name);
    if (v >= 0 && TObjectRef(net.Vertices[v].get()) != self)
        return false;
    const std::int32_t t = FindTransition(net, name);
    if (t >= 0 && TObjectRef(net.Transitions[t].get()) != self)
        return false;
    return true;
}
