#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "movie/Canvas.h"
#include "movie/Geometry.h"
#include "movie/Movie.h"
#include "movie/Rasterizer.h"
#include "movie/ShapeRenderer.h"
#include "movie/SystemFont.h"

namespace movie {

// Draws static and edit texts from the movie's fonts, and from the host's font for
// characters those lack. Glyphs of one text fill with the nonzero rule: outlines come
// from TrueType-style fonts whose strokes may overlap, and an overlap must not punch a hole.
class TextRenderer {
public:
    void setSystemFont(SystemFont* font);
    // Draws character `id` if it is a text; returns false otherwise.
    bool draw(ShapeRenderer& shapes, const Canvas& canvas, const Movie& movie, std::uint16_t id,
              const Matrix& toDevice, const ColorTransform& transform);

private:
    // A character placed on a line: an embedded glyph, a system one, or neither (nothing drawn).
    struct PlacedGlyph {
        const Shape* shape = nullptr;
        const SystemGlyph* system = nullptr;
        double x = 0;
    };
    struct Line {
        std::vector<PlacedGlyph> glyphs;
        double width = 0;
        bool paragraphStart = true;
    };
    struct Measured {
        char32_t character = 0;
        PlacedGlyph glyph;
        double advance = 0;
    };

    void drawText(ShapeRenderer& shapes, const Canvas& canvas, const Movie& movie, const TextDefinition& text,
                  const Matrix& toDevice, const ColorTransform& transform);
    void drawEditText(ShapeRenderer& shapes, const Canvas& canvas, const Movie& movie,
                      const EditTextDefinition& field, const Matrix& toDevice, const ColorTransform& transform);
    void drawBorder(ShapeRenderer& shapes, const Canvas& canvas, const Rect& bounds, const Matrix& toDevice,
                    const ColorTransform& transform);
    std::vector<Line> layOut(const EditTextDefinition& field, const Font* font);
    static std::size_t lineEnd(const std::vector<Measured>& glyphs, std::size_t start, double limit);
    static Line makeLine(const std::vector<Measured>& glyphs, std::size_t start, std::size_t end, bool paragraphStart);
    Measured measure(char32_t character, const Font* font, double height);
    const SystemGlyph* systemGlyph(char32_t character);
    SystemFontMetrics metrics(const Font* font, double height);

    SystemFont* system_ = nullptr;
    std::unordered_map<char32_t, std::optional<SystemGlyph>> systemGlyphs_;
    Outline outline_;
};

}
