#pragma once

#include "SwfWriter.h"

namespace swf {

inline constexpr std::uint16_t kDefineMorphShape = 46;
inline constexpr std::uint16_t kDefineMorphShape2 = 84;

// A shape tween: the start records carry the styles, the end records only the geometry,
// edge for edge.
class MorphShapeBuilder {
public:
    // Both fills are of the same kind; gradients have as many stops.
    int addFill(const Fill& start, const Fill& end);
    int addLine(const LineStyle& start, const LineStyle& end);

    ShapeBuilder& start() { return start_; }
    ShapeBuilder& end() { return end_; }

    // The DefineMorphShape (version 1) or DefineMorphShape2 (version 2) body.
    Bytes encode(std::uint16_t id, int version = 1) const;

private:
    std::vector<std::pair<Fill, Fill>> fills_;
    std::vector<std::pair<LineStyle, LineStyle>> lines_;
    ShapeBuilder start_;
    ShapeBuilder end_;
};

}
