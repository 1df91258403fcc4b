#include "movie/MorphShape.h"

#include <algorithm>
#include <cmath>

#include "movie/ByteReader.h"
#include "movie/Records.h"

namespace movie {

namespace {

constexpr std::size_t kMaxStyles = 1u << 16;

void readMorphGradient(ByteReader& reader, FillStyle& start, FillStyle& end)
{
    start.matrix = readMatrix(reader);
    end.matrix = readMatrix(reader);
    const std::uint8_t flags = reader.u8();
    start.spread = end.spread = spreadMode(flags);
    const int count = flags & 0x0F;
    for (int i = 0; i < count && !reader.failed(); ++i) {
        GradientStop from;
        from.ratio = reader.u8();
        from.color = readRgba(reader);
        GradientStop to;
        to.ratio = reader.u8();
        to.color = readRgba(reader);
        start.stops.push_back(from);
        end.stops.push_back(to);
    }
}

void readMorphFill(ByteReader& reader, FillStyle& start, FillStyle& end)
{
    setFillType(start, reader.u8());
    end = start;
    switch (start.kind) {
    case FillKind::Solid:
        start.color = readRgba(reader);
        end.color = readRgba(reader);
        return;
    case FillKind::Bitmap:
        start.bitmapId = end.bitmapId = reader.u16();
        start.matrix = readMatrix(reader);
        end.matrix = readMatrix(reader);
        return;
    default:
        readMorphGradient(reader, start, end);
        if (start.kind == FillKind::FocalGradient) {
            start.focalPoint = reader.fixed8();
            end.focalPoint = reader.fixed8();
        }
        return;
    }
}

void readMorphLine(ByteReader& reader, int version, LineStyle& start, LineStyle& end)
{
    start.width = reader.u16();
    end.width = reader.u16();
    if (version >= 2) {
        const bool hasFill = readLineFlags(reader, start);
        const std::uint16_t endWidth = end.width;
        end = start;
        end.width = endWidth;
        if (hasFill) {
            readMorphFill(reader, start.fill, end.fill);
            return;
        }
    }
    start.fill.color = readRgba(reader);
    end.fill.color = readRgba(reader);
}

std::size_t readCount(ByteReader& reader)
{
    std::size_t count = reader.u8();
    if (count == 0xFF)
        count = reader.u16();
    return std::min(count, kMaxStyles);
}

std::vector<Edge> edgesOf(std::span<const std::uint8_t> records)
{
    Shape shape = parseShapeEdges(records, 3);
    return shape.layers.empty() ? std::vector<Edge>{} : std::move(shape.layers.front().edges);
}

double mix(double from, double to, double t) { return from + (to - from) * t; }

std::int32_t mixTwips(std::int32_t from, std::int32_t to, double t)
{
    return static_cast<std::int32_t>(std::lround(mix(from, to, t)));
}

std::uint8_t mixByte(std::uint8_t from, std::uint8_t to, double t)
{
    return static_cast<std::uint8_t>(std::clamp<long>(std::lround(mix(from, to, t)), 0, 255));
}

Rgba mixColor(Rgba from, Rgba to, double t)
{
    return {mixByte(from.r, to.r, t), mixByte(from.g, to.g, t), mixByte(from.b, to.b, t), mixByte(from.a, to.a, t)};
}

Matrix mixMatrix(const Matrix& from, const Matrix& to, double t)
{
    return {mix(from.a, to.a, t), mix(from.b, to.b, t),   mix(from.c, to.c, t),
            mix(from.d, to.d, t), mix(from.tx, to.tx, t), mix(from.ty, to.ty, t)};
}

FillStyle mixFill(const FillStyle& from, const FillStyle& to, double t)
{
    FillStyle fill = from;
    fill.color = mixColor(from.color, to.color, t);
    fill.matrix = mixMatrix(from.matrix, to.matrix, t);
    fill.focalPoint = mix(from.focalPoint, to.focalPoint, t);
    for (std::size_t i = 0; i < fill.stops.size() && i < to.stops.size(); ++i) {
        fill.stops[i].ratio = mixByte(from.stops[i].ratio, to.stops[i].ratio, t);
        fill.stops[i].color = mixColor(from.stops[i].color, to.stops[i].color, t);
    }
    return fill;
}

LineStyle mixLine(const LineStyle& from, const LineStyle& to, double t)
{
    LineStyle line = from;
    line.width = static_cast<std::uint16_t>(std::clamp<long>(std::lround(mix(from.width, to.width, t)), 0, 0xFFFF));
    line.fill = mixFill(from.fill, to.fill, t);
    return line;
}

// A straight edge keeps its midpoint as control point, so it pairs with a curve.
Edge mixEdge(const Edge& from, const Edge& to, double t)
{
    Edge edge = from;
    edge.x0 = mixTwips(from.x0, to.x0, t);
    edge.y0 = mixTwips(from.y0, to.y0, t);
    edge.cx = mixTwips(from.cx, to.cx, t);
    edge.cy = mixTwips(from.cy, to.cy, t);
    edge.x1 = mixTwips(from.x1, to.x1, t);
    edge.y1 = mixTwips(from.y1, to.y1, t);
    edge.curved = from.curved || to.curved;
    return edge;
}

Rect mixRect(const Rect& from, const Rect& to, double t)
{
    return {mixTwips(from.xMin, to.xMin, t), mixTwips(from.xMax, to.xMax, t), mixTwips(from.yMin, to.yMin, t),
            mixTwips(from.yMax, to.yMax, t)};
}

}

MorphShape parseMorphShape(std::span<const std::uint8_t> body, int morphVersion)
{
    MorphShape morph;
    ByteReader reader(body);
    morph.startBounds = readRect(reader);
    morph.endBounds = readRect(reader);
    if (morphVersion >= 2) {
        readRect(reader);
        readRect(reader);
        reader.u8();
    }
    const std::uint32_t endOffset = reader.u32();
    const std::size_t offsetBase = reader.position();
    const std::size_t fills = readCount(reader);
    for (std::size_t i = 0; i < fills && !reader.failed(); ++i)
        readMorphFill(reader, morph.startFills.emplace_back(), morph.endFills.emplace_back());
    const std::size_t lines = readCount(reader);
    for (std::size_t i = 0; i < lines && !reader.failed(); ++i)
        readMorphLine(reader, morphVersion, morph.startLines.emplace_back(), morph.endLines.emplace_back());
    if (reader.failed())
        return morph;
    morph.startEdges = edgesOf(reader.rest());
    if (endOffset <= body.size() - offsetBase)
        morph.endEdges = edgesOf(body.subspan(offsetBase + endOffset));
    return morph;
}

Shape interpolate(const MorphShape& morph, std::uint16_t ratio)
{
    const double t = ratio / 65535.0;
    Shape shape;
    shape.bounds = mixRect(morph.startBounds, morph.endBounds, t);
    ShapeLayer& layer = shape.layers.emplace_back();
    for (std::size_t i = 0; i < morph.startFills.size(); ++i)
        layer.fills.push_back(mixFill(morph.startFills[i], morph.endFills[i], t));
    for (std::size_t i = 0; i < morph.startLines.size(); ++i)
        layer.lines.push_back(mixLine(morph.startLines[i], morph.endLines[i], t));
    layer.edges.reserve(morph.startEdges.size());
    for (std::size_t i = 0; i < morph.startEdges.size(); ++i) {
        const Edge& from = morph.startEdges[i];
        layer.edges.push_back(i < morph.endEdges.size() ? mixEdge(from, morph.endEdges[i], t) : from);
    }
    return shape;
}

}
