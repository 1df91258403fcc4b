#include "SwfWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace swf {

void BitWriter::ub(std::uint32_t value, int bits)
{
    for (int i = bits - 1; i >= 0; --i) {
        pending_ = static_cast<std::uint8_t>((pending_ << 1) | ((value >> i) & 1u));
        if (++pendingBits_ == 8) {
            bytes_.push_back(pending_);
            pending_ = 0;
            pendingBits_ = 0;
        }
    }
}

void BitWriter::sb(std::int32_t value, int bits)
{
    ub(static_cast<std::uint32_t>(value), bits);
}

void BitWriter::flush()
{
    if (pendingBits_ > 0)
        ub(0, 8 - pendingBits_);
}

void BitWriter::u8(std::uint8_t value)
{
    flush();
    bytes_.push_back(value);
}

void BitWriter::u16(std::uint16_t value)
{
    u8(static_cast<std::uint8_t>(value));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void BitWriter::u32(std::uint32_t value)
{
    u16(static_cast<std::uint16_t>(value));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void BitWriter::string(const std::string& text)
{
    for (char c : text)
        u8(static_cast<std::uint8_t>(c));
    u8(0);
}

void BitWriter::append(const Bytes& bytes)
{
    flush();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void BitWriter::rect(std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax)
{
    flush();
    const int bits = signedBits({xMin, xMax, yMin, yMax});
    ub(static_cast<std::uint32_t>(bits), 5);
    for (std::int32_t v : {xMin, xMax, yMin, yMax})
        sb(v, bits);
    flush();
}

void BitWriter::matrix(const Matrix& m)
{
    flush();
    auto fixed = [](double v) { return static_cast<std::int32_t>(std::lround(v * 65536.0)); };
    const bool hasScale = m.a != 1 || m.d != 1;
    ub(hasScale, 1);
    if (hasScale) {
        const int bits = signedBits({fixed(m.a), fixed(m.d)});
        ub(static_cast<std::uint32_t>(bits), 5);
        sb(fixed(m.a), bits);
        sb(fixed(m.d), bits);
    }
    const bool hasRotate = m.b != 0 || m.c != 0;
    ub(hasRotate, 1);
    if (hasRotate) {
        const int bits = signedBits({fixed(m.b), fixed(m.c)});
        ub(static_cast<std::uint32_t>(bits), 5);
        sb(fixed(m.b), bits);
        sb(fixed(m.c), bits);
    }
    const int bits = m.tx == 0 && m.ty == 0 ? 0 : signedBits({m.tx, m.ty});
    ub(static_cast<std::uint32_t>(bits), 5);
    sb(m.tx, bits);
    sb(m.ty, bits);
    flush();
}

void BitWriter::colorTransform(const ColorTransform& t, bool withAlpha)
{
    flush();
    ub(1, 1);
    ub(1, 1);
    const int bits = std::min(15, signedBits({t.mulR, t.mulG, t.mulB, t.mulA, t.addR, t.addG, t.addB, t.addA}));
    ub(static_cast<std::uint32_t>(bits), 4);
    sb(t.mulR, bits);
    sb(t.mulG, bits);
    sb(t.mulB, bits);
    if (withAlpha)
        sb(t.mulA, bits);
    sb(t.addR, bits);
    sb(t.addG, bits);
    sb(t.addB, bits);
    if (withAlpha)
        sb(t.addA, bits);
    flush();
}

void BitWriter::color(Color c, bool withAlpha)
{
    u8(c.r);
    u8(c.g);
    u8(c.b);
    if (withAlpha)
        u8(c.a);
}

void writeStyleCount(BitWriter& out, std::size_t count)
{
    if (count >= 0xFF) {
        out.u8(0xFF);
        out.u16(static_cast<std::uint16_t>(count));
    } else {
        out.u8(static_cast<std::uint8_t>(count));
    }
}

void writeLineFlags(BitWriter& out, const LineStyle& line)
{
    out.ub(static_cast<std::uint32_t>(line.startCap), 2);
    out.ub(static_cast<std::uint32_t>(line.join), 2);
    out.ub(0, 1);
    out.ub(0, 3);
    out.ub(0, 5);
    out.ub(line.noClose, 1);
    out.ub(static_cast<std::uint32_t>(line.endCap), 2);
    if (line.join == Join::Miter)
        out.u16(static_cast<std::uint16_t>(std::lround(line.miterLimit * 256)));
}

Bytes BitWriter::take()
{
    flush();
    return std::move(bytes_);
}

int signedBits(std::initializer_list<std::int32_t> values)
{
    int bits = 1;
    for (std::int32_t v : values) {
        const std::int64_t magnitude = v < 0 ? -(std::int64_t{v} + 1) : v;
        int needed = 1;
        while ((magnitude >> (needed - 1)) != 0)
            ++needed;
        bits = std::max(bits, needed);
    }
    return bits;
}

Fill Fill::solid(Color color)
{
    Fill fill;
    fill.color = color;
    return fill;
}

Fill Fill::linear(const Matrix& matrix, std::vector<GradientStop> stops, Spread spread)
{
    Fill fill;
    fill.kind = Kind::Linear;
    fill.matrix = matrix;
    fill.stops = std::move(stops);
    fill.spread = spread;
    return fill;
}

Fill Fill::radial(const Matrix& matrix, std::vector<GradientStop> stops, Spread spread)
{
    Fill fill = linear(matrix, std::move(stops), spread);
    fill.kind = Kind::Radial;
    return fill;
}

Fill Fill::focal(const Matrix& matrix, std::vector<GradientStop> stops, double focalPoint, Spread spread)
{
    Fill fill = linear(matrix, std::move(stops), spread);
    fill.kind = Kind::Focal;
    fill.focalPoint = focalPoint;
    return fill;
}

ShapeBuilder::ShapeBuilder() : groups_(1) {}

int ShapeBuilder::addFill(const Fill& fill)
{
    groups_.back().fills.push_back(fill);
    return static_cast<int>(groups_.back().fills.size());
}

int ShapeBuilder::addLine(const LineStyle& line)
{
    groups_.back().lines.push_back(line);
    return static_cast<int>(groups_.back().lines.size());
}

ShapeBuilder& ShapeBuilder::newStyles()
{
    groups_.emplace_back();
    styleRecord().newGroup = groups_.size() - 1;
    return *this;
}

ShapeBuilder::Record& ShapeBuilder::styleRecord()
{
    if (records_.empty() || records_.back().kind != Record::Kind::Style || records_.back().newGroup)
        records_.push_back({Record::Kind::Style});
    return records_.back();
}

ShapeBuilder& ShapeBuilder::fill0(int index)
{
    styleRecord().fill0 = index;
    return *this;
}

ShapeBuilder& ShapeBuilder::fill1(int index)
{
    styleRecord().fill1 = index;
    return *this;
}

ShapeBuilder& ShapeBuilder::line(int index)
{
    styleRecord().line = index;
    return *this;
}

void ShapeBuilder::include(std::int32_t x, std::int32_t y)
{
    if (!hasBounds_) {
        minX_ = maxX_ = x;
        minY_ = maxY_ = y;
        hasBounds_ = true;
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    minY_ = std::min(minY_, y);
    maxY_ = std::max(maxY_, y);
}

ShapeBuilder& ShapeBuilder::moveTo(std::int32_t x, std::int32_t y)
{
    Record record{Record::Kind::Move, x, y};
    records_.push_back(record);
    penX_ = x;
    penY_ = y;
    include(x, y);
    return *this;
}

ShapeBuilder& ShapeBuilder::lineTo(std::int32_t x, std::int32_t y)
{
    records_.push_back({Record::Kind::Line, x, y});
    penX_ = x;
    penY_ = y;
    include(x, y);
    return *this;
}

ShapeBuilder& ShapeBuilder::curveTo(std::int32_t cx, std::int32_t cy, std::int32_t x, std::int32_t y)
{
    records_.push_back({Record::Kind::Curve, x, y, cx, cy});
    penX_ = x;
    penY_ = y;
    include(cx, cy);
    include(x, y);
    return *this;
}

ShapeBuilder& ShapeBuilder::rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1)
{
    return moveTo(x0, y0).lineTo(x1, y0).lineTo(x1, y1).lineTo(x0, y1).lineTo(x0, y0);
}

ShapeBuilder& ShapeBuilder::circle(std::int32_t cx, std::int32_t cy, std::int32_t radius)
{
    constexpr int segments = 16;
    const double step = 2 * 3.14159265358979323846 / segments;
    const double control = radius / std::cos(step / 2);
    auto at = [](double v) { return static_cast<std::int32_t>(std::lround(v)); };
    moveTo(cx + radius, cy);
    for (int i = 1; i <= segments; ++i) {
        const double mid = (i - 0.5) * step;
        const double end = i * step;
        const bool last = i == segments;
        curveTo(at(cx + control * std::cos(mid)), at(cy + control * std::sin(mid)),
                last ? cx + radius : at(cx + radius * std::cos(end)), last ? cy : at(cy + radius * std::sin(end)));
    }
    return *this;
}

ShapeBuilder ShapeBuilder::filledRectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                                           Color color)
{
    ShapeBuilder shape;
    const int fill = shape.addFill(Fill::solid(color));
    shape.fill1(fill).rectangle(x0, y0, x1, y1);
    return shape;
}

namespace {

void writeFill(BitWriter& out, const Fill& fill, bool alpha)
{
    static constexpr std::uint8_t codes[] = {0x00, 0x10, 0x12, 0x13};
    if (fill.kind == Fill::Kind::Bitmap) {
        out.u8(fill.bitmapType);
        out.u16(fill.bitmapId);
        out.matrix(fill.matrix);
        return;
    }
    out.u8(codes[static_cast<int>(fill.kind)]);
    if (fill.kind == Fill::Kind::Solid) {
        out.color(fill.color, alpha);
        return;
    }
    out.matrix(fill.matrix);
    out.u8(static_cast<std::uint8_t>((static_cast<int>(fill.spread) << 6) | (fill.stops.size() & 0x0F)));
    for (const auto& stop : fill.stops) {
        out.u8(stop.ratio);
        out.color(stop.color, alpha);
    }
    if (fill.kind == Fill::Kind::Focal)
        out.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(fill.focalPoint * 256))));
}

