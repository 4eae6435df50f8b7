// The built-in default of every setting, held once in the engine record and never changed.
#pragma once

#include "EngineTypes.h"

#include <cstdint>

struct TEngineDefaults {
    bool TimeLineEnabled = true;
    bool GridEnabled = true;
    bool ConflictCheck = true;
    bool DoVertexHistorySimple = true;
    bool DoTransitionHistorySimple = true;

    std::int32_t BaseVertexMark = 0;
    std::int32_t ScreenUpdateInterval = 14; // milliseconds
    std::int32_t VertexHistoryNormal = 2000;
    std::int32_t TransitionHistoryNormal = 2000;
    double BaseTransitionDelay = 0;

    TColor ScreenColor = MakeColor(180, 180, 180);
    TColor TimeLineColor = MakeColor(50, 50, 50);
    TColor GridColor = MakeColor(150, 150, 150);
    TColor VertexAmbientColor = MakeColor(0, 0, 0);
    TColor VertexPickColor = MakeColor(105, 150, 205);
    TColor VertexChoiceColor = MakeColor(70, 135, 195);
    TColor VertexAmbientColor1 = MakeColor(255, 255, 255);
    TColor VertexPickColor1 = MakeColor(220, 240, 255);
    TColor VertexChoiceColor1 = MakeColor(190, 205, 230);
    TColor TransitionAmbientColor = MakeColor(0, 0, 0);
    TColor TransitionPickColor = MakeColor(105, 150, 205);
    TColor TransitionChoiceColor = MakeColor(70, 135, 195);
    TColor ConnectionAmbientColor = MakeColor(0, 0, 0);
    TColor ConnectionPickColor = MakeColor(105, 150, 205);
    TColor ConnectionChoiceColor = MakeColor(70, 135, 195);
    TColor ConnectionFlashColor = MakeColor(255, 80, 80);

    std::int32_t VertexRadius = 190;
    std::int32_t VertexLineWidth = 12;
    std::int32_t VertexNameFontSize = 90;
    std::int32_t VertexMarkFontSize = 100;
    std::int32_t TransitionWidth = 12;
    std::int32_t TransitionHeight = 200;
    std::int32_t TransitionNameFontSize = 90;
    std::int32_t TransitionDelayFontSize = 94;
    std::int32_t ConnectionWidth = 10;
    std::int32_t ConnectionWidth1 = 10;
    std::int32_t ConnectionHeight1 = 50;
    std::int32_t ConnectionCountFontSize = 80;
    std::int32_t ConnectionFlashOnDelay = 80;   // milliseconds
    std::int32_t ConnectionFlashOffDelay = 300; // milliseconds
};
