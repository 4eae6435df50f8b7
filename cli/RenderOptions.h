// The command line of kvl-render, which draws one frame of a net into a PNG, SVG or PDF file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TRenderOptions {
    std::string NetFile;
    std::string ImageFile;
    int Width = 1280;
    int Height = 800;
    std::int32_t CenterX = 0;
    std::int32_t CenterY = 0;
    double ZoomPercent = 100;
    double ModelTime = 0;
    bool WholeNet = false; // the picture fits every object; --size and --center do not apply
};

std::optional<TRenderOptions> ParseRenderOptions(const std::vector<std::string>& arguments);

extern const char* const kRenderUsage;
