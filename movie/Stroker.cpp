#include "movie/Stroker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace movie {

namespace {

constexpr double kTolerance = 0.2;

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
Point operator*(Point a, double s) { return {a.x * s, a.y * s}; }
double dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
double length(Point a) { return std::sqrt(dot(a, a)); }
Point normalOf(Point direction) { return {direction.y, -direction.x}; }

class SideWriter {
public:
    SideWriter(const StrokeStyle& style, std::vector<Point>& polygon) : style_(style), polygon_(polygon) {}

    // Arc around `center` from `from` (a unit vector), turning by `sweep` radians.
    void arc(Point center, Point from, double sweep)
    {
        constexpr std::size_t maxPolygon = 1u << 21;
        if (polygon_.size() >= maxPolygon)
            return;
        const double r = style_.halfWidth;
        const double step = r > kTolerance ? 2 * std::acos(1 - kTolerance / r) : std::numbers::pi / 2;
        const int steps = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 1, 256);
        const double start = std::atan2(from.y, from.x);
        for (int i = 1; i < steps; ++i) {
            const double angle = start + sweep * i / steps;
            polygon_.push_back(center + Point{std::cos(angle), std::sin(angle)} * r);
        }
    }

    void join(Point p, Point inDir, Point outDir)
    {
        const double hw = style_.halfWidth;
        const Point nIn = normalOf(inDir);
        const Point nOut = normalOf(outDir);
        polygon_.push_back(p + nIn * hw);
        if (dot(outDir, nIn) > 0) {
            polygon_.push_back(p);
        } else if (style_.join == JoinStyle::Round) {
            double sweep = std::atan2(nOut.y, nOut.x) - std::atan2(nIn.y, nIn.x);
            if (sweep > std::numbers::pi)
                sweep -= 2 * std::numbers::pi;
            if (sweep < -std::numbers::pi)
                sweep += 2 * std::numbers::pi;
            arc(p, nIn, sweep);
        } else if (style_.join == JoinStyle::Miter) {
            const Point m = nIn + nOut;
            const double mm = dot(m, m);
            if (mm > 1e-12 && 2 / std::sqrt(mm) <= style_.miterLimit)
                polygon_.push_back(p + m * (2 * hw / mm));
        }
        polygon_.push_back(p + nOut * hw);
    }

    void cap(Point p, Point dir, CapStyle style)
    {
        const double hw = style_.halfWidth;
        const Point n = normalOf(dir);
        if (style == CapStyle::Square) {
            polygon_.push_back(p + n * hw + dir * hw);
            polygon_.push_back(p - n * hw + dir * hw);
        } else if (style == CapStyle::Round) {
            arc(p, n, std::numbers::pi);
        }
    }

    // One side of an open polyline, left of its direction, with joins.
    void openSide(const std::vector<Point>& pts)
    {
        const double hw = style_.halfWidth;
        Point dir = direction(pts[0], pts[1]);
        polygon_.push_back(pts[0] + normalOf(dir) * hw);
        for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
            const Point next = direction(pts[i], pts[i + 1]);
            join(pts[i], dir, next);
            dir = next;
        }
        polygon_.push_back(pts.back() + normalOf(dir) * hw);
    }

    void closedSide(const std::vector<Point>& pts)
    {
        const std::size_t n = pts.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Point& previous = pts[(i + n - 1) % n];
            join(pts[i], direction(previous, pts[i]), direction(pts[i], pts[(i + 1) % n]));
        }
    }

    static Point direction(Point a, Point b)
    {
        const Point d = b - a;
        return d * (1 / length(d));
    }

private:
    const StrokeStyle& style_;
    std::vector<Point>& polygon_;
};

void addPolygon(const std::vector<Point>& polygon, Outline& out)
{
    for (std::size_t i = 0; i < polygon.size(); ++i)
        out.addLine(polygon[i], polygon[(i + 1) % polygon.size()]);
}

void dot(Point p, const StrokeStyle& style, Outline& out)
{
    std::vector<Point> polygon;
    SideWriter writer(style, polygon);
    const double hw = style.halfWidth;
    if (style.startCap == CapStyle::Round) {
        polygon.push_back(p + Point{hw, 0});
        writer.arc(p, {1, 0}, 2 * std::numbers::pi);
    } else if (style.startCap == CapStyle::Square) {
        polygon = {p + Point{-hw, -hw}, p + Point{hw, -hw}, p + Point{hw, hw}, p + Point{-hw, hw}};
    }
    addPolygon(polygon, out);
}

}

void flattenQuad(Point a, Point c, Point b, std::vector<Point>& points)
{
    constexpr std::size_t maxPoints = 1u << 19;
    if (points.size() >= maxPoints) {
        points.push_back(b);
        return;
    }
    const Point bend = a - c * 2 + b;
    const double wanted = std::ceil(std::sqrt(length(bend) / (4 * kTolerance)));
    const int segments = std::isfinite(wanted) ? std::clamp(static_cast<int>(wanted), 1, 1024) : 1;
    for (int i = 1; i < segments; ++i) {
        const double t = static_cast<double>(i) / segments;
        const double u = 1 - t;
        points.push_back(a * (u * u) + c * (2 * u * t) + b * (t * t));
    }
    points.push_back(b);
}

void strokePolyline(std::vector<Point> points, bool closed, const StrokeStyle& style, Outline& out)
{
    auto same = [](Point a, Point b) { return std::fabs(a.x - b.x) < 1e-6 && std::fabs(a.y - b.y) < 1e-6; };
    points.erase(std::unique(points.begin(), points.end(), same), points.end());
    if (closed && points.size() > 2 && same(points.front(), points.back()))
        points.pop_back();
    if (points.empty())
        return;
    if (points.size() == 1) {
        dot(points.front(), style, out);
        return;
    }
    std::vector<Point> polygon;
    SideWriter writer(style, polygon);
    std::vector<Point> reversed(points.rbegin(), points.rend());
    if (closed && points.size() > 2) {
        writer.closedSide(points);
        addPolygon(polygon, out);
        polygon.clear();
        writer.closedSide(reversed);
        addPolygon(polygon, out);
        return;
    }
    writer.openSide(points);
    writer.cap(points.back(), SideWriter::direction(points[points.size() - 2], points.back()), style.endCap);
    writer.openSide(reversed);
    writer.cap(points.front(), SideWriter::direction(points[1], points.front()), style.startCap);
    addPolygon(polygon, out);
}

}
