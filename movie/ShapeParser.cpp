#include "movie/Shape.h"

#include <algorithm>

#include "movie/ByteReader.h"
#include "movie/Records.h"

namespace movie {

std::size_t Shape::memoryBytes() const
{
    std::size_t total = sizeof(Shape);
    for (const auto& layer : layers) {
        total += sizeof(ShapeLayer) + layer.edges.capacity() * sizeof(Edge) +
                 layer.fills.capacity() * sizeof(FillStyle) +
                 layer.lines.capacity() * sizeof(LineStyle);
        for (const auto& fill : layer.fills)
            total += fill.stops.capacity() * sizeof(GradientStop);
    }
    return total;
}

const Rect& Shape::edgeExtent() const
{
    if (edgeExtent_)
        return *edgeExtent_;
    bool any = false;
    Rect box;
    auto include = [&](std::int32_t x, std::int32_t y) {
        if (!any) {
            box = {x, x, y, y};
            any = true;
        }
        box.xMin = std::min(box.xMin, x);
        box.xMax = std::max(box.xMax, x);
        box.yMin = std::min(box.yMin, y);
        box.yMax = std::max(box.yMax, y);
    };
    for (const auto& layer : layers)
        for (const auto& edge : layer.edges) {
            include(edge.x0, edge.y0);
            include(edge.x1, edge.y1);
            if (edge.curved)
                include(edge.cx, edge.cy);
        }
    return edgeExtent_.emplace(box);
}

void setFillType(FillStyle& fill, std::uint8_t type)
{
    switch (type) {
    case 0x00: fill.kind = FillKind::Solid; return;
    case 0x10: fill.kind = FillKind::LinearGradient; return;
    case 0x12: fill.kind = FillKind::RadialGradient; return;
    case 0x13: fill.kind = FillKind::FocalGradient; return;
    default:
        fill.kind = FillKind::Bitmap;
        fill.repeat = (type & 0x01) == 0;
        fill.smooth = (type & 0x02) == 0;
        return;
    }
}

SpreadMode spreadMode(std::uint8_t gradientFlags)
{
    const int spread = gradientFlags >> 6;
    return spread == 1 ? SpreadMode::Reflect : spread == 2 ? SpreadMode::Repeat : SpreadMode::Pad;
}

namespace {

CapStyle capStyle(std::uint32_t bits)
{
    return bits == 1 ? CapStyle::None : bits == 2 ? CapStyle::Square : CapStyle::Round;
}

}

bool readLineFlags(ByteReader& reader, LineStyle& line)
{
    line.startCap = capStyle(reader.ubits(2));
    const std::uint32_t join = reader.ubits(2);
    line.join = join == 1 ? JoinStyle::Bevel : join == 2 ? JoinStyle::Miter : JoinStyle::Round;
    const bool hasFill = reader.ubits(1) != 0;
    reader.ubits(3);
    reader.ubits(5);
    line.noClose = reader.ubits(1) != 0;
    line.endCap = capStyle(reader.ubits(2));
    if (line.join == JoinStyle::Miter)
        line.miterLimit = reader.fixed8();
    return hasFill;
}

namespace {

// However long the tag, a shape holds at most this much; the rest is not read.
constexpr std::size_t kMaxEdges = 1u << 20;
constexpr std::size_t kMaxStyles = 1u << 16;

// Keeps pen positions far from overflow whatever the deltas say.
std::int32_t offset(std::int32_t base, std::int64_t delta)
{
    constexpr std::int64_t limit = 1 << 28;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(base + delta, -limit, limit));
}

class ShapeParser {
public:
    ShapeParser(std::span<const std::uint8_t> body, int version) : reader_(body), version_(version) {}

    Shape parse()
    {
        shape_.bounds = readRect(reader_);
        if (version_ >= 4) {
            readRect(reader_);
            reader_.u8();
        }
        shape_.layers.emplace_back();
        readStyles(shape_.layers.back());
        readRecords();
        return std::move(shape_);
    }

    // Records without style arrays, the bit counts straight away; glyphs fill with one implicit style.
    Shape parseEdges(bool implicitFill)
    {
        ShapeLayer& layer = shape_.layers.emplace_back();
        if (implicitFill)
            layer.fills.emplace_back();
        fillBits_ = static_cast<int>(reader_.ubits(4));
        lineBits_ = static_cast<int>(reader_.ubits(4));
        readRecords();
        return std::move(shape_);
    }

private:
    Rgba readColor() { return version_ >= 3 ? readRgba(reader_) : readRgb(reader_); }

    std::size_t readCount()
    {
        std::size_t count = reader_.u8();
        if (count == 0xFF && version_ >= 2)
            count = reader_.u16();
        return count;
    }

    void readGradient(FillStyle& fill)
    {
        fill.matrix = readMatrix(reader_);
        const std::uint8_t flags = reader_.u8();
        fill.spread = spreadMode(flags);
        const int count = flags & 0x0F;
        for (int i = 0; i < count && !reader_.failed(); ++i) {
            GradientStop stop;
            stop.ratio = reader_.u8();
            stop.color = readColor();
            fill.stops.push_back(stop);
        }
    }

