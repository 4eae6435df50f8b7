#include "Fades.h"
#include "Engine.h"

#include <gtest/gtest.h>

namespace {

TEST(Fades, HalfwayMixesEveryChannel) {
    TTransition t;
    t.Color = MakeColor(0, 0, 0);
    StartFade(t, 1000, 300, MakeColor(200, 100, 51));
    EXPECT_EQ(FadeColor(t, 1150), MakeColor(100, 50, 26)); // 25.5 rounds to even
    EXPECT_TRUE(t.IsFading);
    EXPECT_EQ(FadeColor(t, 1300), MakeColor(200, 100, 51));
    EXPECT_FALSE(t.IsFading);
}

TEST(Fades, AnInterruptedFadeContinuesFromWhereItWas) {
    TVertex v;
    v.LineColor = MakeColor(0, 0, 0);
    v.FillColor = MakeColor(255, 255, 255);
    StartFade(v, 0, 300, {MakeColor(100, 100, 100), MakeColor(55, 55, 55)});
    StartFade(v, 150, 700, {MakeColor(0, 0, 0), MakeColor(255, 255, 255)});
    EXPECT_EQ(v.LineColorFrom, MakeColor(50, 50, 50));
    EXPECT_EQ(v.FillColorFrom, MakeColor(155, 155, 155));
    const TVertexColors start = FadeColor(v, 150);
    EXPECT_EQ(start.Line, MakeColor(50, 50, 50)); // not the full pick colour
}

TEST(Fades, FlashRisesThenSettlesBackToTheStateColour) {
    TEngine engine;
    InitEngine(engine);
    TConnection c;
    c.Color = engine.Graph.Options.ConnectionAmbientColor;
    engine.Graph.FrameTime = 1000;
    StartFlash(c, engine.Graph);
    EXPECT_TRUE(c.IsFlashing);
    EXPECT_EQ(c.Color, engine.Graph.Options.ConnectionFlashColor);
    engine.Graph.FrameTime = 1040; // still rising: nothing settles
    SettleConnectionColor(c, engine);
    EXPECT_EQ(c.Color, engine.Graph.Options.ConnectionFlashColor);
    engine.Graph.FrameTime = 1080;
    engine.Choiced.Items.push_back(&c);
    SettleConnectionColor(c, engine);
    EXPECT_FALSE(c.IsFlashing);
    EXPECT_EQ(c.Color, engine.Graph.Options.ConnectionChoiceColor);
    EXPECT_EQ(c.FadeDuration, engine.Graph.Options.ConnectionFlashOffDelay);
    EXPECT_EQ(FadeColor(c, 1080), engine.Graph.Options.ConnectionFlashColor);
}

} // namespace
