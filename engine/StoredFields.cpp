#include "StoredFields.h"

#include "Monitoring.h"

#include <type_traits>

namespace {

// Only the spread delays keep their deviation in the file.
bool HasDeviation(const TTransition& transition) {
    return transition.DelayType == dtUniform || transition.DelayType == dtNormal;
}

// The formula is kept only while the connection counts by it.
bool HasFormula(const TConnection& connection) {
    return connection.UseFunction;
}

using TVertexField = TStoredField<TVertex>;
using TTransitionField = TStoredField<TTransition>;
using TConnectionField = TStoredField<TConnection>;

constexpr TVertexField kVertexFields[] = {
    {"Name", sfText, &TVertex::Name, srCreation},
    {"Marking", sfInteger, &TVertex::Marking},
    {"IsMonitoring", sfBoolean, &TVertex::IsMonitoring, srMonitoring},
    {"X", sfInteger, &TVertex::X},
    {"Y", sfInteger, &TVertex::Y},
    {"Radius", sfInteger, &TVertex::Radius},
    {"LineWidth", sfInteger, &TVertex::LineWidth},
    {"NameFontSize", sfInteger, &TVertex::NameFontSize},
    {"MarkFontSize", sfInteger, &TVertex::MarkFontSize},
};

constexpr TTransitionField kTransitionFields[] = {
    {"Name", sfText, &TTransition::Name, srCreation},
    {"IsMonitoring", sfBoolean, &TTransition::IsMonitoring, srMonitoring},
    {"DelayType", sfDelayType, &TTransition::DelayType},
    {"Delay", sfReal, &TTransition::Delay},
    {"Deviation", sfReal, &TTransition::Deviation, srValue, HasDeviation},
    {"Priority", sfInteger, &TTransition::Priority},
    {"Weight", sfReal, &TTransition::Weight},
    {"X", sfInteger, &TTransition::X},
    {"Y", sfInteger, &TTransition::Y},
    {"Width", sfInteger, &TTransition::Width},
    {"Height", sfInteger, &TTransition::Height},
    {"NameFontSize", sfInteger, &TTransition::NameFontSize},
    {"DelayFontSize", sfInteger, &TTransition::DelayFontSize},
};

constexpr TConnectionField kConnectionFields[] = {
    {"ConnectionType", sfConnectionType, &TConnection::ConnectionType, srCreation},
    {"Count", sfInteger, &TConnection::Count, srCreation},
    {"IsInform", sfBoolean, &TConnection::IsInform},
    {"UseFunction", sfBoolean, &TConnection::UseFunction},
    {"Formula", sfText, &TConnection::Formula, srValue, HasFormula},
    {"Vertex", sfVertexEnd, &TConnection::Vertex},
    {"Transition", sfTransitionEnd, &TConnection::Transition},
    {"Width", sfInteger, &TConnection::Width},
    {"Width1", sfInteger, &TConnection::Width1},
    {"Height1", sfInteger, &TConnection::Height1},
    {"CountFontSize", sfInteger, &TConnection::CountFontSize},
};

// The walkers read a member by its field's kind, so each kind must name its member's type.
template <typename Object, std::size_t Size>
constexpr bool KindsMatchMembers(const TStoredField<Object> (&fields)[Size]) {
    for (const TStoredField<Object>& field : fields)
        if (field.Member.index() != field.Kind)
            return false;
    return true;
}
static_assert(KindsMatchMembers(kVertexFields));
static_assert(KindsMatchMembers(kTransitionFields));
static_assert(KindsMatchMembers(kConnectionFields));

template <typename Object> Object CopyOfFields(const Object& from) {
    Object copy;
    for (const TStoredField<Object>& field : StoredFields<Object>())
        if (!IsEndField(field.Kind))
            CopyStoredValue(field, copy, from);
    return copy;
}

template <typename Object> void AssignFields(Object& to, const Object& from, double time) {
    bool monitored = false;
    for (const TStoredField<Object>& field : StoredFields<Object>()) {
        if (IsEndField(field.Kind) || field.Role == srCreation)
            continue;
        if (field.Role == srMonitoring)
            monitored = StoredValue<bool>(field, from);
        else
            CopyStoredValue(field, to, from);
    }
    if constexpr (!std::is_same_v<Object, TConnection>) {
        if (monitored)
            StartMonitoring(to, time);
    }
}

} // namespace

template <> std::span<const TVertexField> StoredFields<TVertex>() {
    return kVertexFields;
}

template <> std::span<const TTransitionField> StoredFields<TTransition>() {
    return kTransitionFields;
}

template <> std::span<const TConnectionField> StoredFields<TConnection>() {
    return kConnectionFields;
}

TVertex StoredCopy(const TVertex& vertex) {
    return CopyOfFields(vertex);
}
TTransition StoredCopy(const TTransition& transition) {
    return CopyOfFields(transition);
}
TConnection StoredCopy(const TConnection& connection) {
    return CopyOfFields(connection);
}

void AssignStoredFields(TVertex& to, const TVertex& from, double time) {
    AssignFields(to, from, time);
}
void AssignStoredFields(TTransition& to, const TTransition& from, double time) {
    AssignFields(to, from, time);
}
void AssignStoredFields(TConnection& to, const TConnection& from, double time) {
    AssignFields(to, from, time);
}
