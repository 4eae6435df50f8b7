#include "Geometry.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double AtanDegrees(double x) {
    return std::atan(x) * kDegrees;
}

// Whether the other-direction partner of the connection exists.
bool HasPartner(const TConnection& c) {
    if (c.ConnectionType == ctVT) {
        for (const TConnection* other : c.Transition->OutConnections)
            if (other->ConnectionType == ctTV && other->Vertex == c.Vertex)
                return true;
    } else {
        for (const TConnection* other : c.Vertex->OutConnections)
            if (other->ConnectionType == ctVT && other->Transition == c.Transition)
                return true;
    }
    return false;
}

} // namespace

double VectorAngle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    if (dx == 0 && dy == 0)
        return 0;
    if (dx > 0 && dy >= 0)
        return AtanDegrees(dy / dx);
    if (dx <= 0 && dy > 0)
        return 90 + AtanDegrees(-dx / dy);
    if (dx < 0 && dy <= 0)
        return 180 + AtanDegrees(dy / dx);
    return 270 + AtanDegrees(dx / -dy);
}

TPoint PolarPoint(std::int32_t x, std::int32_t y, double r, double angle) {
    const double radians = angle / kDegrees;
    return {x + RoundToInt(r * std::cos(radians)), y + RoundToInt(r * std::sin(radians))};
}

double AddAngle(double a, double b) {
    const double sum = a + b;
    return sum >= 360 ? sum - 360 : sum;
}

std::int32_t PointDistance(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    return RoundToInt(std::sqrt(dx * dx + dy * dy));
}

bool SegmentMeetsRectangle(TPoint a, TPoint b, double left, double top, double right,
                           double bottom) {
    // Clips the parameter range [0, 1] of a + t (b - a) against each side in turn
    // (Liang-Barsky); the segment meets the rectangle when some range is left.
    const double dx = static_cast<double>(b.X) - a.X;
    const double dy = static_cast<double>(b.Y) - a.Y;
    double from = 0;
    double to = 1;
    // Keeps the part of the range where p * t <= q.
    auto clip = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            from = std::max(from, t);
        else
            to = std::min(to, t);
        return from <= to;
    };
    return clip(-dx, a.X - left) && clip(dx, right - a.X) && clip(-dy, a.Y - top) &&
           clip(dy, bottom - a.Y);
}

TConnectionEnds ConnectionEnds(const TConnection& c) {
    const TVertex& v = *c.Vertex;
    const TTransition& t = *c.Transition;
    const double a = VectorAngle(v.X, v.Y, t.X, t.Y);
    const std::int32_t side = RoundToInt(t.Width * 0.8);
    const std::int32_t ax = (a >= 90 && a < 270) ? t.X + side : t.X - side;
    const double a2 = VectorAngle(v.X, v.Y, ax, t.Y);

    TPoint vertexEnd;
    TPoint transitionEnd;
    if (!HasPartner(c) || v.Radius == 0) {
        // A vertex of radius 0 gives the pair no room beside each other.
        transitionEnd = {ax, t.Y};
        vertexEnd = PolarPoint(v.X, v.Y, v.Radius, a2);
    } else {
        std::int32_t d = std::min(RoundToInt(v.Radius * 0.7), RoundToInt(t.Height * 0.7));
        const bool leftward = a2 >= 90 && a2 < 270;
        if (c.ConnectionType == ctVT ? !leftward : leftward)
            d = -d;
        transitionEnd = {ax, t.Y + d};
        const double slide =
            std::cos(a2 / kDegrees) * std::asin(static_cast<double>(d) / v.Radius) * kDegrees;
        vertexEnd = PolarPoint(v.X, v.Y, v.Radius, AddAngle(a2, slide));
    }
    if (c.ConnectionType == ctVT)
        return {vertexEnd, transitionEnd};
    return {transitionEnd, vertexEnd};
}
