#include "StoredFields.h"
#include "NetBuffer.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// Gives every described field a value that neither a default record nor the creating calls
// give, so a field that a walker drops shows up as a difference.
template <typename Object> void FillEveryField(Object& object, int first) {
    int n = first;
    for (const TStoredField<Object>& field : StoredFields<Object>()) {
        ++n;
        switch (field.Kind) {
        case sfText:
            StoredValue<std::string>(field, object) = "F" + std::to_string(n);
            break;
        case sfInteger:
            StoredValue<std::int32_t>(field, object) = 1000 + n;
            break;
        case sfBoolean:
            StoredValue<bool>(field, object) = true;
            break;
        case sfReal:
            StoredValue<double>(field, object) = n + 0.375;
            break;
        case sfDelayType:
            StoredValue<TDelayType>(field, object) = dtNormal; // keeps the deviation in the file
            break;
        case sfConnectionType:
            StoredValue<TConnectionType>(field, object) = ctTV;
            break;
        case sfVertexEnd:
        case sfTransitionEnd:
            break; // the ends are made by the creating call
        }
    }
}

template <typename Value, typename Object>
void ExpectSameValue(const TStoredField<Object>& field, const Object& actual,
                     const Object& expected) {
    EXPECT_EQ(StoredValue<Value>(field, actual), StoredValue<Value>(field, expected)) << field.Name;
}

template <typename End, typename Object>
void ExpectSameEnd(const TStoredField<Object>& field, const Object& actual,
                   const Object& expected) {
    EXPECT_EQ(StoredValue<End*>(field, actual)->Index, StoredValue<End*>(field, expected)->Index)
        << field.Name;
}

// Compares every described field but the named ones; ends compare by position.
template <typename Object>
void ExpectSameFields(const Object& actual, const Object& expected,
                      const std::set<std::string>& except = {}) {
    for (const TStoredField<Object>& field : StoredFields<Object>()) {
        if (except.contains(field.Name))
            continue;
        switch (field.Kind) {
        case sfText:
            ExpectSameValue<std::string>(field, actual, expected);
            break;
        case sfInteger:
            ExpectSameValue<std::int32_t>(field, actual, expected);
            break;
        case sfBoolean:
            ExpectSameValue<bool>(field, actual, expected);
            break;
        case sfReal:
            ExpectSameValue<double>(field, actual, expected);
            break;
        case sfDelayType:
            ExpectSameValue<TDelayType>(field, actual, expected);
            break;
        case sfConnectionType:
            ExpectSameValue<TConnectionType>(field, actual, expected);
            break;
        case sfVertexEnd:
            ExpectSameEnd<TVertex>(field, actual, expected);
            break;
        case sfTransitionEnd:
            ExpectSameEnd<TTransition>(field, actual, expected);
            break;
        }
    }
}

// A vertex, a transition and a connection between them, each with every stored field set.
class StoredFieldsWalk : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Vertex = CreateVertex(Engine.Net, "", 0, 0, 0, nullptr);
        Transition = CreateTransition(Engine.Net, "", 0, 1, 0, nullptr);
        Connection = CreateConnection(Engine.Net, ctTV, 1, Vertex, Transition, nullptr);
        FillEveryField(*Vertex, 0);
        FillEveryField(*Transition, 100);
        FillEveryField(*Connection, 200);
    }

    TEngine Engine;
    TVertex* Vertex = nullptr;
    TTransition* Transition = nullptr;
    TConnection* Connection = nullptr;
};

TEST_F(StoredFieldsWalk, SaveAndLoadKeepEveryDescribedField) {
    TTempFolder folder;
    SaveNet(Engine, folder / "net.kvl");
    TEngine loaded;
    InitEngine(loaded);
    LoadNet(loaded, folder / "net.kvl");

    ASSERT_EQ(loaded.Net.Connections.size(), 1u);
    ExpectSameFields(*loaded.Net.Vertices[0], *Vertex);
    ExpectSameFields(*loaded.Net.Transitions[0], *Transition);
    ExpectSameFields(*loaded.Net.Connections[0], *Connection);
}

TEST_F(StoredFieldsWalk, CopyAndPasteKeepEveryDescribedField) {
    Engine.Choiced.Items = {Vertex, Transition, Connection};
    CopyFragment(Engine, 0, 0);
    PasteFragment(Engine, 0, 0); // at the copy point: the positions stay

    ASSERT_EQ(Engine.Net.Connections.size(), 2u);
    const TVertex& vertex = *Engine.Net.Vertices[1];
    const TTransition& transition = *Engine.Net.Transitions[1];
    const TConnection& connection = *Engine.Net.Connections[1];
    ExpectSameFields(vertex, *Vertex, {"Name"});
    ExpectSameFields(transition, *Transition, {"Name"});
    ExpectSameFields(connection, *Connection, {"Vertex", "Transition"});
    EXPECT_NE(vertex.Name, Vertex->Name); // the copies get names of their own
    EXPECT_NE(transition.Name, Transition->Name);
    EXPECT_EQ(connection.Vertex, &vertex);
    EXPECT_EQ(connection.Transition, &transition);
}

} // namespace
