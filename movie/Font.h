#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "movie/Shape.h"

namespace movie {

// An embedded font: glyph outlines kept as tag bytes and decoded on first use,
// the character code of each glyph, and layout metrics when the file has them.
// Glyph coordinates are in font units; unitsPerEm() of them make one EM.
class Font {
public:
    // Reads a DefineFont (version 1), DefineFont2 or DefineFont3 body after the font id.
    static Font parse(std::span<const std::uint8_t> body, int version);
    // Reads a DefineFontInfo or DefineFontInfo2 body after the font id: name and code table.
    void applyInfo(std::span<const std::uint8_t> body, bool version2);

    std::size_t glyphCount() const { return glyphs_.size(); }
    double unitsPerEm() const { return version_ == 3 ? 1024.0 * 20 : 1024.0; }
    const std::string& name() const { return name_; }
    bool hasLayout() const { return !advances_.empty(); }
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }
    double leading() const { return leading_; }

    // Null past the glyph count. Decoded once; the shape lives as long as the font.
    const Shape* glyph(std::size_t index) const;
    std::optional<std::size_t> indexOf(char32_t code) const;
    // From the layout table, or from the glyph's own extent when the font has none.
    double advance(std::size_t index) const;

private:
    void readCodes(std::span<const std::uint8_t> table, bool wide);

    int version_ = 1;
    std::string name_;
    std::vector<std::span<const std::uint8_t>> glyphs_;
    std::unordered_map<char32_t, std::size_t> codes_;
    std::vector<std::int16_t> advances_;
    double ascent_ = 0;
    double descent_ = 0;
    double leading_ = 0;
    mutable std::vector<std::unique_ptr<Shape>> shapes_;
};

}
