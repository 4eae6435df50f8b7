// The viewport and the visual options of the canvas. Plain data: the drawing code lives in view/.
#pragma once

#include "EngineTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TEngineDefaults;
struct TFrameImage;  // an off-screen image, defined by the drawing code
struct TObjectLayer; // the kept picture of the objects, defined by the drawing code

struct TEngineGraphGridLevel {
    double ScaleFrom = 0;
    double ScaleTo = 0;
    std::int32_t Step = 0; // model units between lines
};

struct TEngineGraphGridOptions {
    std::vector<TEngineGraphGridLevel> Levels;
};

// The visual settings; every new object copies its sizes and colours from here.
struct TEngineGraphOptions {
    TColor ScreenColor = 0;
    TColor TimeLineColor = 0;
    TColor GridColor = 0;
    double MinScale = 0.0095;
    double MaxScale = 1.0;
    double NormalScale = 0.14285; // shown as 100 %
    std::int32_t ScreenUpdateInterval = 0;

    std::int32_t VertexRadius = 0;
    std::int32_t VertexLineWidth = 0;
    std::int32_t VertexNameFontSize = 0;
    std::int32_t VertexMarkFontSize = 0;
    std::int32_t VertexPickOnDelay = 300; // fade lengths, ms
    std::int32_t VertexPickOffDelay = 700;
    std::int32_t VertexChoiceOnDelay = 300;
    std::int32_t VertexChoiceOffDelay = 700;
    TColor VertexAmbientColor = 0;
    TColor VertexAmbientColor1 = 0;
    TColor VertexPickColor = 0;
    TColor VertexPickColor1 = 0;
    TColor VertexChoiceColor = 0;
    TColor VertexChoiceColor1 = 0;

    std::int32_t TransitionWidth = 0;
    std::int32_t TransitionHeight = 0;
    std::int32_t TransitionNameFontSize = 0;
    std::int32_t TransitionDelayFontSize = 0;
    std::int32_t TransitionPickOnDelay = 300;
    std::int32_t TransitionPickOffDelay = 700;
    std::int32_t TransitionChoiceOnDelay = 300;
    std::int32_t TransitionChoiceOffDelay = 700;
    TColor TransitionAmbientColor = 0;
    TColor TransitionPickColor = 0;
    TColor TransitionChoiceColor = 0;

    std::int32_t ConnectionWidth = 0;
    std::int32_t ConnectionWidth1 = 0;
    std::int32_t ConnectionHeight1 = 0;
    std::int32_t ConnectionArrowLength = 100;
    std::int32_t ConnectionCountFontSize = 0;
    std::int32_t ConnectionPickOnDelay = 300;
    std::int32_t ConnectionPickOffDelay = 700;
    std::int32_t ConnectionChoiceOnDelay = 300;
    std::int32_t ConnectionChoiceOffDelay = 700;
    std::int32_t ConnectionFlashOnDelay = 0;
    std::int32_t ConnectionFlashOffDelay = 0;
    double ConnectionArrowAngle = 16.0; // degrees
    TColor ConnectionAmbientColor = 0;
    TColor ConnectionPickColor = 0;
    TColor ConnectionChoiceColor = 0;
    TColor ConnectionFlashColor = 0;
    std::int32_t TimeLineHeight = 40; // pixels
    TEngineGraphGridOptions GridOptions;
};

// Where the editor window looks, how large it is, the zoom, the visual options and the images.
struct TEngineGraph {
    std::int32_t CenterX = 0; // model point at the centre of the window
    std::int32_t CenterY = 0;
    std::int32_t ScreenWidth = 0; // client size in pixels
    std::int32_t ScreenHeight = 0;
    std::int32_t VisibleLeft = 0; // model rectangle the window covers, set by every frame
    std::int32_t VisibleTop = 0;
    std::int32_t VisibleRight = 0;
    std::int32_t VisibleBottom = 0;
    double Scale = 0.14285; // pixels per model unit
    TEngineGraphOptions Options;
    std::shared_ptr<TFrameImage> BackImage;    // a frame is drawn into it
    std::shared_ptr<TFrameImage> FrontImage;   // the last finished frame
    std::shared_ptr<TObjectLayer> ObjectLayer; // the frames' background, grid and objects
    std::int32_t CursorX = 0;                  // last mouse position over the editor window, pixels
    std::int32_t CursorY = 0;
    std::int32_t FrameTime = 0; // tick count (ms) of the frame; fades are evaluated at it
};

// The seven grid levels, finest first.
TEngineGraphGridOptions DefaultGridOptions();

// Copies the visual defaults into the options.
void ApplyGraphDefaults(TEngineGraphOptions& options, const TEngineDefaults& defaults);
