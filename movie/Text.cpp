#include "movie/Text.h"

#include <algorithm>
#include <cstdint>

#include "movie/ByteReader.h"
#include "movie/Records.h"

namespace movie {

namespace {

// However long the tag, one text holds at most this many glyphs.
constexpr std::size_t kMaxGlyphsPerText = 1u << 16;

enum EditTextFlags : std::uint16_t {
    kHasFont = 0x0001,
    kHasMaxLength = 0x0002,
    kHasTextColor = 0x0004,
    kPassword = 0x0010,
    kMultiline = 0x0020,
    kWordWrap = 0x0040,
    kHasText = 0x0080,
    kHtml = 0x0200,
    kBorder = 0x0800,
    kHasLayout = 0x2000,
    kHasFontClass = 0x8000,
};

bool readRun(ByteReader& reader, bool withAlpha, int glyphBits, int advanceBits, TextRun& run,
             std::size_t& glyphsLeft)
{
    const std::uint8_t flags = reader.u8();
    if (flags == 0 || reader.failed())
        return false;
    run.glyphs.clear();
    if (flags & 0x08)
        run.fontId = reader.u16();
    if (flags & 0x04)
        run.color = withAlpha ? readRgba(reader) : readRgb(reader);
    if (flags & 0x01)
        run.x = reader.s16();
    if (flags & 0x02)
        run.y = reader.s16();
    if (flags & 0x08)
        run.height = reader.u16();
    const std::size_t count = reader.u8();
    for (std::size_t i = 0; i < count && !reader.failed() && glyphsLeft > 0; ++i, --glyphsLeft) {
        GlyphEntry entry;
        entry.index = reader.ubits(glyphBits);
        entry.advance = reader.sbits(advanceBits);
        run.glyphs.push_back(entry);
    }
    reader.align();
    return !reader.failed();
}

int decodeEntity(const std::u32string& name)
{
    static const std::pair<const char32_t*, char32_t> named[] = {
        {U"lt", U'<'}, {U"gt", U'>'}, {U"amp", U'&'}, {U"quot", U'"'}, {U"apos", U'\''}, {U"nbsp", 0xA0},
    };
    for (const auto& [entity, character] : named)
        if (name == entity)
            return static_cast<int>(character);
    if (name.size() < 2 || name[0] != U'#')
        return -1;
    const bool hex = name[1] == U'x' || name[1] == U'X';
    long value = 0;
    for (std::size_t i = hex ? 2 : 1; i < name.size(); ++i) {
        const char32_t c = name[i];
        int digit = -1;
        if (c >= U'0' && c <= U'9')
            digit = static_cast<int>(c - U'0');
        else if (hex && c >= U'a' && c <= U'f')
            digit = static_cast<int>(c - U'a' + 10);
        else if (hex && c >= U'A' && c <= U'F')
            digit = static_cast<int>(c - U'A' + 10);
        if (digit < 0 || value > 0x10FFFF)
            return -1;
        value = value * (hex ? 16 : 10) + digit;
    }
    return value > 0 && value <= 0x10FFFF ? static_cast<int>(value) : -1;
}

std::u32string lowerTagName(const std::u32string& tag)
{
    std::u32string name;
    for (char32_t c : tag) {
        if (c == U' ' || c == U'>' || c == U'\t' || c == U'\n' || c == U'\r')
            break;
        name.push_back(c >= U'A' && c <= U'Z' ? c + 32 : c);
    }
    return name;
}

}

TextDefinition parseText(std::span<const std::uint8_t> body, bool withAlpha)
{
    ByteReader reader(body);
    TextDefinition text;
    text.bounds = readRect(reader);
    text.matrix = readMatrix(reader);
    const int glyphBits = reader.u8();
    const int advanceBits = reader.u8();
    if (reader.failed() || glyphBits > 32 || advanceBits > 32)
        return text;
    TextRun run;
    std::size_t glyphsLeft = kMaxGlyphsPerText;
    while (glyphsLeft > 0 && readRun(reader, withAlpha, glyphBits, advanceBits, run, glyphsLeft)) {
        text.runs.push_back(run);
        // The next run starts where this one's pen stopped unless it says otherwise.
        std::int64_t x = run.x;
        for (const auto& glyph : run.glyphs)
            x = std::clamp<std::int64_t>(x + glyph.advance, INT32_MIN, INT32_MAX);
        run.x = static_cast<std::int32_t>(x);
    }
    return text;
}

EditTextDefinition parseEditText(std::span<const std::uint8_t> body, int swfVersion)
{
    ByteReader reader(body);
    EditTextDefinition field;
    field.bounds = readRect(reader);
    const std::uint8_t low = reader.u8();
    const auto flags = static_cast<std::uint16_t>(low | (reader.u8() << 8));
    if (flags & kHasFont)
        field.fontId = reader.u16();
    if (flags & kHasFontClass)
        reader.string();
    if (flags & kHasFont)
        field.height = reader.u16();
    if (flags & kHasTextColor)
        field.color = readRgba(reader);
    if (flags & kHasMaxLength)
        reader.u16();
    if (flags & kHasLayout) {
        const std::uint8_t align = reader.u8();
        field.align = align == 1 ? TextAlign::Right : align == 2 ? TextAlign::Center
                      : align == 3 ? TextAlign::Justify : TextAlign::Left;
        field.leftMargin = reader.u16();
        field.rightMargin = reader.u16();
        field.indent = reader.u16();
        field.leading = reader.s16();
    }
    field.variableName = reader.string();
    if (flags & kHasText) {
        field.text = decodeText(reader.string(), swfVersion);
        if (flags & kHtml)
            field.text = stripHtml(field.text);
    }
    field.wordWrap = flags & kWordWrap;
    field.multiline = flags & kMultiline;
    field.password = flags & kPassword;
    field.border = flags & kBorder;
    if (reader.failed())
        field.text.clear();
    return field;
}

std::u32string decodeText(const std::string& bytes, int swfVersion)
{
    std::u32string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = swfVersion < 6 ? 0 : lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
        char32_t code = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : extra == 1 ? lead & 0x1Fu : lead;
        bool valid = extra == 0 || (lead < 0xF5 && i + static_cast<std::size_t>(extra) < bytes.size());
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        // A broken sequence is taken byte by byte rather than dropped.
        if (!valid) {
            text.push_back(lead);
            ++i;
            continue;
        }
        text.push_back(code);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return text;
}

std::u32string stripHtml(const std::u32string& html)
{
    std::u32string text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char32_t c = html[i];
        if (c == U'<') {
            const std::size_t end = html.find(U'>', i);
            if (end == std::u32string::npos)
                break;
            const std::u32string name = lowerTagName(html.substr(i + 1, end - i - 1));
            if (name == U"br" || name == U"br/" || name == U"/p" || name == U"/li")
                text.push_back(U'\n');
            i = end;
        } else if (c == U'&') {
            const std::size_t end = html.find(U';', i);
            const int decoded = end == std::u32string::npos || end - i > 10 ? -1 : decodeEntity(html.substr(i + 1, end - i - 1));
            if (decoded < 0) {
                text.push_back(c);
                continue;
            }
            text.push_back(static_cast<char32_t>(decoded));
            i = end;
        } else {
            text.push_back(c);
        }
    }
    // A closing paragraph at the very end opens no new line.
    if (!text.empty() && text.back() == U'\n')
        text.pop_back();
    return text;
}

}