int unsignedBits(std::size_t count)
{
    int bits = 0;
    while ((count >> bits) != 0)
        ++bits;
    return bits;
}

}

void ShapeBuilder::writeStyles(BitWriter& out, const Group& group, int version) const
{
    const bool alpha = version >= 3;
    writeStyleCount(out, group.fills.size());
    for (const auto& fill : group.fills)
        writeFill(out, fill, alpha);
    writeStyleCount(out, group.lines.size());
    for (const auto& line : group.lines) {
        out.u16(line.width);
        if (version < 4) {
            out.color(line.color, alpha);
            continue;
        }
        writeLineFlags(out, line);
        out.color(line.color, true);
    }
    out.ub(static_cast<std::uint32_t>(unsignedBits(group.fills.size())), 4);
    out.ub(static_cast<std::uint32_t>(unsignedBits(group.lines.size())), 4);
}

Bytes ShapeBuilder::encode(std::uint16_t id, int version) const
{
    BitWriter out;
    out.u16(id);
    std::int32_t margin = 0;
    for (const auto& group : groups_)
        for (const auto& line : group.lines)
            margin = std::max<std::int32_t>(margin, line.width / 2);
    out.rect(minX_ - margin, maxX_ + margin, minY_ - margin, maxY_ + margin);
    if (version >= 4) {
        out.rect(minX_, maxX_, minY_, maxY_);
        out.u8(0);
    }
    writeStyles(out, groups_.front(), version);
    writeRecords(out, version);
    return out.take();
}

