// Plane geometry shared by the drawing of connections and the hit tests: angles in degrees from
// the +x axis towards +y (clockwise on the screen, where y grows downwards), integer points.
#pragma once

#include "NetRecords.h"

#include <cstdint>

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

// The angle of the vector from the first point to the second, in [0, 360); 0 for a null vector.
double VectorAngle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
// The point at distance r from (x, y) in the direction of the angle.
TPoint PolarPoint(std::int32_t x, std::int32_t y, double r, double angle);
// a + b, less 360 once when the sum reaches 360.
double AddAngle(double a, double b);
// The distance of two points, rounded.
std::int32_t PointDistance(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

// Whether the segment from a to b has a point inside the rectangle (edges included), which may
// be so when both ends lie far outside it.
bool SegmentMeetsRectangle(TPoint a, TPoint b, double left, double top, double right,
                           double bottom);

struct TConnectionEnds {
    TPoint P1; // start
    TPoint P2; // end, where the arrowhead is
};

// Where a connection starts and ends in model coordinates: on the vertex's circle and at 80 % of
// the transition's half-width on the side facing the vertex; a connection with a partner in the
// other direction is moved aside so that both show.
TConnectionEnds ConnectionEnds(const TConnection& connection);
