#include "SwfTextWriter.h"

#include <algorithm>

namespace swf {

namespace {

// Bytes of the RECT at the start of `bytes`.
std::size_t rectSize(const Bytes& bytes, std::size_t at)
{
    const int bits = bytes[at] >> 3;
    return static_cast<std::size_t>((5 + 4 * bits + 7) / 8);
}

Bytes glyphBounds(const ShapeBuilder& outline)
{
    const Bytes shape = outline.encode(0, 1);
    return Bytes(shape.begin() + 2, shape.begin() + 2 + static_cast<std::ptrdiff_t>(rectSize(shape, 2)));
}

int unsignedBits(std::uint32_t value)
{
    int bits = 0;
    while (bits < 32 && (value >> bits) != 0)
        ++bits;
    return bits;
}

}

ShapeBuilder glyphOutline()
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(Fill::solid({})));
    return shape;
}

Bytes glyphRecords(const ShapeBuilder& outline)
{
    // A one-fill DefineShape body is the glyph's records behind an id, bounds and the
    // style arrays (one solid RGB fill, no lines): drop those.
    const Bytes shape = outline.encode(0, 1);
    const std::size_t header = 2 + rectSize(shape, 2) + 1 + 4 + 1;
    return Bytes(shape.begin() + static_cast<std::ptrdiff_t>(header), shape.end());
}

Bytes defineFont(std::uint16_t id, const std::vector<Glyph>& glyphs)
{
    BitWriter table;
    Bytes shapes;
    for (const auto& glyph : glyphs) {
        table.u16(static_cast<std::uint16_t>(glyphs.size() * 2 + shapes.size()));
        const Bytes records = glyphRecords(glyph.outline);
        shapes.insert(shapes.end(), records.begin(), records.end());
    }
    BitWriter out;
    out.u16(id);
    out.append(table.take());
    out.append(shapes);
    return out.take();
}

Bytes defineFontInfo(std::uint16_t fontId, const std::string& name, const std::vector<Glyph>& glyphs, bool wideCodes)
{
    BitWriter out;
    out.u16(fontId);
    out.u8(static_cast<std::uint8_t>(name.size()));
    for (char c : name)
        out.u8(static_cast<std::uint8_t>(c));
    out.u8(wideCodes ? 0x01 : 0x00);
    for (const auto& glyph : glyphs) {
        if (wideCodes)
            out.u16(glyph.code);
        else
            out.u8(static_cast<std::uint8_t>(glyph.code));
    }
    return out.take();
}

Bytes defineFont2(std::uint16_t id, const std::vector<Glyph>& glyphs, const FontOptions& options, int version)
{
    const bool wideCodes = version == 3 || options.wideCodes;
    const std::size_t offsetSize = options.wideOffsets ? 4 : 2;
    BitWriter table;
    Bytes shapes;
    auto offset = [&](std::size_t value) {
        if (options.wideOffsets)
            table.u32(static_cast<std::uint32_t>(value));
        else
            table.u16(static_cast<std::uint16_t>(value));
    };
    const std::size_t tableSize = (glyphs.size() + 1) * offsetSize;
    for (const auto& glyph : glyphs) {
        offset(tableSize + shapes.size());
        const Bytes records = glyphRecords(glyph.outline);
        shapes.insert(shapes.end(), records.begin(), records.end());
    }
    offset(tableSize + shapes.size());

    BitWriter out;
    out.u16(id);
    out.u8(static_cast<std::uint8_t>((options.layout ? 0x80 : 0) | (options.wideOffsets ? 0x08 : 0) |
                                     (wideCodes ? 0x04 : 0)));
    out.u8(0);
    out.u8(static_cast<std::uint8_t>(options.name.size()));
    for (char c : options.name)
        out.u8(static_cast<std::uint8_t>(c));
    out.u16(static_cast<std::uint16_t>(glyphs.size()));
    out.append(table.take());
    out.append(shapes);
    for (const auto& glyph : glyphs) {
        if (wideCodes)
            out.u16(glyph.code);
        else
            out.u8(static_cast<std::uint8_t>(glyph.code));
    }
    if (!options.layout)
        return out.take();
    out.u16(options.layout->ascent);
    out.u16(options.layout->descent);
    out.u16(static_cast<std::uint16_t>(options.layout->leading));
    for (const auto& glyph : glyphs)
        out.u16(static_cast<std::uint16_t>(glyph.advance));
    for (const auto& glyph : glyphs)
        out.append(glyphBounds(glyph.outline));
    out.u16(static_cast<std::uint16_t>(options.kerningPairs));
    for (int i = 0; i < options.kerningPairs; ++i) {
        if (wideCodes) {
            out.u16(glyphs.empty() ? 0 : glyphs.front().code);
            out.u16(glyphs.empty() ? 0 : glyphs.back().code);
        } else {
            out.u8(0);
            out.u8(0);
        }
        out.u16(static_cast<std::uint16_t>(-20));
    }
    return out.take();
}

