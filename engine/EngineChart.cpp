#include "EngineChart.h"

#include "NumberText.h"

#include <cmath>

TEngineGraphGridOptions DefaultChartGrid() {
    TEngineGraphGridOptions grid;
    for (int k = 0; k < 12; ++k)
        grid.Levels.push_back(
            {std::ldexp(1.0, -(k + 1)), k == 0 ? 2.0 : std::ldexp(1.0, -k), 80 << k});
    return grid;
}

TChartPoint ChartToPixel(const TEngineChart& c, double x, double y) {
    return {
        RoundHalfEven(c.ChartZoom * (x - (c.ChartCenterX - c.ChartWidth / 2.0 / c.ChartZoom))),
        RoundHalfEven(c.ChartZoom * (y - (c.ChartCenterY - c.ChartHeight / 2.0 / c.ChartZoom)))};
}

TChartPoint PixelToChart(const TEngineChart& c, double px, double py) {
    return {px / c.ChartZoom + (c.ChartCenterX - c.ChartWidth / 2.0 / c.ChartZoom),
            py / c.ChartZoom + (c.ChartCenterY - c.ChartHeight / 2.0 / c.ChartZoom)};
}

void ChartDragZoom(TEngineChart& c, std::int32_t dy) {
    if (dy > 0)
        c.ChartZoom /= std::pow(1.005, dy);
    else if (dy < 0)
        c.ChartZoom *= std::pow(1.005, -static_cast<double>(dy));
    if (c.ChartZoom < c.MinChartZoom)
        c.ChartZoom = c.MinChartZoom;
    else if (c.ChartZoom > c.MaxChartZoom)
        c.ChartZoom = c.MaxChartZoom;
}

void ChartPan(TEngineChart& c, std::int32_t dx, std::int32_t dy) {
    c.ChartCenterX -= RoundToInt(dx / c.ChartZoom);
    c.ChartCenterY -= RoundToInt(dy / c.ChartZoom);
}
