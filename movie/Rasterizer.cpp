#include "movie/Rasterizer.h"

#include <algorithm>
#include <cmath>

namespace movie {

namespace {

constexpr double kTolerance = 0.2;
constexpr int kMaxCurveSegments = 1024;
// Past this, curves go in as chords and then nothing more is added: drawing stays bounded.
constexpr std::size_t kMaxLines = 1u << 20;
constexpr std::size_t kMaxFlattenedLines = kMaxLines / 2;

}

void Outline::addLine(Point a, Point b)
{
    if (a.y == b.y)
        return;
    const Line line{static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                    static_cast<float>(b.y)};
    constexpr float limit = 1e8f;
    auto sane = [](float v) { return std::isfinite(v) && std::fabs(v) < limit; };
    if (!sane(line.x0) || !sane(line.y0) || !sane(line.x1) || !sane(line.y1) || lines_.size() >= kMaxLines)
        return;
    lines_.push_back(line);
    top_ = std::min({top_, line.y0, line.y1});
    bottom_ = std::max({bottom_, line.y0, line.y1});
    left_ = std::min({left_, line.x0, line.x1});
    right_ = std::max({right_, line.x0, line.x1});
}

void Outline::addQuad(Point a, Point c, Point b, double clipWidth, double clipHeight)
{
    const double minX = std::min({a.x, c.x, b.x});
    const double maxY = std::max({a.y, c.y, b.y});
    const double minY = std::min({a.y, c.y, b.y});
    const double maxX = std::max({a.x, c.x, b.x});
    // Off to the side, a curve covers the same rows as its chord.
    if (maxY <= 0 || minY >= clipHeight || minX >= clipWidth || maxX <= 0 || lines_.size() >= kMaxFlattenedLines) {
        addLine(a, b);
        return;
    }
    const double dx = a.x - 2 * c.x + b.x;
    const double dy = a.y - 2 * c.y + b.y;
    const double deviation = std::sqrt(dx * dx + dy * dy);
    const double wanted = std::ceil(std::sqrt(deviation / (4 * kTolerance)));
    const int segments = std::isfinite(wanted) ? std::clamp(static_cast<int>(wanted), 1, kMaxCurveSegments) : 1;
    Point previous = a;
    for (int i = 1; i <= segments; ++i) {
        const double t = static_cast<double>(i) / segments;
        const double u = 1 - t;
        const Point next = i == segments ? b
                                         : Point{u * u * a.x + 2 * u * t * c.x + t * t * b.x,
                                                 u * u * a.y + 2 * u * t * c.y + t * t * b.y};
        addLine(previous, next);
        previous = next;
    }
}

void Outline::append(const Outline& other)
{
    for (const auto& line : other.lines_)
        addLine({line.x0, line.y0}, {line.x1, line.y1});
}

void Outline::addReversed(const Outline& other)
{
    for (const auto& line : other.lines_)
        addLine({line.x1, line.y1}, {line.x0, line.y0});
}

void Outline::clear()
{
    lines_.clear();
    top_ = left_ = 1e30f;
    bottom_ = right_ = -1e30f;
}

void Rasterizer::reset(int width, int top, int height)
{
    width_ = std::max(0, width);
    top_ = top;
    height_ = std::max(0, height);
    stride_ = width_ + 2;
    const std::size_t cells = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
    if (cells_.size() < cells)
        cells_.resize(cells, 0.0f);
    if (coverage_.size() < static_cast<std::size_t>(stride_))
        coverage_.resize(static_cast<std::size_t>(stride_));
    if (touched_.size() < static_cast<std::size_t>(height_))
        touched_.resize(static_cast<std::size_t>(height_));
}

void Rasterizer::add(const Outline& outline)
{
    const float bandTop = static_cast<float>(top_);
    const float bandBottom = static_cast<float>(top_ + height_);
    if (outline.bottom() <= bandTop || outline.top() >= bandBottom || outline.left() >= width_)
        return;
    for (const auto& line : outline.lines()) {
        if (std::max(line.y0, line.y1) <= bandTop || std::min(line.y0, line.y1) >= bandBottom)
            continue;
        addClipped(line.x0, line.y0 - bandTop, line.x1, line.y1 - bandTop);
    }
}

// Splits at the left and right clip edges; parts outside are pressed onto them,
// which keeps the cover they carry along each row.
void Rasterizer::addClipped(float x0, float y0, float x1, float y1)
{
    const float w = static_cast<float>(width_);
    auto crossing = [&](float at) {
        const float t = (at - x0) / (x1 - x0);
        return y0 + (y1 - y0) * t;
    };
    if ((x0 < 0) != (x1 < 0)) {
        const float y = crossing(0);
        if (x0 < 0) {
            accumulate(0, y0, 0, y);
            addClipped(0, y, x1, y1);
        } else {
            addClipped(x0, y0, 0, y);
            accumulate(0, y, 0, y1);
        }
        return;
    }
    if ((x0 > w) != (x1 > w)) {
        const float y = crossing(w);
        if (x0 > w) {
            accumulate(w, y0, w, y);
            accumulate(w, y, x1 < 0 ? 0 : x1, y1);
        } else {
            accumulate(x0, y0, w, y);
            accumulate(w, y, w, y1);
        }
        return;
    }
    accumulate(std::clamp(x0, 0.0f, w), y0, std::clamp(x1, 0.0f, w), y1);
}

void Rasterizer::accumulate(float x0, float y0, float x1, float y1)
{
    // Lines this flat carry no visible area and would make the slope blow up.
    if (std::fabs(y1 - y0) < 1e-6f)
        return;
    float direction = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        direction = -1;
    }
    const float h = static_cast<float>(height_);
    const float top = std::max(y0, 0.0f);
    const float bottom = std::min(y1, h);
    if (top >= bottom)
        return;
    const float slope = (x1 - x0) / (y1 - y0);
    const int firstRow = static_cast<int>(top);
    const int lastRow = std::min(height_ - 1, static_cast<int>(std::ceil(bottom)) - 1);
    const float maxX = static_cast<float>(width_);
    for (int row = firstRow; row <= lastRow; ++row) {
        const float rowTop = std::max(static_cast<float>(row), top);
        const float rowBottom = std::min(static_cast<float>(row + 1), bottom);
        const float d = (rowBottom - rowTop) * direction;
        const float xa = std::clamp(x0 + (rowTop - y0) * slope, 0.0f, maxX);
        const float xb = std::clamp(x0 + (rowBottom - y0) * slope, 0.0f, maxX);
        const float left = std::min(xa, xb);
        const float right = std::max(xa, xb);
        // integral(X) is the area, per unit of row height, of the part of [-inf, X]
        // lying right of the line; a cell's share is the difference over its width.
        const float span = right - left;
        auto integral = [&](float x) {
            if (x <= left)
                return 0.0f;
            if (x >= right)
                return span * 0.5f + (x - right);
            return (x - left) * (x - left) * 0.5f / span;
        };
        float* cells = cells_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(stride_);
        const int firstCol = static_cast<int>(left);
        // Past `right` every cell takes the full cover, so the differences stop there.
        const int lastCol = static_cast<int>(right) + 1;
        float previous = 0;
        float below = integral(static_cast<float>(firstCol));
        for (int col = firstCol; col <= lastCol; ++col) {
            const float above = integral(static_cast<float>(col + 1));
            const float cover = d * (above - below);
            cells[col] += cover - previous;
            previous = cover;
            below = above;
        }
        auto& ranges = touched_[static_cast<std::size_t>(row)];
        if (!ranges.empty() && firstCol <= ranges.back().last + 1 && lastCol >= ranges.back().first - 1) {
            ranges.back().first = std::min(ranges.back().first, firstCol);
            ranges.back().last = std::max(ranges.back().last, lastCol);
        } else {
            ranges.push_back({firstCol, lastCol});
        }
    }
}

std::vector<Rasterizer::Touched>& Rasterizer::mergedRow(int row)
{
    auto& ranges = touched_[static_cast<std::size_t>(row)];
    if (ranges.size() < 2)
        return ranges;
    std::sort(ranges.begin(), ranges.end(), [](const Touched& a, const Touched& b) { return a.first < b.first; });
    std::size_t kept = 0;
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        if (ranges[i].first <= ranges[kept].last + 1)
            ranges[kept].last = std::max(ranges[kept].last, ranges[i].last);
        else
            ranges[++kept] = ranges[i];
    }
    ranges.resize(kept + 1);
    return ranges;
}

}