    FillStyle readFill()
    {
        FillStyle fill;
        setFillType(fill, reader_.u8());
        switch (fill.kind) {
        case FillKind::Solid:
            fill.color = readColor();
            break;
        case FillKind::Bitmap:
            fill.bitmapId = reader_.u16();
            fill.matrix = readMatrix(reader_);
            break;
        default:
            readGradient(fill);
            if (fill.kind == FillKind::FocalGradient)
                fill.focalPoint = reader_.fixed8();
            break;
        }
        return fill;
    }

    LineStyle readLine()
    {
        LineStyle line;
        line.width = reader_.u16();
        if (version_ < 4) {
            line.fill.color = readColor();
            return line;
        }
        if (readLineFlags(reader_, line))
            line.fill = readFill();
        else
            line.fill.color = readRgba(reader_);
        return line;
    }

    void readStyles(ShapeLayer& layer)
    {
        const std::size_t fills = readCount();
        for (std::size_t i = 0; i < fills && !reader_.failed(); ++i)
            if (countStyle())
                layer.fills.push_back(readFill());
        const std::size_t lines = readCount();
        for (std::size_t i = 0; i < lines && !reader_.failed(); ++i)
            if (countStyle())
                layer.lines.push_back(readLine());
        reader_.align();
        fillBits_ = static_cast<int>(reader_.ubits(4));
        lineBits_ = static_cast<int>(reader_.ubits(4));
    }

    bool countStyle()
    {
        if (styles_ >= kMaxStyles) {
            reader_.skip(reader_.remaining());
            return false;
        }
        ++styles_;
        return true;
    }

    void readStyleChange(std::uint32_t flags)
    {
        const bool newStyles = flags & 0x10;
        if (flags & 0x01) {
            const int bits = static_cast<int>(reader_.ubits(5));
            x_ = offset(0, reader_.sbits(bits));
            y_ = offset(0, reader_.sbits(bits));
        }
        if (newStyles)
            fill0_ = fill1_ = line_ = 0;
        if (flags & 0x02)
            fill0_ = static_cast<std::uint16_t>(reader_.ubits(fillBits_));
        if (flags & 0x04)
            fill1_ = static_cast<std::uint16_t>(reader_.ubits(fillBits_));
        if (flags & 0x08)
            line_ = static_cast<std::uint16_t>(reader_.ubits(lineBits_));
        if (newStyles && version_ > 0) {
            shape_.layers.emplace_back();
            readStyles(shape_.layers.back());
        }
    }

    void readEdge()
    {
        Edge edge{x_, y_, 0, 0, 0, 0, fill0_, fill1_, line_, false};
        const bool straight = reader_.ubits(1) != 0;
        const int bits = static_cast<int>(reader_.ubits(4)) + 2;
        std::int32_t dx = 0;
        std::int32_t dy = 0;
        if (straight) {
            if (reader_.ubits(1)) {
                dx = reader_.sbits(bits);
                dy = reader_.sbits(bits);
            } else if (reader_.ubits(1)) {
                dy = reader_.sbits(bits);
            } else {
                dx = reader_.sbits(bits);
            }
            edge.cx = offset(x_, dx / 2);
            edge.cy = offset(y_, dy / 2);
        } else {
            edge.curved = true;
            edge.cx = offset(x_, reader_.sbits(bits));
            edge.cy = offset(y_, reader_.sbits(bits));
            x_ = edge.cx;
            y_ = edge.cy;
            dx = reader_.sbits(bits);
            dy = reader_.sbits(bits);
        }
        x_ = offset(x_, dx);
        y_ = offset(y_, dy);
        edge.x1 = x_;
        edge.y1 = y_;
        if (reader_.failed())
            return;
        if (++edges_ > kMaxEdges)
            reader_.skip(reader_.remaining());
        else
            shape_.layers.back().edges.push_back(edge);
    }

    void readRecords()
    {
        while (!reader_.failed()) {
            if (reader_.ubits(1)) {
                readEdge();
                continue;
            }
            const std::uint32_t flags = reader_.ubits(5);
            if (flags == 0)
                return;
            readStyleChange(flags);
        }
    }

    ByteReader reader_;
    int version_;
    Shape shape_;
    int fillBits_ = 0;
    int lineBits_ = 0;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::uint16_t fill0_ = 0;
    std::uint16_t fill1_ = 0;
    std::uint16_t line_ = 0;
    std::size_t styles_ = 0;
    std::size_t edges_ = 0;
};

}

Shape parseShape(std::span<const std::uint8_t> body, int shapeVersion)
{
    return ShapeParser(body, shapeVersion).parse();
}

Shape parseShapeEdges(std::span<const std::uint8_t> body, int shapeVersion)
{
    return ShapeParser(body, shapeVersion).parseEdges(false);
}

Shape parseGlyph(std::span<const std::uint8_t> records)
{
    return ShapeParser(records, 0).parseEdges(true);
}

}
