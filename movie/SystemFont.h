#pragma once

#include <vector>

#include "movie/Geometry.h"

namespace movie {

// One straight or quadratic piece of a glyph outline.
struct PathSegment {
    Point from;
    Point control;
    Point to;
    bool curved = false;
};

struct SystemGlyph {
    // Closed contours wound for the nonzero rule, in any order.
    std::vector<PathSegment> path;
    double advance = 0;
};

struct SystemFontMetrics {
    double ascent = 0;
    double descent = 0;
};

// Glyphs of a font of the host system, for edit texts whose characters the movie's
// own fonts lack. The host sets one on the Player; without it such characters are skipped.
class SystemFont {
public:
    virtual ~SystemFont() = default;
    // The outline of `character` for an EM of `height` pixels: y grows downwards and the pen
    // starts at the origin on the baseline. False when the font cannot draw the character.
    virtual bool glyph(char32_t character, double height, SystemGlyph& out) = 0;
    virtual SystemFontMetrics metrics(double height) = 0;
};

}
