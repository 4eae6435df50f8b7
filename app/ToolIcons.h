// The glyphs of the tool-bar buttons, drawn by the program.
#pragma once

#include <QIcon>

enum TToolGlyph {
    tgNew,
    tgOpen,
    tgSave,
    tgReload,
    tgNoTool,
    tgVertex,
    tgTransition,
    tgConnection,
    tgInformational,
    tgZoomIn,
    tgZoomOut,
    tgRealTime,
    tgStop,
    tgInterval,
    tgChart,
    tgExperiment
};

QIcon ToolIcon(TToolGlyph glyph);
