// A reference to one object of the net: a vertex, a transition, a connection, or none. The kind
// travels with the pointer, so a reader asks for the kind it expects and gets no object when the
// reference is of another kind.
#pragma once

#include "EngineTypes.h"

#include <variant>

struct TVertex;
struct TTransition;
struct TConnection;

class TObjectRef {
public:
    TObjectRef() = default;
    // A null pointer makes a reference to no object.
    TObjectRef(TVertex* vertex) { Set(vertex); }
    TObjectRef(TTransition* transition) { Set(transition); }
    TObjectRef(TConnection* connection) { Set(connection); }

    TObjectKind Kind() const { return static_cast<TObjectKind>(Target.index()); }
    TVertex* Vertex() const { return Get<TVertex>(); }
    TTransition* Transition() const { return Get<TTransition>(); }
    TConnection* Connection() const { return Get<TConnection>(); }
    explicit operator bool() const { return Kind() != okNone; }

    // Two references are equal when they name the same object, or both name none.
    friend bool operator==(const TObjectRef&, const TObjectRef&) = default;

private:
    template <typename Object> void Set(Object* object) {
        if (object != nullptr)
            Target = object;
    }
    template <typename Object> Object* Get() const {
        Object* const* found = std::get_if<Object*>(&Target);
        return found != nullptr ? *found : nullptr;
    }

    // The alternatives stand in the order of the kind codes, so that the index is the code.
    std::variant<std::monostate, TVertex*, TTransition*, TConnection*> Target;
};

static_assert(okNone == 0 && okVertex == 1 && okTransition == 2 && okConnection == 3,
              "TObjectRef::Kind reads the kind code from the position of the alternative");
