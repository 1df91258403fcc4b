#include "DemoTitle.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "SwfTextWriter.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
#pragma GCC diagnostic pop

namespace demo {
namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
// DefineFont3 glyph units: twentieths of a 1024-unit EM.
constexpr double kEmUnits = 1024 * 20;

std::vector<unsigned char> ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// TrueType outlines grow upwards; glyph records grow downwards.
swf::Glyph ConvertGlyph(const stbtt_fontinfo& font, int index, double scale, char32_t code)
{
    swf::Glyph glyph;
    glyph.code = static_cast<std::uint16_t>(code);
    int advance = 0;
    int bearing = 0;
    stbtt_GetGlyphHMetrics(&font, index, &advance, &bearing);
    glyph.advance = static_cast<std::int16_t>(std::lround(advance * scale));
    auto x = [scale](int v) { return static_cast<std::int32_t>(std::lround(v * scale)); };
    auto y = [scale](int v) { return static_cast<std::int32_t>(std::lround(-v * scale)); };
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(&font, index, &vertices);
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        if (v.type == STBTT_vmove)
            glyph.outline.moveTo(x(v.x), y(v.y));
        else if (v.type == STBTT_vline)
            glyph.outline.lineTo(x(v.x), y(v.y));
        else if (v.type == STBTT_vcurve)
            glyph.outline.curveTo(x(v.cx), y(v.cy), x(v.x), y(v.y));
        else if (v.type == STBTT_vcubic)
            glyph.outline.curveTo(x((v.cx + v.cx1) / 2), y((v.cy + v.cy1) / 2), x(v.x), y(v.y));
    }
    stbtt_FreeShape(&font, vertices);
    return glyph;
}

}

std::uint16_t AddChineseTitle(swf::Movie& movie, std::uint16_t fontId, std::uint16_t textId, const std::u32string& title,
                              std::int32_t baseline, std::uint16_t height, swf::Color color)
{
    const std::vector<unsigned char> file = ReadFile(kFontFile);
    stbtt_fontinfo font;
    if (file.empty() || !stbtt_InitFont(&font, file.data(), stbtt_GetFontOffsetForIndex(file.data(), 0)))
        return 0;
    const double scale = stbtt_ScaleForMappingEmToPixels(&font, static_cast<float>(kEmUnits));
    std::vector<swf::Glyph> glyphs;
    swf::TextRecord record;
    record.font = fontId;
    record.height = height;
    record.color = color;
    std::int32_t width = 0;
    for (char32_t c : title) {
        glyphs.push_back(ConvertGlyph(font, stbtt_FindGlyphIndex(&font, static_cast<int>(c)), scale, c));
        const auto advance = static_cast<std::int32_t>(std::lround(glyphs.back().advance * height / kEmUnits));
        record.glyphs.emplace_back(static_cast<std::uint32_t>(glyphs.size() - 1), advance);
        width += advance;
    }
    record.x = static_cast<std::int16_t>(-width / 2);
    record.y = 0;
    swf::FontOptions options;
    options.name = "WenQuanYi Micro Hei";
    options.wideOffsets = true;
    int ascent = 0;
    int descent = 0;
    int gap = 0;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &gap);
    options.layout = swf::FontLayout{static_cast<std::uint16_t>(std::lround(ascent * scale)),
                                     static_cast<std::uint16_t>(std::lround(-descent * scale)),
                                     static_cast<std::int16_t>(std::lround(gap * scale))};
    movie.tag(swf::kDefineFont3, swf::defineFont2(fontId, glyphs, options, 3), true);
    movie.tag(swf::kDefineText, swf::defineText(textId, {-width / 2, width / 2, -height, height / 4},
                                                swf::Matrix::translate(0, baseline), {record}, false));
    return textId;
}

}
