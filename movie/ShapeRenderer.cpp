#include "movie/ShapeRenderer.h"

#include <algorithm>
#include <cmath>

#include "movie/Blend.h"
#include "movie/Paint.h"
#include "movie/Stroker.h"

namespace movie {

namespace {

constexpr int kBandRows = 64;

struct RowSpan {
    int first = 0;
    int last = 0;
};

// Rows [first, last) of the canvas that device rows top..bottom touch.
RowSpan rowsOf(float top, float bottom, int height)
{
    if (!(top < bottom))
        return {};
    const int first = static_cast<int>(std::clamp(std::floor(top), 0.0f, static_cast<float>(height)));
    const int last = static_cast<int>(std::clamp(std::ceil(bottom), 0.0f, static_cast<float>(height)));
    return {first, last};
}

Point point(std::int32_t x, std::int32_t y) { return {static_cast<double>(x), static_cast<double>(y)}; }

}

void ShapeRenderer::draw(const Canvas& canvas, const Shape& shape, const Matrix& toDevice,
                         const ColorTransform& transform)
{
    for (const auto& layer : shape.layers)
        drawLayer(canvas, layer, toDevice, transform);
}

void ShapeRenderer::drawMask(const Canvas& canvas, std::uint8_t* mask, const Shape& shape, const Matrix& toDevice)
{
    for (const auto& layer : shape.layers) {
        buildFills(canvas, layer, toDevice);
        for (std::size_t i = 0; i < layer.fills.size(); ++i) {
            const Outline& outline = fills_[i].outline;
            const RowSpan rows = rowsOf(outline.top(), outline.bottom(), canvas.height);
            for (int band = rows.first; band < rows.last; band += kBandRows) {
                rasterizer_.reset(canvas.width, band, std::min(kBandRows, rows.last - band));
                rasterizer_.add(outline);
                rasterizer_.sweep(FillRule::EvenOdd, [&](int y, int x, int count, const std::uint8_t* coverage,
                                                         std::uint8_t constant) {
                    std::uint8_t* row = mask + static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) +
                                        static_cast<std::size_t>(x);
                    for (int k = 0; k < count; ++k)
                        row[k] = std::max(row[k], coverage ? coverage[k] : constant);
                });
            }
        }
    }
}

void ShapeRenderer::fill(const Canvas& canvas, const Outline& outline, FillRule rule, Rgba color,
                         const ColorTransform& transform)
{
    FillStyle style;
    style.color = color;
    const Paint paint(style, Matrix{}, transform);
    if (!outline.empty() && paint.visible())
        drawDirect(canvas, outline, rule, paint);
}

const std::uint8_t* ShapeRenderer::masked(const Canvas& canvas, int y, int x, int count,
                                          const std::uint8_t* coverage, std::uint8_t constant)
{
    if (!mask_)
        return coverage;
    if (maskedCoverage_.size() < static_cast<std::size_t>(count))
        maskedCoverage_.resize(static_cast<std::size_t>(count));
    const std::uint8_t* row = mask_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) +
                              static_cast<std::size_t>(x);
    for (int k = 0; k < count; ++k) {
        const std::uint32_t c = coverage ? coverage[k] : constant;
        maskedCoverage_[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((c * row[k] + 127) / 255);
    }
    return maskedCoverage_.data();
}

Paint ShapeRenderer::paint(const FillStyle& style, const Matrix& toDevice, const ColorTransform& transform) const
{
    const Bitmap* bitmap = style.kind == FillKind::Bitmap && bitmaps_ ? bitmaps_->bitmap(style.bitmapId) : nullptr;
    return Paint(style, toDevice, transform, bitmap);
}

