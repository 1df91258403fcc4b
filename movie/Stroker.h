#pragma once

#include <vector>

#include "movie/Geometry.h"
#include "movie/Rasterizer.h"
#include "movie/Shape.h"

namespace movie {

struct StrokeStyle {
    double halfWidth = 0.5;  // device pixels
    CapStyle startCap = CapStyle::Round;
    CapStyle endCap = CapStyle::Round;
    JoinStyle join = JoinStyle::Round;
    double miterLimit = 3;
};

// Adds the outline of a stroked polyline (device space), to be filled non-zero.
// A closed polyline ends where it starts and gets a join there instead of caps.
void strokePolyline(std::vector<Point> points, bool closed, const StrokeStyle& style, Outline& out);

// Appends the flattened curve to `points`, without its start point.
void flattenQuad(Point a, Point control, Point b, std::vector<Point>& points);

}
