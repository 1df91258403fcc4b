#include "SwfMorphWriter.h"

#include <algorithm>

namespace swf {

namespace {

void writeBounds(BitWriter& out, const ShapeBuilder& shape)
{
    const auto b = shape.bounds();
    out.rect(b[0], b[1], b[2], b[3]);
}

void writeMorphFill(BitWriter& out, const Fill& start, const Fill& end)
{
    static constexpr std::uint8_t codes[] = {0x00, 0x10, 0x12, 0x13};
    out.u8(codes[static_cast<int>(start.kind)]);
    if (start.kind == Fill::Kind::Solid) {
        out.color(start.color, true);
        out.color(end.color, true);
        return;
    }
    out.matrix(start.matrix);
    out.matrix(end.matrix);
    const std::size_t count = std::min(start.stops.size(), end.stops.size());
    out.u8(static_cast<std::uint8_t>((static_cast<int>(start.spread) << 6) | (count & 0x0F)));
    for (std::size_t i = 0; i < count; ++i) {
        out.u8(start.stops[i].ratio);
        out.color(start.stops[i].color, true);
        out.u8(end.stops[i].ratio);
        out.color(end.stops[i].color, true);
    }
}

void writeMorphLine(BitWriter& out, const LineStyle& start, const LineStyle& end, int version)
{
    out.u16(start.width);
    out.u16(end.width);
    if (version >= 2)
        writeLineFlags(out, start);
    out.color(start.color, true);
    out.color(end.color, true);
}

}

int MorphShapeBuilder::addFill(const Fill& start, const Fill& end)
{
    fills_.emplace_back(start, end);
    return start_.addFill(start);
}

int MorphShapeBuilder::addLine(const LineStyle& start, const LineStyle& end)
{
    lines_.emplace_back(start, end);
    return start_.addLine(start);
}

Bytes MorphShapeBuilder::encode(std::uint16_t id, int version) const
{
    BitWriter out;
    out.u16(id);
    writeBounds(out, start_);
    writeBounds(out, end_);
    if (version >= 2) {
        writeBounds(out, start_);
        writeBounds(out, end_);
        out.u8(0);
    }
    BitWriter styles;
    writeStyleCount(styles, fills_.size());
    for (const auto& [start, end] : fills_)
        writeMorphFill(styles, start, end);
    writeStyleCount(styles, lines_.size());
    for (const auto& [start, end] : lines_)
        writeMorphLine(styles, start, end, version);
    const Bytes startEdges = start_.encodeEdges(3);
    const Bytes styleBytes = styles.take();
    out.u32(static_cast<std::uint32_t>(styleBytes.size() + startEdges.size()));
    out.append(styleBytes);
    out.append(startEdges);
    out.append(end_.encodeEdges(3));
    return out.take();
}

}