Bytes ShapeBuilder::encodeEdges(int version) const
{
    BitWriter out;
    out.ub(static_cast<std::uint32_t>(unsignedBits(groups_.front().fills.size())), 4);
    out.ub(static_cast<std::uint32_t>(unsignedBits(groups_.front().lines.size())), 4);
    writeRecords(out, version);
    return out.take();
}

void ShapeBuilder::writeRecords(BitWriter& out, int version) const
{
    const Group* group = &groups_.front();
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (const auto& record : records_) {
        const int fillBits = unsignedBits(group->fills.size());
        const int lineBits = unsignedBits(group->lines.size());
        switch (record.kind) {
        case Record::Kind::Style:
            out.ub(0, 1);
            out.ub(record.newGroup.has_value(), 1);
            out.ub(record.line.has_value(), 1);
            out.ub(record.fill1.has_value(), 1);
            out.ub(record.fill0.has_value(), 1);
            out.ub(0, 1);
            if (record.newGroup)
                group = &groups_[*record.newGroup];
            if (record.fill0)
                out.ub(static_cast<std::uint32_t>(*record.fill0), fillBits);
            if (record.fill1)
                out.ub(static_cast<std::uint32_t>(*record.fill1), fillBits);
            if (record.line)
                out.ub(static_cast<std::uint32_t>(*record.line), lineBits);
            if (record.newGroup)
                writeStyles(out, *group, version);
            break;
        case Record::Kind::Move: {
            out.ub(0, 1);
            out.ub(0, 4);
            out.ub(1, 1);
            const int bits = signedBits({record.x, record.y});
            out.ub(static_cast<std::uint32_t>(bits), 5);
            out.sb(record.x, bits);
            out.sb(record.y, bits);
            break;
        }
        case Record::Kind::Line: {
            const std::int32_t dx = record.x - x;
            const std::int32_t dy = record.y - y;
            const int bits = std::max(2, signedBits({dx, dy}));
            out.ub(1, 1);
            out.ub(1, 1);
            out.ub(static_cast<std::uint32_t>(bits - 2), 4);
            out.ub(1, 1);
            out.sb(dx, bits);
            out.sb(dy, bits);
            break;
        }
        case Record::Kind::Curve: {
            const std::int32_t cdx = record.cx - x;
            const std::int32_t cdy = record.cy - y;
            const std::int32_t adx = record.x - record.cx;
            const std::int32_t ady = record.y - record.cy;
            const int bits = std::max(2, signedBits({cdx, cdy, adx, ady}));
            out.ub(1, 1);
            out.ub(0, 1);
            out.ub(static_cast<std::uint32_t>(bits - 2), 4);
            for (std::int32_t v : {cdx, cdy, adx, ady})
                out.sb(v, bits);
            break;
        }
        }
        if (record.kind != Record::Kind::Style) {
            x = record.x;
            y = record.y;
        }
    }
    out.ub(0, 6);
    out.flush();
}

