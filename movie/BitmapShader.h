#pragma once

#include <array>
#include <cstdint>

#include "movie/Bitmap.h"
#include "movie/Geometry.h"

namespace movie {

// Colours of a bitmap fill at device pixels: tiled or with its edge pixels stretched outwards,
// nearest pixel or bilinear, after the colour transform.
class BitmapShader {
public:
    // `toDevice` maps bitmap pixels to device pixels; it must be invertible.
    BitmapShader(const Bitmap& bitmap, const Matrix& toDevice, bool repeat, bool smooth,
                 const ColorTransform& transform);

    bool visible() const { return visible_; }
    // Writes `count` premultiplied pixels of row y starting at column x.
    void shade(int y, int x, int count, std::uint32_t* out) const;

private:
    template <bool repeat, bool smooth>
    void sample(std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
                std::uint32_t* out) const;
    void recolor(std::uint32_t* pixels, int count) const;

    const Bitmap* bitmap_;
    Matrix toBitmap_;
    bool repeat_;
    bool smooth_;
    bool visible_ = true;
    bool recolor_ = false;
    // Per channel (r, g, b, a) lookup of the colour transform on straight colours.
    std::array<std::array<std::uint8_t, 256>, 4> lut_{};
};

}
