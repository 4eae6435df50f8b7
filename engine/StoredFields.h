// The stored fields of the net's objects, described once. The net file's writer and reader and
// the copy buffer walk these lists, so a field listed here is saved, loaded, copied and pasted,
// and its place in the list is its line in the file.
#pragma once

#include "NetRecords.h"

#include <cstdint>
#include <span>
#include <string>
#include <variant>

// How a field is written in the net file, one line each.
enum TStoredFieldKind : std::uint8_t {
    sfText = 0,           // the whole line as it stands
    sfInteger = 1,        // decimal; read as the first word of the next line that has one
    sfBoolean = 2,        // "-1" for true, "0" for false
    sfReal = 3,           // through FloatToText / TextToFloat
    sfDelayType = 4,      // "dtDefault", "dtUniform", "dtNormal" or "dtExponential"
    sfConnectionType = 5, // "ctVT" or "ctTV"
    sfVertexEnd = 6,      // the position of the connection's vertex among the vertices
    sfTransitionEnd = 7,  // the position of the connection's transition among the transitions
};

// What a field means to the walkers that put an object into a net (loading and pasting).
enum TStoredFieldRole : std::uint8_t {
    srValue = 0,      // given to the created object as it is
    srCreation = 1,   // handed to the call that creates the object and left as that call made it:
                      // an empty name becomes the automatic one, and a connection's count joins
                      // the count of an existing connection of the same type and ends
    srMonitoring = 2, // set, it starts the object's statistics at the net's time
};

// The member a field lives in; the alternatives follow the order of TStoredFieldKind, so that a
// field's kind is the index of its member's alternative.
template <typename Object>
using TStoredMember =
    std::variant<std::string Object::*, std::int32_t Object::*, bool Object::*, double Object::*,
                 TDelayType Object::*, TConnectionType Object::*, TVertex * Object::*,
                 TTransition * Object::*>;

template <typename Object> struct TStoredField {
    const char* Name;
    TStoredFieldKind Kind;
    TStoredMember<Object> Member;
    TStoredFieldRole Role = srValue;
    // Whether the field has a line in the file, decided by fields before it; none: always.
    bool (*IsWritten)(const Object&) = nullptr;
};

// The fields of each kind of object in file order.
template <typename Object> std::span<const TStoredField<Object>> StoredFields();
template <> std::span<const TStoredField<TVertex>> StoredFields<TVertex>();
template <> std::span<const TStoredField<TTransition>> StoredFields<TTransition>();
template <> std::span<const TStoredField<TConnection>> StoredFields<TConnection>();

// The live value of a field of the given kind's C++ type.
template <typename Value, typename Object>
Value& StoredValue(const TStoredField<Object>& field, Object& object) {
    return object.*std::get<Value Object::*>(field.Member);
}
template <typename Value, typename Object>
const Value& StoredValue(const TStoredField<Object>& field, const Object& object) {
    return object.*std::get<Value Object::*>(field.Member);
}

template <typename Object> bool IsWritten(const TStoredField<Object>& field, const Object& object) {
    return field.IsWritten == nullptr || field.IsWritten(object);
}

// The connection's ends: links to other objects rather than values of the object.
inline bool IsEndField(TStoredFieldKind kind) {
    return kind == sfVertexEnd || kind == sfTransitionEnd;
}
// Copies, and compares, the value of one field between two records of a kind.
template <typename Object>
void CopyStoredValue(const TStoredField<Object>& field, Object& to, const Object& from) {
    std::visit([&](auto member) { to.*member = from.*member; }, field.Member);
}
template <typename Object>
bool SameStoredValue(const TStoredField<Object>& field, const Object& a, const Object& b) {
    return std::visit([&](auto member) { return a.*member == b.*member; }, field.Member);
}

// A record holding the stored values of the object and nothing else: every field whether the
// file would write it or not, the monitoring flag as it is but no statistics, and no ends for a
// connection (the caller links the copy).
TVertex StoredCopy(const TVertex& vertex);
TTransition StoredCopy(const TTransition& transition);
TConnection StoredCopy(const TConnection& connection);

// Gives an object just created in a net the stored values of `from`: the fields of role
// srCreation and a connection's ends stay as the creation made them, and a set monitoring flag
// starts the object's statistics at `time` once every value is in place.
void AssignStoredFields(TVertex& to, const TVertex& from, double time);
void AssignStoredFields(TTransition& to, const TTransition& from, double time);
void AssignStoredFields(TConnection& to, const TConnection& from, double time);
