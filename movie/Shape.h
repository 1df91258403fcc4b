#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "movie/Geometry.h"

namespace movie {

enum class FillKind { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };
enum class SpreadMode { Pad, Reflect, Repeat };

struct GradientStop {
    std::uint8_t ratio = 0;
    Rgba color;
};

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;
    // Maps the gradient square (-16384..16384 twips) into shape space.
    Matrix matrix;
    SpreadMode spread = SpreadMode::Pad;
    std::vector<GradientStop> stops;
    double focalPoint = 0;
    // Bitmap fills: the bitmap's id; `matrix` maps its pixels into shape space.
    std::uint16_t bitmapId = 0;
    bool repeat = true;
    bool smooth = true;
};

enum class CapStyle { Round, None, Square };
enum class JoinStyle { Round, Bevel, Miter };

struct LineStyle {
    std::uint16_t width = 0;  // twips; 0 is a hairline
    FillStyle fill;
    CapStyle startCap = CapStyle::Round;
    CapStyle endCap = CapStyle::Round;
    JoinStyle join = JoinStyle::Round;
    double miterLimit = 3;
    bool noClose = false;
};

// Coordinates in twips. Style indices are 1-based into the layer's arrays; 0 is none.
struct Edge {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::uint16_t fill0 = 0;
    std::uint16_t fill1 = 0;
    std::uint16_t line = 0;
    bool curved = false;
};

// A set of styles with the edges drawn with them; a shape's later layers draw over earlier ones.
struct ShapeLayer {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<Edge> edges;
};

struct Shape {
    Rect bounds;
    std::vector<ShapeLayer> layers;

    std::size_t memoryBytes() const;
    // The box around every edge point and control point, whatever the stored bounds say.
    // Worked out once: the redraw tracker asks for it every frame.
    const Rect& edgeExtent() const;

private:
    mutable std::optional<Rect> edgeExtent_;
};

class ByteReader;

// Style fields that shapes and morph shapes encode alike.
// The kind a fill style's type byte names, with a bitmap fill's tiling and smoothing.
void setFillType(FillStyle& fill, std::uint8_t type);
// A gradient's spread mode from its flags byte.
SpreadMode spreadMode(std::uint8_t gradientFlags);
// The caps, join and flags of a version 2 line style, and its miter limit; returns whether a
// fill style follows in place of the colour.
bool readLineFlags(ByteReader& reader, LineStyle& line);

// Reads a DefineShape (version 1 to 4) tag body after its character id.
// Damaged records end the shape; what was read before stays.
Shape parseShape(std::span<const std::uint8_t> body, int shapeVersion);
// Reads shape records without style arrays (bit counts, then records); one layer, no styles.
Shape parseShapeEdges(std::span<const std::uint8_t> body, int shapeVersion);
// Reads a font's glyph: shape records filled with style 1. New style groups are ignored.
Shape parseGlyph(std::span<const std::uint8_t> records);

}