void ShapeRenderer::drawLayer(const Canvas& canvas, const ShapeLayer& layer, const Matrix& toDevice,
                              const ColorTransform& transform)
{
    buildFills(canvas, layer, toDevice);
    std::vector<StyledOutline*> used;
    for (std::size_t i = 0; i < layer.fills.size(); ++i)
        if (!fills_[i].outline.empty())
            used.push_back(&fills_[i]);
    if (used.size() == 1) {
        const Paint single = paint(*used.front()->fill, toDevice, transform);
        if (single.visible())
            drawDirect(canvas, used.front()->outline, FillRule::EvenOdd, single);
    } else if (used.size() > 1) {
        drawMerged(canvas, used, toDevice, transform);
    }
    for (std::size_t style = 1; style <= layer.lines.size(); ++style) {
        stroke_.clear();
        buildStroke(layer, style, toDevice, stroke_);
        const Paint line = paint(layer.lines[style - 1].fill, toDevice, transform);
        if (!stroke_.empty() && line.visible())
            drawDirect(canvas, stroke_, FillRule::NonZero, line);
    }
}

void ShapeRenderer::buildFills(const Canvas& canvas, const ShapeLayer& layer, const Matrix& toDevice)
{
    const std::size_t count = layer.fills.size();
    if (fills_.size() < count)
        fills_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        fills_[i].outline.clear();
        fills_[i].fill = &layer.fills[i];
    }
    Outline edge;
    for (const auto& e : layer.edges) {
        const bool has0 = e.fill0 != 0 && e.fill0 <= count;
        const bool has1 = e.fill1 != 0 && e.fill1 <= count;
        if ((!has0 && !has1) || e.fill0 == e.fill1)
            continue;
        const Point a = toDevice.apply(point(e.x0, e.y0));
        const Point b = toDevice.apply(point(e.x1, e.y1));
        edge.clear();
        if (e.curved)
            edge.addQuad(a, toDevice.apply(point(e.cx, e.cy)), b, canvas.width, canvas.height);
        else
            edge.addLine(a, b);
        // The two sides of an edge see it run in opposite directions.
        if (has1)
            fills_[e.fill1 - 1u].outline.append(edge);
        if (has0)
            fills_[e.fill0 - 1u].outline.addReversed(edge);
    }
}

void ShapeRenderer::buildStroke(const ShapeLayer& layer, std::size_t style, const Matrix& toDevice,
                                Outline& out)
{
    const LineStyle& line = layer.lines[style - 1];
    StrokeStyle stroke;
    const double scale = std::sqrt(std::fabs(toDevice.determinant()));
    stroke.halfWidth = std::max(0.5, line.width * scale / 2);
    stroke.startCap = line.startCap;
    stroke.endCap = line.endCap;
    stroke.join = line.join;
    stroke.miterLimit = std::max(1.0, line.miterLimit);

    std::vector<Point> points;
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    auto flush = [&] {
        if (points.empty())
            return;
        const bool closed = !line.noClose && points.size() > 2 && std::fabs(points.front().x - points.back().x) < 1e-6 &&
                            std::fabs(points.front().y - points.back().y) < 1e-6;
        strokePolyline(std::move(points), closed, stroke, out);
        points.clear();
    };
    for (const auto& e : layer.edges) {
        if (e.line != style)
            continue;
        if (points.empty() || e.x0 != lastX || e.y0 != lastY) {
            flush();
            points.push_back(toDevice.apply(point(e.x0, e.y0)));
        }
        const Point end = toDevice.apply(point(e.x1, e.y1));
        if (e.curved)
            flattenQuad(points.back(), toDevice.apply(point(e.cx, e.cy)), end, points);
        else
            points.push_back(end);
        lastX = e.x1;
        lastY = e.y1;
    }
    flush();
}

