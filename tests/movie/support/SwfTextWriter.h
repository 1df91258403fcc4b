#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SwfWriter.h"

// Fonts and texts for the SWF writer.
namespace swf {

enum TextTagCode : std::uint16_t {
    kDefineFont = 10,
    kDefineText = 11,
    kDefineFontInfo = 13,
    kDefineText2 = 33,
    kDefineEditText = 37,
    kDefineFont2 = 48,
    kDefineFontInfo2 = 62,
    kDefineFont3 = 75,
};

// A shape builder ready to draw a glyph: fill style 1 selected, coordinates in font units
// (y down, the baseline at 0).
ShapeBuilder glyphOutline();

struct Glyph {
    ShapeBuilder outline = glyphOutline();
    std::uint16_t code = 0;
    std::int16_t advance = 0;
};

struct FontLayout {
    std::uint16_t ascent = 0;
    std::uint16_t descent = 0;
    std::int16_t leading = 0;
};

// The glyph's shape records as a font stores them.
Bytes glyphRecords(const ShapeBuilder& outline);

// DefineFont: glyph shapes only.
Bytes defineFont(std::uint16_t id, const std::vector<Glyph>& glyphs);
Bytes defineFontInfo(std::uint16_t fontId, const std::string& name, const std::vector<Glyph>& glyphs, bool wideCodes);

struct FontOptions {
    std::string name = "Test";
    std::optional<FontLayout> layout;
    bool wideOffsets = false;
    bool wideCodes = true;
    // Kerning pairs written after the layout, which readers must step over.
    int kerningPairs = 0;
};

// DefineFont2 (version 2) or DefineFont3 (version 3) body.
Bytes defineFont2(std::uint16_t id, const std::vector<Glyph>& glyphs, const FontOptions& options, int version = 2);

struct TextRecord {
    std::optional<std::uint16_t> font;
    std::uint16_t height = 0;
    std::optional<Color> color;
    std::optional<std::int16_t> x;
    std::optional<std::int16_t> y;
    // Glyph index and advance in twips.
    std::vector<std::pair<std::uint32_t, std::int32_t>> glyphs;
};

struct Bounds {
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;
};

// DefineText, or DefineText2 with alpha in the record colours.
Bytes defineText(std::uint16_t id, const Bounds& bounds, const Matrix& matrix, const std::vector<TextRecord>& records,
                 bool withAlpha);

enum class Align { Left = 0, Right = 1, Center = 2, Justify = 3 };

struct EditText {
    Bounds bounds;
    std::optional<std::uint16_t> font;
    std::uint16_t height = 240;
    std::optional<Color> color;
    std::optional<Align> align;
    std::uint16_t leftMargin = 0;
    std::uint16_t rightMargin = 0;
    std::uint16_t indent = 0;
    std::int16_t leading = 0;
    bool wordWrap = false;
    bool multiline = false;
    bool html = false;
    bool useOutlines = true;
    bool border = false;
    bool password = false;
    std::string variable;
    std::optional<std::string> text;
};

Bytes defineEditText(std::uint16_t id, const EditText& field);

// A movie using every font and text tag in one frame, for robustness tests and fuzzing seeds.
Bytes textSampler(Compression compression = Compression::None);

}
