#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "movie/Geometry.h"

namespace movie {

struct GlyphEntry {
    std::uint32_t index = 0;
    std::int32_t advance = 0;  // twips
};

// Glyphs of one style: font, height and colour, starting at a pen position in text space (twips).
struct TextRun {
    std::uint16_t fontId = 0;
    std::uint16_t height = 0;
    Rgba color;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::vector<GlyphEntry> glyphs;
};

// DefineText and DefineText2.
struct TextDefinition {
    Rect bounds;
    Matrix matrix;
    std::vector<TextRun> runs;
};

enum class TextAlign { Left, Right, Center, Justify };

// DefineEditText, as far as showing its initial text goes.
struct EditTextDefinition {
    Rect bounds;
    std::optional<std::uint16_t> fontId;
    std::uint16_t height = 240;
    Rgba color;
    TextAlign align = TextAlign::Left;
    std::int32_t leftMargin = 0;
    std::int32_t rightMargin = 0;
    std::int32_t indent = 0;
    std::int32_t leading = 0;
    bool wordWrap = false;
    bool multiline = false;
    bool password = false;
    bool border = false;
    // The variable whose value the field shows once scripts can set it; the initial text until then.
    std::string variableName;
    std::u32string text;
};

// Both read a tag body after the character id. Damaged records end the text; what came before stays.
TextDefinition parseText(std::span<const std::uint8_t> body, bool withAlpha);
EditTextDefinition parseEditText(std::span<const std::uint8_t> body, int swfVersion);

// Text from the file: UTF-8 from version 6 on, single bytes before.
std::u32string decodeText(const std::string& bytes, int swfVersion);
// The plain text of an HTML field: tags dropped, line breaks kept, common entities decoded.
std::u32string stripHtml(const std::u32string& html);

}
