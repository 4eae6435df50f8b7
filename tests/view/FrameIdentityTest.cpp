// The canvas skips what cannot be seen and reuses its fonts and measures; every frame must still
// be the frame drawn object by object (ReferenceFrame), pixel for pixel: the sample nets at the
// zoom limits and between, scrolled so that objects and texts stand across the edges and long
// connections cross the view with both ends outside, with chosen and picked objects, the grid
// and the time line on and off, and while a run changes markings and flashes connections.
#include "Canvas.h"
#include "Fades.h"
#include "Frame.h"
#include "FrameImage.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "ObjectLayer.h"
#include "ReferenceFrame.h"
#include "Settings.h"
#include "SimulationStep.h"
#include "Viewport.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
// The zooms shown as 7 %, 50 %, 100 %, 300 % and 700 %.
const double kZooms[] = {0.07, 0.5, 1, 3, 7};

using TDrawer = std::function<void(TEngine&, QPainter&, TFrameAids)>;

QImage DrawWith(TEngine& engine, const TDrawer& draw) {
    TEngineGraph& g = engine.Graph;
    ClearBackImage(g, g.Options.ScreenColor);
    SetVisibleRectangle(g);
    QPainter canvas(&g.BackImage->Image);
    draw(engine, canvas, TFrameAids::Shown);
    canvas.end();
    return g.BackImage->Image;
}

// Where two frames differ, for the failure message.
std::string Difference(const QImage& a, const QImage& b) {
    int count = 0;
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++count;
                box |= QRect(x, y, 1, 1);
            }
    return std::to_string(count) + " pixels differ within " + std::to_string(box.left()) + "," +
           std::to_string(box.top()) + " - " + std::to_string(box.right()) + "," +
           std::to_string(box.bottom());
}

std::vector<std::filesystem::path> SampleNets() {
    std::vector<std::filesystem::path> nets;
    for (const char* folder : {KVL_SOURCE_DIR "/examples", KVL_SOURCE_DIR "/bench/nets"})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".kvl")
                nets.push_back(entry.path());
    return nets;
}

