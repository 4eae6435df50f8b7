#include "Viewport.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long kMaxGridLines = 10000000;

// Screen coordinate of a model coordinate given in double precision (grid lines lie far beyond
// the 32-bit range at small zooms).
std::int32_t ScreenX(const TEngineGraph& g, double mx) {
    return RoundToInt(g.Scale * (mx - (g.CenterX - g.ScreenWidth / 2.0 / g.Scale)));
}

std::int32_t ScreenY(const TEngineGraph& g, double my) {
    return RoundToInt(g.Scale * (my - (g.CenterY - g.ScreenHeight / 2.0 / g.Scale)));
}

void ClampScale(TEngineGraph& g) {
    if (g.Scale < g.Options.MinScale)
        g.Scale = g.Options.MinScale;
    else if (g.Scale > g.Options.MaxScale)
        g.Scale = g.Options.MaxScale;
}

// The first multiple index of a run that may be visible: round(|bound / step|) - 1 when the
// window lies wholly on the run's side of the origin, else 1; at least 1.
long FirstIndex(double bound, bool windowBeyondOrigin, double step) {
    const long j =
        windowBeyondOrigin ? static_cast<long>(RoundHalfEven(std::fabs(bound / step))) - 1 : 1;
    return j < 1 ? 1 : j;
}

} // namespace

TPoint ModelToScreen(const TEngineGraph& g, std::int32_t mx, std::int32_t my) {
    return {ScreenX(g, mx), ScreenY(g, my)};
}

TPoint ScreenToModel(const TEngineGraph& g, std::int32_t sx, std::int32_t sy) {
    return {RoundToInt(sx / g.Scale + (g.CenterX - g.ScreenWidth / 2.0 / g.Scale)),
            RoundToInt(sy / g.Scale + (g.CenterY - g.ScreenHeight / 2.0 / g.Scale))};
}

void ZoomStep(TEngineGraph& g, bool zoomIn) {
    if (zoomIn)
        g.Scale *= 1.15;
    else
        g.Scale /= 1.15;
    ClampScale(g);
}

void ZoomStepAt(TEngineGraph& g, bool zoomIn, std::int32_t x, std::int32_t y) {
    // The model point under the pixel, before and after, in double precision.
    const double mx = x / g.Scale + (g.CenterX - g.ScreenWidth / 2.0 / g.Scale);
    const double my = y / g.Scale + (g.CenterY - g.ScreenHeight / 2.0 / g.Scale);
    ZoomStep(g, zoomIn);
    g.CenterX = RoundToInt(mx - x / g.Scale + g.ScreenWidth / 2.0 / g.Scale);
    g.CenterY = RoundToInt(my - y / g.Scale + g.ScreenHeight / 2.0 / g.Scale);
}

void DragZoom(TEngineGraph& g, std::int32_t dy) {
    if (dy > 0)
        g.Scale /= std::pow(1.005, dy);
    else if (dy < 0)
        g.Scale *= std::pow(1.005, -static_cast<double>(dy));
    ClampScale(g);
}

void Pan(TEngineGraph& g, std::int32_t dx, std::int32_t dy) {
    g.CenterX -= RoundToInt(dx / g.Scale);
    g.CenterY -= RoundToInt(dy / g.Scale);
}

std::string ZoomText(const TEngineGraph& g) {
    return " Масштаб: " + FloatToText("0", g.Scale / g.Options.NormalScale * 100) + "%";
}

bool IsGridLevelShown(const TEngineGraphGridLevel& level, double scale) {
    return level.ScaleFrom <= scale && scale <= level.ScaleTo;
}

std::int32_t GridStep(const TEngineGraph& g) {
    for (const TEngineGraphGridLevel& level : g.Options.GridOptions.Levels)
        if (IsGridLevelShown(level, g.Scale) && level.Step > 0)
            return level.Step;
    return g.Scale > 0 ? std::max(1, RoundToInt(10 / g.Scale)) : 1;
}

