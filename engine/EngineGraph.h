// The viewport and the visual options of the canvas. Plain data: the drawing code lives in view/.
#pragma once

#include "EngineTypes.h"

#include <cstdint>

struct TEngineDefaults;

// The visual settings; every new object copies its sizes and colours from here.
struct TEngineGraphOptions {
    TColor ScreenColor = 0;
    TColor TimeLineColor = 0;
    TColor GridColor = 0;
    std::int32_t ScreenUpdateInterval = 0;

    std::int32_t VertexRadius = 0;
    std::int32_t VertexLineWidth = 0;
    std::int32_t VertexNameFontSize = 0;
    std::int32_t VertexMarkFontSize = 0;
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
    TColor TransitionAmbientColor = 0;
    TColor TransitionPickColor = 0;
    TColor TransitionChoiceColor = 0;

    std::int32_t ConnectionWidth = 0;
    std::int32_t ConnectionWidth1 = 0;
    std::int32_t ConnectionHeight1 = 0;
    std::int32_t ConnectionCountFontSize = 0;
    std::int32_t ConnectionFlashOnDelay = 0;
    std::int32_t ConnectionFlashOffDelay = 0;
    TColor ConnectionAmbientColor = 0;
    TColor ConnectionPickColor = 0;
    TColor ConnectionChoiceColor = 0;
    TColor ConnectionFlashColor = 0;
};

struct TEngineGraph {
    TEngineGraphOptions Options;
    std::int32_t FrameTime = 0; // tick count (ms) of the last frame; fades are evaluated at it
};

// Copies the visual defaults into the options.
void ApplyGraphDefaults(TEngineGraphOptions& options, const TEngineDefaults& defaults);