// Engines holding the same net, one drawn by the canvas and two by the reference, at the same
// ticks and views, so that fades and flashes run alike in all.
class FrameIdentityTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (TEngine* engine : {&Product, &Reference, &Warm}) {
            InitEngine(*engine);
            ResizeView(engine->Graph, kWidth, kHeight);
        }
    }
    void Load(const std::filesystem::path& path) {
        for (TEngine* engine : {&Product, &Reference, &Warm}) {
            ASSERT_TRUE(LoadNet(*engine, path)) << path;
            ResizeView(engine->Graph, kWidth, kHeight);
        }
    }
    template <typename Change> void Both(Change&& change) {
        change(Product);
        change(Reference);
        change(Warm);
    }
    void View(double zoom, std::int32_t centerX, std::int32_t centerY) {
        Both([&](TEngine& e) {
            e.Graph.Scale = std::clamp(zoom * e.Graph.Options.NormalScale, e.Graph.Options.MinScale,
                                       e.Graph.Options.MaxScale);
            e.Graph.CenterX = centerX;
            e.Graph.CenterY = centerY;
        });
    }
    // The product's frame is drawn afresh by DrawFrameOn, or as the editor window draws it: over
    // the kept object layer.
    enum class TProductFrame { Afresh, Layered };

    void ExpectSameFrame(const std::string& what, TProductFrame drawing = TProductFrame::Afresh) {
        Both([&](TEngine& e) { e.Graph.FrameTime = Tick; });
        // Qt draws a glyph it meets for the first time a little differently from the same glyph
        // later (its glyph caches fill as texts are drawn): a frame drawn first and thrown away
        // brings every glyph of the view into them, and the two frames compared both meet
        // them again.
        DrawWith(Warm, ReferenceDrawFrameOn);
        const QImage reference = DrawWith(Reference, ReferenceDrawFrameOn);
        QImage product;
        if (drawing == TProductFrame::Afresh) {
            product = DrawWith(Product, DrawFrameOn);
        } else {
            DrawFrame(Product, Tick);
            product = Product.Graph.FrontImage->Image;
            ++Repaints[static_cast<int>(Product.Graph.ObjectLayer->LastRepaint)];
        }
        ++Frames;
        ASSERT_TRUE(product == reference) << what << ": " << Difference(product, reference);
    }
    // Model points to centre the view on: the middle, and each of a few objects put at each
    // edge of the frame and in the middle of a few connections.
    std::vector<TPoint> Centres(double zoom) {
        const double scale = Product.Graph.Scale;
        const std::int32_t halfW = RoundToInt(kWidth / 2.0 / scale);
        const std::int32_t halfH = RoundToInt(kHeight / 2.0 / scale);
        std::vector<TPoint> centres{{0, 0}};
        const auto& vertices = Product.Net.Vertices;
        const auto& transitions = Product.Net.Transitions;
        std::vector<TPoint> objects;
        for (std::size_t i = 0; i < vertices.size() && i < 3; ++i)
            objects.push_back({vertices[i]->X, vertices[i]->Y});
        for (std::size_t i = 0; i < transitions.size() && i < 3; ++i)
            objects.push_back({transitions[i]->X, transitions[i]->Y});
        for (TPoint p : objects)
            for (TPoint edge : {TPoint{halfW, 0}, TPoint{-halfW, 0}, TPoint{0, halfH},
                                TPoint{0, -halfH}, TPoint{halfW + 40, halfH - 30}})
                centres.push_back({p.X + edge.X, p.Y + edge.Y});
        const auto& connections = Product.Net.Connections;
        if (zoom >= 1)
            for (std::size_t i = 0; i < connections.size() && i < 4; ++i) {
                const TConnection& c = *connections[i];
                centres.push_back(
                    {(c.Vertex->X + c.Transition->X) / 2, (c.Vertex->Y + c.Transition->Y) / 2});
            }
        return centres;
    }
    void SweepViews(const std::string& net) {
        for (double zoom : kZooms) {
            View(zoom, 0, 0);
            for (TPoint centre : Centres(zoom)) {
                View(zoom, centre.X, centre.Y);
                ExpectSameFrame(net + " zoom " + std::to_string(zoom) + " centre " +
                                std::to_string(centre.X) + "," + std::to_string(centre.Y));
                if (HasFatalFailure())
                    return;
            }
        }
    }

    TEngine Product;
    TEngine Reference;
    TEngine Warm;
    std::int32_t Tick = 100000;
    int Frames = 0;
    // Layered frames by how the layer was brought up to date (TLayerRepaint).
    int Repaints[3] = {0, 0, 0};
};

TEST_F(FrameIdentityTest, SampleNetsAtEveryZoomAndScroll) {
    const auto nets = SampleNets();
    ASSERT_GE(nets.size(), 6u);
    for (const auto& path : nets) {
        Load(path);
        for (bool aids : {true, false}) {
            Both([&](TEngine& e) {
                e.GridEnabled = aids;
                e.TimeLineEnabled = aids;
            });
            SweepViews(path.filename().string() + (aids ? " grid" : " plain"));
            if (HasFatalFailure())
                return;
        }
    }
    EXPECT_GT(Frames, 500);
}