Bytes defineText(std::uint16_t id, const Bounds& bounds, const Matrix& matrix, const std::vector<TextRecord>& records,
                 bool withAlpha)
{
    std::uint32_t maxIndex = 0;
    std::int32_t maxAdvance = 0;
    for (const auto& record : records)
        for (const auto& [index, advance] : record.glyphs) {
            maxIndex = std::max(maxIndex, index);
            maxAdvance = std::max(maxAdvance, advance < 0 ? -advance : advance);
        }
    const int glyphBits = std::max(1, unsignedBits(maxIndex));
    const int advanceBits = signedBits({maxAdvance, -maxAdvance});

    BitWriter out;
    out.u16(id);
    out.rect(bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax);
    out.matrix(matrix);
    out.u8(static_cast<std::uint8_t>(glyphBits));
    out.u8(static_cast<std::uint8_t>(advanceBits));
    for (const auto& record : records) {
        out.u8(static_cast<std::uint8_t>(0x80 | (record.font ? 0x08 : 0) | (record.color ? 0x04 : 0) |
                                         (record.y ? 0x02 : 0) | (record.x ? 0x01 : 0)));
        if (record.font)
            out.u16(*record.font);
        if (record.color)
            out.color(*record.color, withAlpha);
        if (record.x)
            out.u16(static_cast<std::uint16_t>(*record.x));
        if (record.y)
            out.u16(static_cast<std::uint16_t>(*record.y));
        if (record.font)
            out.u16(record.height);
        out.u8(static_cast<std::uint8_t>(record.glyphs.size()));
        for (const auto& [index, advance] : record.glyphs) {
            out.ub(index, glyphBits);
            out.sb(advance, advanceBits);
        }
        out.flush();
    }
    out.u8(0);
    return out.take();
}

Bytes defineEditText(std::uint16_t id, const EditText& field)
{
    BitWriter out;
    out.u16(id);
    out.rect(field.bounds.xMin, field.bounds.xMax, field.bounds.yMin, field.bounds.yMax);
    out.u8(static_cast<std::uint8_t>((field.text ? 0x80 : 0) | (field.wordWrap ? 0x40 : 0) |
                                     (field.multiline ? 0x20 : 0) | (field.password ? 0x10 : 0) | 0x08 |
                                     (field.color ? 0x04 : 0) | (field.font ? 0x01 : 0)));
    out.u8(static_cast<std::uint8_t>((field.align ? 0x20 : 0) | (field.border ? 0x08 : 0) | (field.html ? 0x02 : 0) |
                                     (field.useOutlines ? 0x01 : 0)));
    if (field.font) {
        out.u16(*field.font);
        out.u16(field.height);
    }
    if (field.color)
        out.color(*field.color, true);
    if (field.align) {
        out.u8(static_cast<std::uint8_t>(*field.align));
        out.u16(field.leftMargin);
        out.u16(field.rightMargin);
        out.u16(field.indent);
        out.u16(static_cast<std::uint16_t>(field.leading));
    }
    out.string(field.variable);
    if (field.text)
        out.string(*field.text);
    return out.take();
}

Bytes textSampler(Compression compression)
{
    std::vector<Glyph> glyphs(3);
    glyphs[0].outline.rectangle(0, -700, 500, 0);
    glyphs[0].code = 'A';
    glyphs[0].advance = 600;
    glyphs[1].outline.circle(300, -300, 280);
    glyphs[1].code = 0x4E2D;
    glyphs[1].advance = 700;
    glyphs[2].code = ' ';
    glyphs[2].advance = 300;
    std::vector<Glyph> large = glyphs;
    for (auto& glyph : large) {
        glyph.outline = glyphOutline();
        glyph.outline.rectangle(0, -700 * 20, 500 * 20, 0);
        glyph.advance = static_cast<std::int16_t>(glyph.advance * 20);
    }
    Movie movie(64, 48);
    movie.tag(kDefineFont, defineFont(1, glyphs));
    movie.tag(kDefineFontInfo, defineFontInfo(1, "Old", glyphs, true));
    FontOptions narrow;
    narrow.wideCodes = false;
    narrow.layout = FontLayout{800, 200, 40};
    narrow.kerningPairs = 2;
    movie.tag(kDefineFont2, defineFont2(2, glyphs, narrow));
    FontOptions wide;
    wide.wideOffsets = true;
    wide.layout = FontLayout{16000, 4000, 0};
    movie.tag(kDefineFont3, defineFont2(3, large, wide, 3));
    TextRecord first;
    first.font = 2;
    first.height = 300;
    first.color = Color{200, 0, 0};
    first.x = 20;
    first.y = 400;
    first.glyphs = {{0, 200}, {1, 250}, {2, 100}};
    TextRecord second = first;
    second.font = 3;
    second.x.reset();
    second.color = Color{0, 0, 200, 128};
    movie.tag(kDefineText, defineText(4, {0, 1200, 0, 600}, Matrix::translate(20, 20), {first}, false));
    movie.tag(kDefineText2, defineText(5, {0, 1200, 0, 600}, {}, {first, second}, true));
    EditText field;
    field.bounds = {0, 1200, 0, 900};
    field.font = 1;
    field.height = 200;
    field.color = Color{0, 120, 0};
    field.align = Align::Center;
    field.indent = 40;
    field.leading = 20;
    field.wordWrap = true;
    field.multiline = true;
    field.html = true;
    field.border = true;
    field.variable = "title";
    field.text = "<p>A \xE4\xB8\xAD A&amp;A</p><p>AAAA AAAA</p>";
    movie.tag(kDefineEditText, defineEditText(6, field));
    movie.placeObject(1, 4).placeObject(2, 5).placeObject(3, 6, Matrix::translate(0, 300)).showFrame();
    return movie.finish(compression);
}

}
