#include "movie/BitmapShader.h"

#include <algorithm>
#include <cmath>

namespace movie {

namespace {

constexpr double kOne = 65536.0;
// Clipped coordinates beyond these show only edge pixels; the bounds keep the 16.16 stepping
// of a whole row far from overflow.
constexpr double kCoordinateLimit = 1 << 30;
constexpr double kStepLimit = 1 << 20;

// Straight colour from premultiplied, by a reciprocal instead of a division per pixel.
struct Reciprocals {
    std::array<std::uint32_t, 256> values{};
    Reciprocals()
    {
        for (std::uint32_t a = 1; a < 256; ++a)
            values[a] = ((255u << 16) + a / 2) / a;
    }
};

const Reciprocals& reciprocals()
{
    static const Reciprocals table;
    return table;
}

// Position in [0, period), for tiling.
double wrap(double value, double period)
{
    double r = std::fmod(value, period);
    if (r < 0)
        r += period;
    return r >= 0 && r < period ? r : 0;
}

std::int64_t toFixed(double value) { return static_cast<std::int64_t>(std::floor(value * kOne)); }

// a + (b - a) * f / 256 on all four channels; f in 0..255.
inline std::uint32_t lerp(std::uint32_t a, std::uint32_t b, std::uint32_t f)
{
    const std::uint32_t g = 256 - f;
    const std::uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    const std::uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) & 0xFF00FF00u;
    return rb | ag;
}

inline std::int64_t clampIndex(std::int64_t value, std::int64_t last)
{
    return value < 0 ? 0 : value > last ? last : value;
}

}

BitmapShader::BitmapShader(const Bitmap& bitmap, const Matrix& toDevice, bool repeat, bool smooth,
                           const ColorTransform& transform)
    : bitmap_(&bitmap), repeat_(repeat), smooth_(smooth)
{
    if (bitmap.width <= 0 || bitmap.height <= 0 || !toDevice.invert(toBitmap_)) {
        visible_ = false;
        return;
    }
    recolor_ = !transform.isIdentity();
    for (int v = 0; v < 256; ++v) {
        const auto c = static_cast<std::uint8_t>(v);
        const Rgba mapped = transform.apply({c, c, c, c});
        lut_[0][static_cast<std::size_t>(v)] = mapped.r;
        lut_[1][static_cast<std::size_t>(v)] = mapped.g;
        lut_[2][static_cast<std::size_t>(v)] = mapped.b;
        lut_[3][static_cast<std::size_t>(v)] = mapped.a;
    }
    // The alpha mapping is linear, so its ends tell whether anything can show.
    visible_ = lut_[3][0] != 0 || lut_[3][255] != 0;
}

template <bool repeat, bool smooth>
void BitmapShader::sample(std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
                          std::uint32_t* out) const
{
    const std::uint32_t* pixels = bitmap_->pixels.data();
    const std::int64_t width = bitmap_->width;
    const std::int64_t height = bitmap_->height;
    const std::int64_t lastX = width - 1;
    const std::int64_t lastY = height - 1;
    [[maybe_unused]] const std::int64_t spanX = width << 16;
    [[maybe_unused]] const std::int64_t spanY = height << 16;
    for (int i = 0; i < count; ++i) {
        const std::int64_t x = u >> 16;
        const std::int64_t y = v >> 16;
        if constexpr (smooth) {
            std::int64_t x0 = x, x1 = x + 1, y0 = y, y1 = y + 1;
            if constexpr (repeat) {
                x1 = x1 == width ? 0 : x1;
                y1 = y1 == height ? 0 : y1;
            } else {
                x0 = clampIndex(x0, lastX);
                x1 = clampIndex(x1, lastX);
                y0 = clampIndex(y0, lastY);
                y1 = clampIndex(y1, lastY);
            }
            const std::uint32_t* row0 = pixels + y0 * width;
            const std::uint32_t* row1 = pixels + y1 * width;
            const auto fx = static_cast<std::uint32_t>((u >> 8) & 0xFF);
            const auto fy = static_cast<std::uint32_t>((v >> 8) & 0xFF);
            out[i] = lerp(lerp(row0[x0], row0[x1], fx), lerp(row1[x0], row1[x1], fx), fy);
        } else if constexpr (repeat) {
            out[i] = pixels[y * width + x];
        } else {
            out[i] = pixels[clampIndex(y, lastY) * width + clampIndex(x, lastX)];
        }
        u += du;
        v += dv;
        if constexpr (repeat) {
            // Steps are below one period, so one subtraction wraps.
            u -= u >= spanX ? spanX : 0;
            v -= v >= spanY ? spanY : 0;
        }
    }
}

void BitmapShader::shade(int y, int x, int count, std::uint32_t* out) const
{
    const Matrix& m = toBitmap_;
    const double px = x + 0.5;
    const double py = y + 0.5;
    // Bilinear sampling weighs the pixels whose centres surround the point.
    const double centre = smooth_ ? 0.5 : 0.0;
    double bx = m.a * px + m.c * py + m.tx - centre;
    double by = m.b * px + m.d * py + m.ty - centre;
    double sx = m.a;
    double sy = m.b;
    if (repeat_) {
        const double width = bitmap_->width;
        const double height = bitmap_->height;
        bx = wrap(bx, width);
        by = wrap(by, height);
        sx = wrap(sx, width);
        sy = wrap(sy, height);
    } else {
        bx = std::clamp(std::isnan(bx) ? 0.0 : bx, -kCoordinateLimit, kCoordinateLimit);
        by = std::clamp(std::isnan(by) ? 0.0 : by, -kCoordinateLimit, kCoordinateLimit);
        sx = std::clamp(std::isnan(sx) ? 0.0 : sx, -kStepLimit, kStepLimit);
        sy = std::clamp(std::isnan(sy) ? 0.0 : sy, -kStepLimit, kStepLimit);
    }
    std::int64_t u = toFixed(bx);
    std::int64_t v = toFixed(by);
    const std::int64_t du = toFixed(sx);
    const std::int64_t dv = toFixed(sy);
    if (repeat_) {
        // Rounding may land exactly on the period.
        u = std::min(u, (std::int64_t{bitmap_->width} << 16) - 1);
        v = std::min(v, (std::int64_t{bitmap_->height} << 16) - 1);
    }
    if (repeat_ && smooth_)
        sample<true, true>(u, v, du, dv, count, out);
    else if (repeat_)
        sample<true, false>(u, v, du, dv, count, out);
    else if (smooth_)
        sample<false, true>(u, v, du, dv, count, out);
    else
        sample<false, false>(u, v, du, dv, count, out);
    if (recolor_)
        recolor(out, count);
}

void BitmapShader::recolor(std::uint32_t* pixels, int count) const
{
    const auto& recip = reciprocals().values;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        auto straight = [&](int shift) {
            return std::min<std::uint32_t>(255, (((p >> shift) & 0xFF) * recip[a] + 32768) >> 16);
        };
        const std::uint32_t alpha = lut_[3][a];
        auto channel = [&](std::size_t lane, int shift) {
            return (lut_[lane][straight(shift)] * alpha + 127) / 255;
        };
        pixels[i] = (alpha << 24) | (channel(0, 16) << 16) | (channel(1, 8) << 8) | channel(2, 0);
    }
}

}
