// The picture under every frame of the editor window: background, grid and objects, kept from
// frame to frame. A frame whose view is that of the last one repaints only about the objects
// whose look changed (a run changes few of them between frames); any other frame repaints it
// whole. The pixels are those of drawing the whole frame afresh.
#pragma once

#include "Engine.h"
#include "ObjectCanvas.h"

#include <QImage>

#include <cstdint>
#include <vector>

// What decides the picture but the objects: the view, the images' size and the options drawn.
struct TLayerView {
    std::int32_t CenterX = 0;
    std::int32_t CenterY = 0;
    double Scale = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    double PixelRatio = 0;
    bool Grid = false;
    TColor ScreenColor = 0;
    TColor GridColor = 0;
    std::vector<TEngineGraphGridLevel> GridLevels;
    std::int32_t ArrowLength = 0;
    double ArrowAngle = 0;

    bool operator==(const TLayerView& other) const;
};

// How the last update brought the picture up to date.
enum class TLayerRepaint {
    Nothing, // no object changed its look
    Part,    // the boxes of the changed objects were repainted
    Whole,   // the whole picture was painted
};

struct TObjectLayer {
    // An object as the picture shows it: its look and the box its pixels lie in.
    struct TShownObject {
        std::uint64_t Look = 0;
        TScreenBox Box = kNothingCovered;
    };

    QImage Image;
    QSize ImageSize; // in window pixels
    TLayerView View;
    bool Painted = false;
    // Connections, vertices and transitions in the order they are drawn.
    std::vector<TShownObject> Objects;
    TLayerRepaint LastRepaint = TLayerRepaint::Whole;
};

// Brings the graph's object layer up to date with the net and the view of the frame (the
// graph's visible rectangle and FrameTime set) and returns its picture.
const QImage& UpdateObjectLayer(TEngine& engine);
