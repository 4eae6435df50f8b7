// Pixel probes on rendered frames.
#include "Canvas.h"
#include "Frame.h"
#include "FrameImage.h"
#include "Geometry.h"
#include "NetObjects.h"
#include "ObjectCanvas.h"
#include "ObjectDrawing.h"
#include "Settings.h"
#include "Viewport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.GridEnabled = false;
        Engine.TimeLineEnabled = false;
        ResizeView(Engine.Graph, 400, 300);
    }
    TVertex* V(int x, int y) {
        return CreateVertex(Engine.Net, "", 0, x, y, &Engine.Graph.Options);
    }
    TTransition* T(int x, int y) {
        return CreateTransition(Engine.Net, "", x, 1, y, &Engine.Graph.Options);
    }
    TConnection* C(TConnectionType type, TVertex* v, TTransition* t, int count = 1) {
        return CreateConnection(Engine.Net, type, count, v, t, &Engine.Graph.Options);
    }
    const QImage& Frame() {
        DrawFrame(Engine);
        return Engine.Graph.FrontImage->Image;
    }
    QColor Pixel(TPoint screen) {
        return Engine.Graph.FrontImage->Image.pixelColor(screen.X, screen.Y);
    }
    TPoint Screen(int mx, int my) { return ModelToScreen(Engine.Graph, mx, my); }
    static bool Dark(QColor c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; }
    static bool Background(QColor c) { return c == QColor(180, 180, 180); }

    TEngine Engine;
};

TEST_F(DrawingTest, VertexHasAWhiteFillInsideABlackOutline) {
    V(0, 0);
    Frame();
    const TPoint c = Screen(0, 0);
    EXPECT_EQ(Pixel({c.X - 18, c.Y}), QColor(Qt::white));
    bool outline = false;
    for (int dx = 24; dx <= 28; ++dx)
        outline = outline || Dark(Pixel({c.X + dx, c.Y}));
    EXPECT_TRUE(outline);
    EXPECT_TRUE(Background(Pixel({c.X + 34, c.Y})));
    EXPECT_TRUE(Dark(Pixel({0, 0}))); // the border
    EXPECT_TRUE(Dark(Pixel({399, 299})));
}

// On a screen of device pixel ratio 2 the frame holds two device pixels a window pixel and the
// net is drawn at that resolution, not enlarged from a window-sized image.
TEST_F(DrawingTest, FrameHoldsTheDevicePixelsOfAHiDpiScreen) {
    V(0, 0);
    const QImage plain = Frame();
    ResizeView(Engine.Graph, 400, 300, 2);
    const QImage& sharp = Frame();
    EXPECT_EQ(sharp.size(), QSize(800, 600));
    EXPECT_EQ(sharp.devicePixelRatio(), 2);
    const TPoint c = Screen(0, 0);
    EXPECT_EQ(sharp.pixelColor(2 * (c.X - 18), 2 * c.Y), QColor(Qt::white));
    EXPECT_TRUE(Background(sharp.pixelColor(2 * (c.X + 34), 2 * c.Y)));
    // Every window pixel of the plain frame is a 2 x 2 block of the sharp one, give or take the
    // edges of the lines and letters that now fall between window pixels.
    int differing = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            differing += plain.pixel(x, y) != sharp.pixel(2 * x, 2 * y);
    EXPECT_LT(differing, 400);
}

TEST_F(DrawingTest, TransitionIsAFilledRectangle) {
    T(0, 0);
    Frame();
    const TPoint c = Screen(0, 0);
    EXPECT_TRUE(Dark(Pixel({c.X, c.Y + 10})));
    EXPECT_TRUE(Dark(Pixel({c.X - 1, c.Y - 25})));
    EXPECT_TRUE(Background(Pixel({c.X + 5, c.Y})));
}

TEST_F(DrawingTest, ConnectionMeetsTheTransitionAtEightyPercentOfTheHalfWidth) {
    TVertex* left = V(-1000, 0);
    TTransition* t = T(1000, 0);
    const TConnectionEnds toRight = ConnectionEnds(*C(ctVT, left, t));
    EXPECT_EQ(toRight.P2, (TPoint{990, 0}));
    EXPECT_EQ(toRight.P1, (TPoint{-810, 0}));
    TVertex* right = V(3000, 0);
    const TConnectionEnds fromRight = ConnectionEnds(*C(ctTV, right, t));
    EXPECT_EQ(fromRight.P1, (TPoint{1010, 0}));
    EXPECT_EQ(fromRight.P2, (TPoint{2810, 0}));
}

TEST_F(DrawingTest, VertexJoinedBothWaysShowsTwoParallelArrows) {
    TVertex* v = V(-1000, 0);
    TTransition* t = T(1000, 0);
    TConnection* there = C(ctVT, v, t);
    TConnection* home = C(ctTV, v, t);
    const TConnectionEnds forth = ConnectionEnds(*there);
    const TConnectionEnds back = ConnectionEnds(*home);
    EXPECT_EQ(forth.P2.Y, -back.P1.Y);
    EXPECT_NE(forth.P2.Y, 0);
    EXPECT_EQ(std::abs(forth.P2.Y), 133); // 0.7 of the radius, 190
    Engine.Graph.Scale = 0.5;
    Frame();
    const TPoint upper = Screen(0, -133), lower = Screen(0, 133), middle = Screen(0, 0);
    EXPECT_TRUE(Dark(Pixel(upper)));
    EXPECT_TRUE(Dark(Pixel(lower)));
    EXPECT_TRUE(Background(Pixel(middle)));

    TVertex* lonely = V(0, 0);
    lonely->Radius = 0; // no room for a pair: no offset
    TConnection* a = C(ctVT, lonely, t);
    C(ctTV, lonely, t);
    EXPECT_EQ(ConnectionEnds(*a).P2.Y, 0);
}

