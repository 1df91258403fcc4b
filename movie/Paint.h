#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "movie/Bitmap.h"
#include "movie/BitmapShader.h"
#include "movie/Geometry.h"
#include "movie/Shape.h"

namespace movie {

// Colours of a fill style at device pixels, after the colour transform.
class Paint {
public:
    // `toDevice` maps shape space to device pixels. A bitmap fill draws `bitmap`, or nothing without one.
    Paint(const FillStyle& style, const Matrix& toDevice, const ColorTransform& transform,
          const Bitmap* bitmap = nullptr);

    bool visible() const { return visible_; }
    bool solid() const { return solid_; }
    std::uint32_t color() const { return color_; }
    // Writes `count` premultiplied pixels of row y starting at column x.
    void shade(int y, int x, int count, std::uint32_t* out) const;

private:
    void buildRamp(const FillStyle& style, const ColorTransform& transform);
    template <SpreadMode spread>
    void shadeSpread(double gx, double gy, int count, std::uint32_t* out) const;

    bool visible_ = true;
    bool solid_ = true;
    std::uint32_t color_ = 0;
    FillKind kind_ = FillKind::Solid;
    SpreadMode spread_ = SpreadMode::Pad;
    double focal_ = 0;
    Matrix deviceToGradient_;
    std::optional<BitmapShader> bitmap_;
    // One period of the gradient in 256 steps; reflected gradients carry the way back too.
    std::array<std::uint32_t, 512> ramp_{};
};

}
