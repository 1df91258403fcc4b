#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "movie/Shape.h"

namespace movie {

// A shape tween: two states of the same edges and styles, paired by index.
struct MorphShape {
    Rect startBounds;
    Rect endBounds;
    std::vector<FillStyle> startFills;
    std::vector<FillStyle> endFills;
    std::vector<LineStyle> startLines;
    std::vector<LineStyle> endLines;
    std::vector<Edge> startEdges;
    std::vector<Edge> endEdges;
};

// Reads a DefineMorphShape (version 1) or DefineMorphShape2 (version 2) body after its character id.
// Damaged records end the lists; what was read before stays.
MorphShape parseMorphShape(std::span<const std::uint8_t> body, int morphVersion);

// The shape at `ratio` (0 = start, 65535 = end).
Shape interpolate(const MorphShape& morph, std::uint16_t ratio);

}
