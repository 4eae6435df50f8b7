#include "ObjectRef.h"
#include "NetRecords.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectRef, CarriesTheKindCodeOfItsObject) {
    TVertex v;
    TTransition t;
    TConnection c;
    EXPECT_EQ(TObjectRef().Kind(), okNone);
    EXPECT_EQ(TObjectRef(&v).Kind(), okVertex);
    EXPECT_EQ(TObjectRef(&t).Kind(), okTransition);
    EXPECT_EQ(TObjectRef(&c).Kind(), okConnection);
}

TEST(ObjectRef, GivesNoObjectWhenAskedForAnotherKind) {
    TVertex v;
    TTransition t;
    const TObjectRef vertex(&v);
    EXPECT_EQ(vertex.Vertex(), &v);
    EXPECT_EQ(vertex.Transition(), nullptr);
    EXPECT_EQ(vertex.Connection(), nullptr);
    const TObjectRef transition(&t);
    EXPECT_EQ(transition.Transition(), &t);
    EXPECT_EQ(transition.Vertex(), nullptr);
}

TEST(ObjectRef, NullPointerRefersToNothing) {
    const TObjectRef none(static_cast<TVertex*>(nullptr));
    EXPECT_FALSE(none);
    EXPECT_EQ(none.Kind(), okNone);
    EXPECT_EQ(none, TObjectRef());
    TVertex v;
    EXPECT_TRUE(TObjectRef(&v));
}

TEST(ObjectRef, EqualOnlyForTheSameObject) {
    TVertex a, b;
    TTransition t;
    EXPECT_EQ(TObjectRef(&a), TObjectRef(&a));
    EXPECT_NE(TObjectRef(&a), TObjectRef(&b));
    EXPECT_NE(TObjectRef(&a), TObjectRef(&t));
    EXPECT_NE(TObjectRef(&a), TObjectRef());
}

} // namespace