void ShapeRenderer::drawDirect(const Canvas& canvas, const Outline& outline, FillRule rule, const Paint& paint)
{
    const RowSpan rows = rowsOf(outline.top(), outline.bottom(), canvas.height);
    for (int top = rows.first; top < rows.last; top += kBandRows) {
        rasterizer_.reset(canvas.width, top, std::min(kBandRows, rows.last - top));
        rasterizer_.add(outline);
        rasterizer_.sweep(rule, [&](int y, int x, int count, const std::uint8_t* coverage, std::uint8_t constant) {
            coverage = masked(canvas, y, x, count, coverage, constant);
            std::uint32_t* row = canvas.row(y) + x;
            if (paint.solid()) {
                blendRowSolid(row, paint.color(), coverage, constant, count);
                return;
            }
            if (shaded_.size() < static_cast<std::size_t>(count))
                shaded_.resize(static_cast<std::size_t>(count));
            paint.shade(y, x, count, shaded_.data());
            blendRow(row, shaded_.data(), coverage, constant, count);
        });
    }
}

void ShapeRenderer::drawMerged(const Canvas& canvas, std::vector<StyledOutline*> fills, const Matrix& toDevice,
                               const ColorTransform& transform)
{
    std::vector<Paint> paints;
    float top = 1e30f;
    float bottom = -1e30f;
    for (auto* fill : fills) {
        paints.push_back(paint(*fill->fill, toDevice, transform));
        top = std::min(top, fill->outline.top());
        bottom = std::max(bottom, fill->outline.bottom());
    }
    const RowSpan rows = rowsOf(top, bottom, canvas.height);
    const std::size_t width = static_cast<std::size_t>(canvas.width);
    for (int band = rows.first; band < rows.last; band += kBandRows) {
        const int height = std::min(kBandRows, rows.last - band);
        layer_.assign(width * static_cast<std::size_t>(height) * 4, 0.0f);
        int minX = canvas.width;
        int maxX = 0;
        for (std::size_t i = 0; i < fills.size(); ++i) {
            if (!paints[i].visible())
                continue;
            rasterizer_.reset(canvas.width, band, height);
            rasterizer_.add(fills[i]->outline);
            rasterizer_.sweep(FillRule::EvenOdd, [&](int y, int x, int count, const std::uint8_t* coverage,
                                                     std::uint8_t constant) {
                coverage = masked(canvas, y, x, count, coverage, constant);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x + count);
                if (shaded_.size() < static_cast<std::size_t>(count))
                    shaded_.resize(static_cast<std::size_t>(count));
                paints[i].shade(y, x, count, shaded_.data());
                float* cell = layer_.data() + (static_cast<std::size_t>(y - band) * width + static_cast<std::size_t>(x)) * 4;
                for (int k = 0; k < count; ++k, cell += 4) {
                    const float c = (coverage ? coverage[k] : constant) * (1.0f / 255.0f);
                    const std::uint32_t p = shaded_[static_cast<std::size_t>(k)];
                    cell[0] += c * static_cast<float>(p & 0xFF);
                    cell[1] += c * static_cast<float>((p >> 8) & 0xFF);
                    cell[2] += c * static_cast<float>((p >> 16) & 0xFF);
                    cell[3] += c * static_cast<float>(p >> 24);
                }
            });
        }
        for (int y = band; y < band + height; ++y) {
            std::uint32_t* row = canvas.row(y);
            const float* cell = layer_.data() + (static_cast<std::size_t>(y - band) * width + static_cast<std::size_t>(minX)) * 4;
            for (int x = minX; x < maxX; ++x, cell += 4) {
                if (cell[3] <= 0.0f)
                    continue;
                // Overlapping fills of one shape would sum past opaque; scale them back.
                const float scale = cell[3] > 255.0f ? 255.0f / cell[3] : 1.0f;
                auto channel = [scale](float v, std::uint32_t limit) {
                    return std::min(limit, static_cast<std::uint32_t>(std::max(0.0f, v * scale) + 0.5f));
                };
                const std::uint32_t a = channel(cell[3], 255);
                const std::uint32_t src = (a << 24) | (channel(cell[2], a) << 16) | (channel(cell[1], a) << 8) |
                                          channel(cell[0], a);
                row[x] = blendPixel(row[x], src, 255);
            }
        }
    }
}

}