// Objects with long Cyrillic names, large markings and odd sizes, and connections far longer
// than the view, counted and weighted by formulas, solid and informational.
TEST_F(FrameIdentityTest, LongTextsLongConnectionsAndChosenObjects) {
    Both([](TEngine& e) {
        const TEngineGraphOptions* o = &e.Graph.Options;
        TVertex* west =
            CreateVertex(e.Net, "Довга назва вершини, що виступає за край", 123456, -20000, 300, o);
        TVertex* north = CreateVertex(e.Net, "Ї", 7, 900, -15000, o);
        TTransition* east =
            CreateTransition(e.Net, "Перехід з дуже довгою назвою", 20000, 2.5, -200, o);
        TTransition* south = CreateTransition(e.Net, "T", -700, 0.1, 16000, o);
        east->DelayType = dtNormal;
        east->Deviation = 0.25;
        north->LineWidth = 60;
        north->NameFontSize = 160;
        south->DelayFontSize = 150;
        CreateConnection(e.Net, ctVT, 3, west, east, o);
        CreateConnection(e.Net, ctTV, 1, west, east, o);
        TConnection* formula = CreateConnection(e.Net, ctVT, 1, north, south, o);
        formula->UseFunction = true;
        formula->Formula = "x*2+1";
        TConnection* inform = CreateConnection(e.Net, ctVT, 2, west, south, o);
        inform->IsInform = true;
        inform->Width = 40;
        CreateConnection(e.Net, ctTV, 5, north, east, o);
        ApplyColors(e);
        e.Graph.FrameTime = 100000;
        AddEntry(e.Choiced, west, e.Graph, TListRole::Chosen, TFade::Animate);
        AddEntry(e.Picked, east, e.Graph, TListRole::Picked, TFade::Animate);
        AddEntry(e.Choiced, formula, e.Graph, TListRole::Chosen, TFade::Instant);
    });
    for (std::int32_t tick : {100000, 100150, 103000}) {
        Tick = tick;
        for (double zoom : kZooms)
            for (TPoint centre : {TPoint{0, 0}, TPoint{0, 300}, TPoint{-10000, 200},
                                  TPoint{10000, -100}, TPoint{900, -7000}, TPoint{-350, 8000},
                                  TPoint{20000, -200}, TPoint{-20000, 300}, TPoint{900, -15000}}) {
                View(zoom, centre.X, centre.Y);
                for (std::int32_t shift : {-1, 0, 1, 37})
                    for (TPoint step : {TPoint{1, 0}, TPoint{0, 1}}) {
                        const std::int32_t unit = RoundToInt(shift / Product.Graph.Scale);
                        Both([&](TEngine& e) {
                            e.Graph.CenterX = centre.X + step.X * unit;
                            e.Graph.CenterY = centre.Y + step.Y * unit;
                        });
                        ExpectSameFrame("tick " + std::to_string(tick) + " zoom " +
                                        std::to_string(zoom) + " centre " +
                                        std::to_string(Product.Graph.CenterX) + "," +
                                        std::to_string(Product.Graph.CenterY));
                        if (HasFatalFailure())
                            return;
                    }
            }
    }
}

// A run changes markings and buffer counts and flashes the connections that tokens pass; the
// views that show part of the net keep the fades of the connections out of sight in step too.
TEST_F(FrameIdentityTest, FramesDuringARun) {
    for (const char* name :
         {"/examples/production_line.kvl", "/bench/nets/mixed.kvl", "/examples/conflict.kvl"}) {
        Load(std::filesystem::path(KVL_SOURCE_DIR) / (std::string(name).substr(1)));
        Tick = 200000;
        for (int step = 0; step < 40; ++step) {
            Both([&](TEngine& e) {
                e.Graph.FrameTime = Tick;
                SimulationStep(e.Net, true, e.Net.ModelTime, 0.7, true, e, NoTimeBudget);
            });
            const double zoom = kZooms[step % 5];
            const auto centres = Centres(zoom);
            const TPoint centre = centres[step % centres.size()];
            View(zoom, centre.X, centre.Y);
            Tick += 35;
            ExpectSameFrame(std::string(name) + " step " + std::to_string(step));
            if (HasFatalFailure())
                return;
        }
    }
}

// The editor window draws its frames over the kept picture of the objects and repaints only
// about the objects that change: during runs, with the view still and moving, every frame is
// still the frame drawn afresh.
TEST_F(FrameIdentityTest, LayeredFramesDuringARun) {
    for (const char* name :
         {"examples/production_line.kvl", "bench/nets/mixed.kvl", "examples/conflict.kvl"}) {
        Load(std::filesystem::path(KVL_SOURCE_DIR) / name);
        Tick = 300000;
        for (int step = 0; step < 48; ++step) {
            Both([&](TEngine& e) {
                e.Graph.FrameTime = Tick;
                SimulationStep(e.Net, true, e.Net.ModelTime, 0.7, true, e, NoTimeBudget);
            });
            // The view holds for eight frames at a time, so that most frames repaint a part.
            const double zoom = kZooms[(step / 8) % 5];
            const auto centres = Centres(zoom);
            const TPoint centre = centres[(step / 8) % centres.size()];
            View(zoom, centre.X, centre.Y);
            Tick += step % 3 == 0 ? 0 : 35;
            ExpectSameFrame(std::string(name) + " step " + std::to_string(step),
                            TProductFrame::Layered);
            if (HasFatalFailure())
                return;
        }
    }
    EXPECT_GT(Repaints[static_cast<int>(TLayerRepaint::Part)], 20);
    EXPECT_GT(Repaints[static_cast<int>(TLayerRepaint::Whole)], 5);
}