Actions& Actions::play() { return raw(0x06); }
Actions& Actions::stop() { return raw(0x07); }
Actions& Actions::nextFrame() { return raw(0x04); }
Actions& Actions::previousFrame() { return raw(0x05); }

Actions& Actions::gotoFrame(std::uint16_t frame)
{
    return raw(0x81, {static_cast<std::uint8_t>(frame), static_cast<std::uint8_t>(frame >> 8)});
}

Actions& Actions::gotoLabel(const std::string& label)
{
    Bytes payload(label.begin(), label.end());
    payload.push_back(0);
    return raw(0x8C, payload);
}

Actions& Actions::raw(std::uint8_t code, const Bytes& payload)
{
    bytes_.push_back(code);
    if (code >= 0x80) {
        bytes_.push_back(static_cast<std::uint8_t>(payload.size()));
        bytes_.push_back(static_cast<std::uint8_t>(payload.size() >> 8));
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    }
    return *this;
}

Bytes Actions::encode() const
{
    Bytes body = bytes_;
    body.push_back(0);
    return body;
}

Bytes encodeTag(std::uint16_t code, const Bytes& body, bool longForm)
{
    BitWriter out;
    if (body.size() < 0x3F && !longForm) {
        out.u16(static_cast<std::uint16_t>((code << 6) | body.size()));
    } else {
        out.u16(static_cast<std::uint16_t>((code << 6) | 0x3F));
        out.u32(static_cast<std::uint32_t>(body.size()));
    }
    out.append(body);
    return out.take();
}

Timeline& Timeline::tag(std::uint16_t code, const Bytes& body, bool longForm)
{
    const Bytes encoded = encodeTag(code, body, longForm);
    tags_.insert(tags_.end(), encoded.begin(), encoded.end());
    return *this;
}

Timeline& Timeline::place(const Place& place)
{
    return this->place(place, 2);
}

