#pragma once

#include <vector>

#include "movie/Bitmap.h"
#include "movie/Canvas.h"
#include "movie/Geometry.h"
#include "movie/Rasterizer.h"
#include "movie/Shape.h"

namespace movie {

// Draws shapes onto a canvas. Keeps its scratch buffers between shapes.
class ShapeRenderer {
public:
    void draw(const Canvas& canvas, const Shape& shape, const Matrix& toDevice, const ColorTransform& transform);
    // Adds the shape's filled area to an 8-bit mask of the canvas size (union).
    void drawMask(const Canvas& canvas, std::uint8_t* mask, const Shape& shape, const Matrix& toDevice);
    // Fills a device-space outline with one colour under the colour transform.
    void fill(const Canvas& canvas, const Outline& outline, FillRule rule, Rgba color, const ColorTransform& transform);
    // Later drawing is weighted by this mask (one byte per canvas pixel), or by none.
    void setMask(const std::uint8_t* mask) { mask_ = mask; }
    // Where bitmap fills find their bitmaps; without a source they draw nothing.
    void setBitmaps(const BitmapSource* bitmaps) { bitmaps_ = bitmaps; }

private:
    struct StyledOutline {
        Outline outline;
        const FillStyle* fill = nullptr;
    };

    class Paint paint(const FillStyle& style, const Matrix& toDevice, const ColorTransform& transform) const;
    void drawLayer(const Canvas& canvas, const ShapeLayer& layer, const Matrix& toDevice,
                   const ColorTransform& transform);
    void buildFills(const Canvas& canvas, const ShapeLayer& layer, const Matrix& toDevice);
    void buildStroke(const ShapeLayer& layer, std::size_t style, const Matrix& toDevice,
                     Outline& out);
    void drawDirect(const Canvas& canvas, const Outline& outline, FillRule rule, const class Paint& paint);
    // Fills that share edges are summed in a layer first, so no background shows along the edge.
    void drawMerged(const Canvas& canvas, std::vector<StyledOutline*> fills, const Matrix& toDevice,
                    const ColorTransform& transform);

    // The coverage of a run after the mask, or the run's own when there is no mask.
    const std::uint8_t* masked(const Canvas& canvas, int y, int x, int count, const std::uint8_t* coverage,
                               std::uint8_t constant);

    Rasterizer rasterizer_;
    const std::uint8_t* mask_ = nullptr;
    const BitmapSource* bitmaps_ = nullptr;
    std::vector<std::uint8_t> maskedCoverage_;
    std::vector<StyledOutline> fills_;
    Outline stroke_;
    std::vector<float> layer_;
    std::vector<std::uint32_t> shaded_;
};

}
