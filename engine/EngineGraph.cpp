#include "EngineGraph.h"

#include "EngineSettings.h"

void ApplyGraphDefaults(TEngineGraphOptions& o, const TEngineDefaults& d) {
    o.ScreenColor = d.ScreenColor;
    o.TimeLineColor = d.TimeLineColor;
    o.GridColor = d.GridColor;
    o.ScreenUpdateInterval = d.ScreenUpdateInterval;
    o.VertexRadius = d.VertexRadius;
    o.VertexLineWidth = d.VertexLineWidth;
    o.VertexNameFontSize = d.VertexNameFontSize;
    o.VertexMarkFontSize = d.VertexMarkFontSize;
    o.VertexAmbientColor = d.VertexAmbientColor;
    o.VertexAmbientColor1 = d.VertexAmbientColor1;
    o.VertexPickColor = d.VertexPickColor;
    o.VertexPickColor1 = d.VertexPickColor1;
    o.VertexChoiceColor = d.VertexChoiceColor;
    o.VertexChoiceColor1 = d.VertexChoiceColor1;
    o.TransitionWidth = d.TransitionWidth;
    o.TransitionHeight = d.TransitionHeight;
    o.TransitionNameFontSize = d.TransitionNameFontSize;
    o.TransitionDelayFontSize = d.TransitionDelayFontSize;
    o.TransitionAmbientColor = d.TransitionAmbientColor;
    o.TransitionPickColor = d.TransitionPickColor;
    o.TransitionChoiceColor = d.TransitionChoiceColor;
    o.ConnectionWidth = d.ConnectionWidth;
    o.ConnectionWidth1 = d.ConnectionWidth1;
    o.ConnectionHeight1 = d.ConnectionHeight1;
    o.ConnectionCountFontSize = d.ConnectionCountFontSize;
    o.ConnectionFlashOnDelay = d.ConnectionFlashOnDelay;
    o.ConnectionFlashOffDelay = d.ConnectionFlashOffDelay;
    o.ConnectionAmbientColor = d.ConnectionAmbientColor;
    o.ConnectionPickColor = d.ConnectionPickColor;
    o.ConnectionChoiceColor = d.ConnectionChoiceColor;
    o.ConnectionFlashColor = d.ConnectionFlashColor;
}

TEngineGraphGridOptions DefaultGridOptions() {
    TEngineGraphGridOptions grid;
    double from = 0.5;
    std::int32_t step = 100;
    grid.Levels.push_back({0.5, 2.0, 100});
    for (int i = 1; i < 7; ++i) {
        grid.Levels.push_back({from / 2, from, step * 2});
        from /= 2;
        step *= 2;
    }
    return grid;
}