// Every kind of edit between two frames of one view shows in the next layered frame: moves,
// texts, sizes, counts, kinds, deletions and additions, fading choices, options and the grid.
TEST_F(FrameIdentityTest, LayeredFramesFollowEdits) {
    using TEdit = std::function<void(TEngine&)>;
    const std::vector<std::pair<std::string, TEdit>> edits = {
        {"nothing", [](TEngine&) {}},
        {"move a vertex", [](TEngine& e) { e.Net.Vertices[0]->X += 37; }},
        {"move a transition",
         [](TEngine& e) {
             e.Net.Transitions[1]->Y -= 120;
             MarkShapesChanged(e.Net);
         }},
        {"rename a transition", [](TEngine& e) { e.Net.Transitions[0]->Name = "Нова назва"; }},
        {"rename a vertex", [](TEngine& e) { e.Net.Vertices[1]->Name = "W"; }},
        {"mark a vertex", [](TEngine& e) { e.Net.Vertices[2]->Marking = 12345; }},
        {"grow a marking font", [](TEngine& e) { e.Net.Vertices[2]->MarkFontSize += 6; }},
        {"thicken a vertex", [](TEngine& e) { e.Net.Vertices[0]->LineWidth += 20; }},
        {"widen a transition", [](TEngine& e) { e.Net.Transitions[0]->Width += 50; }},
        {"delay law",
         [](TEngine& e) {
             e.Net.Transitions[0]->DelayType = dtNormal;
             e.Net.Transitions[0]->Deviation = 0.5;
         }},
        {"count a connection", [](TEngine& e) { e.Net.Connections[0]->Count = 4; }},
        {"formula on a connection",
         [](TEngine& e) {
             e.Net.Connections[0]->UseFunction = true;
             e.Net.Connections[0]->Formula = "x+1";
         }},
        {"informational connection", [](TEngine& e) { e.Net.Connections[1]->IsInform = true; }},
        {"delete a connection", [](TEngine& e) { DeleteConnection(e.Net, 2, &e); }},
        {"delete a vertex", [](TEngine& e) { DeleteVertex(e.Net, 0, &e); }},
        {"add a vertex",
         [](TEngine& e) { CreateVertex(e.Net, "Нова", 3, 150, -80, &e.Graph.Options); }},
        {"choose a transition",
         [](TEngine& e) {
             AddEntry(e.Choiced, e.Net.Transitions[0].get(), e.Graph, TListRole::Chosen,
                      TFade::Animate);
         }},
        {"pick a connection",
         [](TEngine& e) {
             AddEntry(e.Picked, e.Net.Connections[0].get(), e.Graph, TListRole::Picked,
                      TFade::Animate);
         }},
        {"screen colour",
         [](TEngine& e) { e.Graph.Options.ScreenColor = MakeColor(250, 240, 200); }},
        {"grid off", [](TEngine& e) { e.GridEnabled = false; }},
        {"grid on", [](TEngine& e) { e.GridEnabled = true; }},
        {"arrow length", [](TEngine& e) { e.Graph.Options.ConnectionArrowLength += 40; }},
    };
    for (double zoom : {1.0, 0.5, 3.0}) {
        Load(std::filesystem::path(KVL_SOURCE_DIR) / "examples/production_line.kvl");
        Both([](TEngine& e) { e.GridEnabled = true; });
        View(zoom, 0, 0);
        for (const auto& [what, edit] : edits) {
            Both(edit);
            // Fades move on between frames.
            for (int frame = 0; frame < 3; ++frame) {
                Tick += 120;
                ExpectSameFrame(what + " zoom " + std::to_string(zoom) + " frame " +
                                    std::to_string(frame),
                                TProductFrame::Layered);
                if (HasFatalFailure())
                    return;
            }
        }
    }
    EXPECT_GT(Repaints[static_cast<int>(TLayerRepaint::Part)], 10);
    EXPECT_GT(Repaints[static_cast<int>(TLayerRepaint::Nothing)], 10);
}

} // namespace
