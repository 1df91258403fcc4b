#pragma once

#include <vector>

#include "movie/Canvas.h"
#include "movie/Geometry.h"
#include "movie/Rasterizer.h"
#include "movie/Shape.h"

namespace movie {

// Draws shapes onto a canvas. Keeps its scratch buffers between shapes.
class ShapeRenderer {
public:
    void draw(const Canvas& canvas, const Shape& shape, const Matrix& toDevice, const ColorTransform& transform);

private:
    struct StyledOutline {
        Outline outline;
        const FillStyle* fill = nullptr;
    };

    void drawLayer(const Canvas& canvas, const ShapeLayer& layer, const Matrix& toDevice,
                   const ColorTransform& transform);
    void buildFills(const Canvas& canvas, const ShapeLayer& layer, const Matrix& toDevice);
    void buildStroke(const Canvas& canvas, const ShapeLayer& layer, std::size_t style, const Matrix& toDevice,
                     Outline& out);
    void drawDirect(const Canvas& canvas, const Outline& outline, FillRule rule, const class Paint& paint);
    // Fills that share edges are summed in a layer first, so no background shows along the edge.
    void drawMerged(const Canvas& canvas, std::vector<StyledOutline*> fills, const Matrix& toDevice,
                    const ColorTransform& transform);

    Rasterizer rasterizer_;
    std::vector<StyledOutline> fills_;
    Outline stroke_;
    std::vector<float> layer_;
    std::vector<std::uint32_t> shaded_;
};

}