TEST_F(DrawingTest, InformationalConnectionIsDotted) {
    TConnection* c = C(ctVT, V(-1000, 0), T(1000, 0));
    c->IsInform = true;
    Engine.Graph.Scale = 0.5;
    Frame();
    int dark = 0, background = 0;
    for (int mx = -300; mx <= 300; mx += 2) {
        const QColor p = Pixel(Screen(mx, 0));
        dark += Dark(p);
        background += Background(p);
    }
    EXPECT_GT(dark, 30);
    EXPECT_GT(background, 30);
}

TEST_F(DrawingTest, CountAndFormulaShowASlashAndText) {
    TConnection* c = C(ctVT, V(-1000, 0), T(1000, 0));
    Engine.Graph.Scale = 0.5;
    const QImage plain = Frame().copy();
    c->Count = 3;
    const QImage three = Frame().copy();
    c->Count = 1;
    c->UseFunction = true;
    c->Formula = "M(P1)*2";
    const QImage formula = Frame().copy();
    // Around the middle of the line, above it, where the slash and its text stand.
    const TPoint from = Screen(-200, -200), to = Screen(200, 0);
    auto differs = [&](const QImage& a, const QImage& b) {
        int n = 0;
        for (int x = from.X; x < to.X; ++x)
            for (int y = from.Y; y < to.Y; ++y)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };
    EXPECT_GT(differs(plain, three), 20);
    EXPECT_GT(differs(three, formula), 20);
}

TEST_F(DrawingTest, ObjectsFarOutsideTheViewAreSkipped) {
    TVertex* near = V(0, 0);
    TVertex* far = V(0, 0);
    TTransition* farT = T(0, 0);
    Frame();
    far->X = Engine.Graph.VisibleRight + 8 * far->Radius + 1;
    near->X = Engine.Graph.VisibleRight + near->Radius / 2;
    farT->Y = Engine.Graph.VisibleBottom + farT->Height + 501;
    QImage image = MakeFrameImage(400, 300);
    QPainter painter(&image);
    TObjectCanvas canvas(painter, 400, 300);
    EXPECT_TRUE(DrawVertex(*near, canvas, Engine.Graph));
    EXPECT_FALSE(DrawVertex(*far, canvas, Engine.Graph));
    EXPECT_FALSE(DrawTransition(*farT, canvas, Engine.Graph));
    // Just beyond the right edge only the name could show, and it does not reach the frame.
    far->X = Engine.Graph.VisibleRight + 2 * far->Radius;
    EXPECT_FALSE(DrawVertex(*far, canvas, Engine.Graph));
}

TEST_F(DrawingTest, ConnectionCrossingTheViewIsDrawnWithBothEndsFarAway) {
    C(ctVT, V(-5000, 300), T(5000, 300));
    TConnection* diagonal = C(ctTV, V(5000, -5000), T(-5000, 5000));
    Frame();
    EXPECT_LT(Engine.Graph.VisibleRight + 800, 4000); // both ends lie far beyond the margins
    const TPoint row = Screen(0, 300);
    for (int x : {5, 200, 390}) {
        bool line = false;
        for (int dy = -1; dy <= 1; ++dy)
            line = line || !Background(Pixel({x, row.Y + dy}));
        EXPECT_TRUE(line) << "x " << x;
    }
    QImage image = MakeFrameImage(400, 300);
    QPainter painter(&image);
    TObjectCanvas canvas(painter, 400, 300);
    EXPECT_TRUE(DrawConnection(*diagonal, canvas, Engine));
}

TEST_F(DrawingTest, ParameterTextsFollowTheDelayLaw) {
    TTransition* t = T(0, 0);
    t->Delay = 1.5;
    EXPECT_EQ(TransitionParameterText(*t), "t=1.5");
    t->DelayType = dtNormal;
    t->Deviation = 0.2;
    EXPECT_EQ(TransitionParameterText(*t), "t=1.5±0.2(norm)");
    t->DelayType = dtUniform;
    EXPECT_EQ(TransitionParameterText(*t), "t=1.5±0.2");
    t->DelayType = dtExponential;
    EXPECT_EQ(TransitionParameterText(*t), "t=1.5(exp)");
}

TEST_F(DrawingTest, TimeLineAndGridAreDrawnWhenSwitchedOn) {
    Engine.GridEnabled = true;
    Engine.TimeLineEnabled = true;
    Frame();
    const TPoint origin = Screen(0, 0);
    EXPECT_EQ(Pixel({origin.X, 20}), QColor(150, 150, 150)); // the vertical axis
    EXPECT_EQ(Pixel({200, 300 - 40}), QColor(50, 50, 50));   // the top of the time-line band
    EXPECT_EQ(Pixel({200, 300 - 22}), QColor(50, 50, 50));   // the centre marker
}

TEST(Fonts, FallBackToInstalledFaces) {
    const QFontInfo mono(ObjectFont(10));
    EXPECT_TRUE(mono.fixedPitch()) << mono.family().toStdString();
    EXPECT_TRUE(mono.bold());
}

} // namespace
