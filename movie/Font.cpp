#include "movie/Font.h"

#include <algorithm>

#include "movie/ByteReader.h"

namespace movie {

namespace {

enum FontFlags : std::uint8_t {
    kWideCodes = 0x04,
    kWideOffsets = 0x08,
    kHasLayout = 0x80,
};

// DefineFontInfo keeps its wide-codes flag in another bit.
constexpr std::uint8_t kInfoWideCodes = 0x01;

// Offsets are counted from the start of the offset table; each glyph runs to the
// next offset, the last one to `end`. Glyphs whose range makes no sense stay empty.
std::vector<std::span<const std::uint8_t>> glyphRanges(std::span<const std::uint8_t> table,
                                                       const std::vector<std::uint32_t>& offsets, std::size_t end)
{
    std::vector<std::span<const std::uint8_t>> glyphs(offsets.size());
    end = std::min(end, table.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::size_t from = offsets[i];
        const std::size_t to = i + 1 < offsets.size() ? std::min<std::size_t>(offsets[i + 1], end) : end;
        if (from < to)
            glyphs[i] = table.subspan(from, to - from);
    }
    return glyphs;
}

// Names are stored with a terminating zero by some tools and without by others.
std::string fontName(std::span<const std::uint8_t> bytes)
{
    std::string name(bytes.begin(), bytes.end());
    if (const auto end = name.find('\0'); end != std::string::npos)
        name.resize(end);
    return name;
}

}

Font Font::parse(std::span<const std::uint8_t> body, int version)
{
    Font font;
    font.version_ = version;
    ByteReader reader(body);
    if (version == 1) {
        const std::span<const std::uint8_t> table = reader.rest();
        const std::size_t count = reader.u16() / 2u;
        if (reader.failed() || count * 2 > table.size())
            return font;
        std::vector<std::uint32_t> offsets{static_cast<std::uint32_t>(count * 2)};
        for (std::size_t i = 1; i < count; ++i)
            offsets.push_back(reader.u16());
        font.glyphs_ = glyphRanges(table, offsets, table.size());
        font.shapes_.resize(font.glyphs_.size());
        return font;
    }
    const std::uint8_t flags = reader.u8();
    reader.u8();
    font.name_ = fontName(reader.bytes(reader.u8()));
    const std::size_t count = reader.u16();
    const std::span<const std::uint8_t> table = reader.rest();
    const std::size_t offsetSize = (flags & kWideOffsets) ? 4 : 2;
    if (reader.failed() || (count + 1) * offsetSize > table.size())
        return font;
    auto offset = [&] { return offsetSize == 4 ? reader.u32() : std::uint32_t{reader.u16()}; };
    std::vector<std::uint32_t> offsets(count);
    for (auto& value : offsets)
        value = offset();
    const std::size_t codeTable = offset();
    font.glyphs_ = glyphRanges(table, offsets, codeTable);
    font.shapes_.resize(count);
    if (codeTable > table.size())
        return font;
    const bool wideCodes = version == 3 || (flags & kWideCodes);
    ByteReader rest(table.subspan(codeTable));
    font.readCodes(rest.bytes(count * (wideCodes ? 2 : 1)), wideCodes);
    if (!(flags & kHasLayout) || rest.failed())
        return font;
    font.ascent_ = rest.u16();
    font.descent_ = rest.u16();
    font.leading_ = rest.s16();
    std::vector<std::int16_t> advances(count);
    for (auto& advance : advances)
        advance = rest.s16();
    // Bounds and kerning follow; nothing here needs them.
    if (!rest.failed())
        font.advances_ = std::move(advances);
    return font;
}

void Font::applyInfo(std::span<const std::uint8_t> body, bool version2)
{
    ByteReader reader(body);
    const auto name = reader.bytes(reader.u8());
    const std::uint8_t flags = reader.u8();
    if (version2)
        reader.u8();
    if (reader.failed())
        return;
    name_ = fontName(name);
    const bool wide = flags & kInfoWideCodes;
    codes_.clear();
    readCodes(reader.bytes(glyphs_.size() * (wide ? 2 : 1)), wide);
}

void Font::readCodes(std::span<const std::uint8_t> table, bool wide)
{
    ByteReader reader(table);
    const std::size_t count = std::min(glyphs_.size(), table.size() / (wide ? 2 : 1));
    for (std::size_t i = 0; i < count; ++i)
        codes_.try_emplace(wide ? reader.u16() : reader.u8(), i);
}

const Shape* Font::glyph(std::size_t index) const
{
    if (index >= glyphs_.size())
        return nullptr;
    if (!shapes_[index])
        shapes_[index] = std::make_unique<Shape>(parseGlyph(glyphs_[index]));
    return shapes_[index].get();
}

std::optional<std::size_t> Font::indexOf(char32_t code) const
{
    const auto found = codes_.find(code);
    if (found == codes_.end())
        return std::nullopt;
    return found->second;
}

double Font::advance(std::size_t index) const
{
    if (index < advances_.size())
        return advances_[index];
    const Shape* shape = glyph(index);
    if (!shape)
        return 0;
    std::int32_t right = 0;
    for (const auto& layer : shape->layers)
        for (const auto& edge : layer.edges)
            right = std::max({right, edge.x0, edge.x1});
    // A little air after the ink, as the glyph carries no advance of its own.
    return right + unitsPerEm() / 16;
}

}