TGridLines GridLines(const TEngineGraph& g) {
    TGridLines grid;
    const std::int32_t w = g.ScreenWidth;
    const std::int32_t h = g.ScreenHeight;
    const TPoint topLeft = ScreenToModel(g, 0, 0);
    const TPoint bottomRight = ScreenToModel(g, w, h);
    const double left = topLeft.X, top = topLeft.Y, right = bottomRight.X, bottom = bottomRight.Y;
    const TPoint origin = ModelToScreen(g, 0, 0);
    if (10 < origin.Y && origin.Y < h)
        grid.Axes.push_back({{0, origin.Y}, {w, origin.Y}});
    if (0 < origin.X && origin.X < w)
        grid.Axes.push_back({{origin.X, 0}, {origin.X, h}});

    auto vertical = [&](double x) {
        const std::int32_t sx = ScreenX(g, x);
        grid.Lines.push_back({{sx, 0}, {sx, h}});
    };
    auto horizontal = [&](double y) {
        const std::int32_t sy = ScreenY(g, y);
        grid.Lines.push_back({{0, sy}, {w, sy}});
    };
    for (const TEngineGraphGridLevel& level : g.Options.GridOptions.Levels) {
        if (!IsGridLevelShown(level, g.Scale))
            continue;
        const double s = level.Step;
        for (long j = FirstIndex(right, right < 0, s); j <= kMaxGridLines; ++j) {
            const double x = -j * s;
            if (x < left)
                break;
            if (x < right)
                vertical(x);
        }
        for (long j = FirstIndex(left, left > 0, s); j <= kMaxGridLines; ++j) {
            const double x = j * s;
            if (x > right)
                break;
            if (x > left)
                vertical(x);
        }
        for (long j = FirstIndex(bottom, bottom < 0, s); j <= kMaxGridLines; ++j) {
            const double y = -j * s;
            if (y < top)
                break;
            if (y < bottom)
                horizontal(y);
        }
        for (long j = FirstIndex(top, top > 0, s); j <= kMaxGridLines; ++j) {
            const double y = j * s;
            if (y > bottom)
                break;
            if (y > top)
                horizontal(y);
        }
    }
    return grid;
}

std::vector<TTimeLineMark> TimeLineMarks(std::int32_t width, double t, double s) {
    std::vector<TTimeLineMark> marks;
    const std::int32_t cx = RoundToInt(width / 2.0);
    const double t0 = RoundHalfEven(t / s) * s;
    const std::int32_t x0 = cx + RoundToInt((t0 - t) / s * kTimeLineSpacing);
    marks.push_back({x0, false, t0});
    for (int i = 1;; ++i) {
        marks.push_back({x0 + i * kTimeLineSpacing - kTimeLineSpacing / 2, true, 0});
        const std::int32_t x = x0 + i * kTimeLineSpacing;
        if (x > width + 100)
            break;
        marks.push_back({x, false, t0 + i * s});
    }
    for (int i = 1;; ++i) {
        marks.push_back({x0 - i * kTimeLineSpacing + kTimeLineSpacing / 2, true, 0});
        const std::int32_t x = x0 - i * kTimeLineSpacing;
        if (x < -100)
            break;
        marks.push_back({x, false, t0 - i * s});
    }
    return marks;
}

std::int32_t TimeLineLabelStride(std::int32_t labelWidth, std::int32_t gap) {
    const std::int64_t needed = std::int64_t{labelWidth} + gap;
    std::int32_t decade = 1;
    for (; decade < 100000000; decade *= 10)
        for (std::int32_t step : {1, 2, 5})
            if (std::int64_t{step} * decade * kTimeLineSpacing >= needed)
                return step * decade;
    return decade;
}

bool IsTimeLineLabelShown(double value, double timeScale, std::int32_t stride) {
    if (stride <= 1)
        return true;
    return std::fmod(RoundHalfEven(value / timeScale), static_cast<double>(stride)) == 0;
}