Timeline& Timeline::place(const Place& p, int version)
{
    BitWriter out;
    if (version == 1) {
        out.u16(p.character.value_or(0));
        out.u16(p.depth);
        out.matrix(p.matrix.value_or(Matrix{}));
        if (p.colorTransform)
            out.colorTransform(*p.colorTransform, false);
        return tag(kPlaceObject, out.take());
    }
    std::uint8_t flags = 0;
    if (p.move) flags |= 0x01;
    if (p.character) flags |= 0x02;
    if (p.matrix) flags |= 0x04;
    if (p.colorTransform) flags |= 0x08;
    if (p.ratio) flags |= 0x10;
    if (p.name) flags |= 0x20;
    if (p.clipDepth) flags |= 0x40;
    out.u8(flags);
    if (version == 3)
        out.u8(0x03);
    out.u16(p.depth);
    if (p.character)
        out.u16(*p.character);
    if (p.matrix)
        out.matrix(*p.matrix);
    if (p.colorTransform)
        out.colorTransform(*p.colorTransform, true);
    if (p.ratio)
        out.u16(*p.ratio);
    if (p.name)
        out.string(*p.name);
    if (p.clipDepth)
        out.u16(*p.clipDepth);
    if (version == 3) {
        // One drop-shadow filter and a blend mode, which the player reads past.
        out.u8(1);
        out.u8(0);
        for (int i = 0; i < 23; ++i)
            out.u8(0);
        out.u8(2);
    }
    return tag(version == 3 ? kPlaceObject3 : kPlaceObject2, out.take());
}

Timeline& Timeline::placeObject(std::uint16_t depth, std::uint16_t character, const Matrix& matrix)
{
    Place p;
    p.depth = depth;
    p.character = character;
    p.matrix = matrix;
    return place(p);
}

Timeline& Timeline::remove(std::uint16_t depth)
{
    return tag(kRemoveObject2, {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(depth >> 8)});
}

Timeline& Timeline::removeObject1(std::uint16_t character, std::uint16_t depth)
{
    return tag(kRemoveObject, {static_cast<std::uint8_t>(character), static_cast<std::uint8_t>(character >> 8),
                               static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(depth >> 8)});
}

Timeline& Timeline::showFrame()
{
    ++frames_;
    return tag(kShowFrame, {});
}

Timeline& Timeline::label(const std::string& name)
{
    Bytes body(name.begin(), name.end());
    body.push_back(0);
    return tag(kFrameLabel, body);
}

Timeline& Timeline::actions(const Actions& actions)
{
    return tag(kDoAction, actions.encode());
}

Bytes spriteBody(std::uint16_t id, const Timeline& timeline)
{
    BitWriter out;
    out.u16(id);
    out.u16(static_cast<std::uint16_t>(timeline.frames()));
    out.append(timeline.tags());
    out.append(encodeTag(kEnd, {}));
    return out.take();
}

Movie::Movie(int width, int height, double frameRate, int version)
    : width_(width), height_(height), frameRate_(frameRate), version_(version)
{
}

Movie& Movie::background(Color color)
{
    tag(kSetBackgroundColor, {color.r, color.g, color.b});
    return *this;
}

Movie& Movie::defineShape(std::uint16_t id, const ShapeBuilder& shape, int version)
{
    static constexpr std::uint16_t codes[] = {2, 22, 32, 83};
    tag(codes[std::clamp(version, 1, 4) - 1], shape.encode(id, version));
    return *this;
}

Movie& Movie::defineSprite(std::uint16_t id, const Timeline& timeline)
{
    tag(kDefineSprite, spriteBody(id, timeline));
    return *this;
}

Movie& Movie::frameCount(int count)
{
    frameCount_ = count;
    return *this;
}

Bytes Movie::finish(Compression compression) const
{
    BitWriter body;
    body.rect(0, width_ * 20, 0, height_ * 20);
    body.u16(static_cast<std::uint16_t>(std::lround(frameRate_ * 256)));
    body.u16(static_cast<std::uint16_t>(frameCount_.value_or(frames())));
    body.append(tags());
    body.append(encodeTag(kEnd, {}));
    Bytes payload = body.take();

    BitWriter file;
    file.u8(compression == Compression::Zlib ? 'C' : 'F');
    file.u8('W');
    file.u8('S');
    file.u8(static_cast<std::uint8_t>(version_));
    file.u32(static_cast<std::uint32_t>(payload.size() + 8));
    if (compression == Compression::Zlib) {
        uLongf size = compressBound(static_cast<uLong>(payload.size()));
        Bytes packed(size);
        if (compress(packed.data(), &size, payload.data(), static_cast<uLong>(payload.size())) != Z_OK)
            throw std::runtime_error("zlib compression failed");
        packed.resize(size);
        payload = std::move(packed);
    }
    file.append(payload);
    return file.take();
}

}
