#include "PickedChoiced.h"
#include "Engine.h"

#include <gtest/gtest.h>

namespace {

// Fades start at the graph's frame time; each test looks at the colour a fade heads for.
class PickedChoicedTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.Graph.FrameTime = 1000;
        T.Color = O().TransitionAmbientColor;
        V.LineColor = O().VertexAmbientColor;
        V.FillColor = O().VertexAmbientColor1;
    }
    const TEngineGraphOptions& O() const { return Engine.Graph.Options; }

    TEngine Engine;
    TTransition T;
    TVertex V;
    TConnection C;
};

TEST_F(PickedChoicedTest, EnteringFadesIntoTheColoursOfTheListRole) {
    TEnginePickedChoiced picked, chosen;
    AddEntry(picked, &T, Engine.Graph, TListRole::Picked, TFade::Animate);
    EXPECT_EQ(T.Color, O().TransitionPickColor);
    EXPECT_EQ(T.FadeDuration, O().TransitionPickOnDelay);
    AddEntry(chosen, &V, Engine.Graph, TListRole::Chosen, TFade::Animate);
    EXPECT_EQ(V.LineColor, O().VertexChoiceColor);
    EXPECT_EQ(V.FillColor, O().VertexChoiceColor1);
    EXPECT_EQ(V.FadeDuration, O().VertexChoiceOnDelay);
    EXPECT_TRUE(ContainsObject(picked, &T));
    EXPECT_FALSE(ContainsObject(picked, &V));
}

TEST_F(PickedChoicedTest, InstantEntryAndRemovalLeaveTheColours) {
    TEnginePickedChoiced chosen;
    AddEntry(chosen, &T, Engine.Graph, TListRole::Chosen, TFade::Instant);
    EXPECT_EQ(T.Color, O().TransitionAmbientColor);
    EXPECT_FALSE(T.IsFading);
    RemoveEntryAt(chosen, 0, Engine.Graph, TListRole::Chosen, TFade::Instant);
    EXPECT_TRUE(chosen.Items.empty());
    EXPECT_FALSE(T.IsFading);
}

TEST_F(PickedChoicedTest, LeavingFadesBackToAmbientWithTheRolesOffDelay) {
    TEnginePickedChoiced chosen;
    AddEntry(chosen, &T, Engine.Graph, TListRole::Chosen, TFade::Animate);
    ASSERT_TRUE(RemoveObject(chosen, &T, &Engine.Graph, TListRole::Chosen, TFade::Animate));
    EXPECT_EQ(T.Color, O().TransitionAmbientColor);
    EXPECT_EQ(T.FadeDuration, O().TransitionChoiceOffDelay);
    EXPECT_FALSE(RemoveObject(chosen, &T, &Engine.Graph, TListRole::Chosen, TFade::Animate));
}

TEST_F(PickedChoicedTest, RemovalWithoutAGraphStartsNoFadeAndMovesTheLastEntryIntoTheSlot) {
    TEnginePickedChoiced picked;
    picked.Items = {&V, &T, &C};
    EXPECT_TRUE(RemoveObject(picked, &V));
    EXPECT_FALSE(V.IsFading);
    ASSERT_EQ(picked.Items.size(), 2u);
    EXPECT_EQ(picked.Items[0].Connection(), &C);
    EXPECT_EQ(IndexOfObject(picked, &T), 1);
    EXPECT_EQ(IndexOfObject(picked, &V), -1);
}

} // namespace
