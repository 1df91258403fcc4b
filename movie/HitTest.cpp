#include "movie/HitTest.h"

#include <algorithm>
#include <vector>

#include "movie/Stroker.h"

namespace movie {

namespace {

Point point(std::int32_t x, std::int32_t y) { return {static_cast<double>(x), static_cast<double>(y)}; }

// Whether a ray from `p` towards +x crosses the segment; half-open in y so shared vertices count once.
bool crosses(Point a, Point b, Point p)
{
    if ((a.y <= p.y) == (b.y <= p.y))
        return false;
    const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
    return x > p.x;
}

// Number of times the edge, flattened in device space, crosses the ray from `p`.
int crossings(const Edge& e, const Matrix& toDevice, Point p, std::vector<Point>& scratch)
{
    const Point a = toDevice.apply(point(e.x0, e.y0));
    const Point b = toDevice.apply(point(e.x1, e.y1));
    if (!e.curved)
        return crosses(a, b, p) ? 1 : 0;
    const Point c = toDevice.apply(point(e.cx, e.cy));
    // The curve stays inside the triangle of its points; most edges are far from the ray.
    if (std::max({a.y, b.y, c.y}) < p.y || std::min({a.y, b.y, c.y}) > p.y || std::max({a.x, b.x, c.x}) < p.x)
        return 0;
    scratch.assign(1, a);
    flattenQuad(a, c, b, scratch);
    int count = 0;
    for (std::size_t i = 1; i < scratch.size(); ++i)
        count += crosses(scratch[i - 1], scratch[i], p) ? 1 : 0;
    return count;
}

bool layerContains(const ShapeLayer& layer, const Matrix& toDevice, Point p, std::vector<Point>& scratch)
{
    const std::size_t fills = layer.fills.size();
    std::vector<unsigned char> odd(fills + 1, 0);
    for (const auto& e : layer.edges) {
        const bool has0 = e.fill0 != 0 && e.fill0 <= fills;
        const bool has1 = e.fill1 != 0 && e.fill1 <= fills;
        if ((!has0 && !has1) || e.fill0 == e.fill1)
            continue;
        if (crossings(e, toDevice, p, scratch) % 2 == 0)
            continue;
        if (has0)
            odd[e.fill0] ^= 1;
        if (has1)
            odd[e.fill1] ^= 1;
    }
    return std::find(odd.begin() + 1, odd.end(), 1) != odd.end();
}

}

bool shapeContains(const Shape& shape, const Matrix& toDevice, Point point)
{
    std::vector<Point> scratch;
    for (const auto& layer : shape.layers)
        if (layerContains(layer, toDevice, point, scratch))
            return true;
    return false;
}

}
