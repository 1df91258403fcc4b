#include "movie/Paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace movie {

namespace {

constexpr double kGradientHalf = 16384.0;

// weight in 1/65536ths of the way from a to b.
Rgba mix(Rgba a, Rgba b, std::int32_t weight)
{
    auto channel = [weight](std::int32_t x, std::int32_t y) {
        return static_cast<std::uint8_t>(x + (((y - x) * weight + 32768) >> 16));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a)};
}

}

Paint::Paint(const FillStyle& style, const Matrix& toDevice, const ColorTransform& transform, const Bitmap* bitmap)
{
    kind_ = style.kind;
    if (style.kind == FillKind::Solid) {
        color_ = premultiply(transform.apply(style.color));
        visible_ = (color_ >> 24) != 0;
        return;
    }
    if (style.kind == FillKind::Bitmap) {
        solid_ = false;
        if (bitmap)
            bitmap_.emplace(*bitmap, toDevice * style.matrix, style.repeat, style.smooth, transform);
        visible_ = bitmap_ && bitmap_->visible();
        return;
    }
    if (style.stops.empty()) {
        visible_ = false;
        return;
    }
    const Matrix toGradient = toDevice * style.matrix;
    if (style.stops.size() == 1 || !toGradient.invert(deviceToGradient_)) {
        color_ = premultiply(transform.apply(style.stops.back().color));
        visible_ = (color_ >> 24) != 0;
        return;
    }
    solid_ = false;
    spread_ = style.spread;
    focal_ = std::clamp(style.focalPoint, -0.98, 0.98);
    buildRamp(style, transform);
}

void Paint::buildRamp(const FillStyle& style, const ColorTransform& transform)
{
    // The transform is affine per channel, so transforming the stops equals transforming the ramp.
    std::vector<GradientStop> stops = style.stops;
    for (auto& stop : stops)
        stop.color = transform.apply(stop.color);
    std::size_t next = 0;
    for (int i = 0; i < 256; ++i) {
        while (next < stops.size() && stops[next].ratio < i)
            ++next;
        Rgba color;
        if (next == 0) {
            color = stops.front().color;
        } else if (next == stops.size()) {
            color = stops.back().color;
        } else {
            const auto& a = stops[next - 1];
            const auto& b = stops[next];
            const int range = b.ratio - a.ratio;
            color = range <= 0 ? b.color : mix(a.color, b.color, (i - a.ratio) * 65536 / range);
        }
        ramp_[static_cast<std::size_t>(i)] = premultiply(color);
        ramp_[static_cast<std::size_t>(511 - i)] = ramp_[static_cast<std::size_t>(i)];
    }
}

namespace {

// Ramp index for a position in 1/256ths of the gradient: pad clamps, repeat wraps,
// reflect wraps over the doubled ramp.
template <SpreadMode spread>
inline std::size_t rampIndex(std::int64_t position)
{
    if constexpr (spread == SpreadMode::Pad)
        return static_cast<std::size_t>(position < 0 ? 0 : position > 255 ? 255 : position);
    else if constexpr (spread == SpreadMode::Repeat)
        return static_cast<std::size_t>(position & 255);
    else
        return static_cast<std::size_t>(position & 511);
}

// Positions are kept in a range where the integer conversions stay exact; beyond it,
// a padded gradient is flat and a repeating one is a blur at less than a pixel anyway.
inline std::int64_t toPosition(double t)
{
    constexpr double limit = 1e12;
    if (!(t > -limit))
        return static_cast<std::int64_t>(-limit);
    if (t > limit)
        return static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(std::floor(t * 256.0));
}

}

template <SpreadMode spread>
void Paint::shadeSpread(double gx, double gy, int count, std::uint32_t* out) const
{
    const Matrix& m = deviceToGradient_;
    const double stepX = m.a / kGradientHalf;
    const double stepY = m.b / kGradientHalf;
    switch (kind_) {
    case FillKind::LinearGradient: {
        const double start = (gx + 1) * 0.5;
        const double step = stepX * 0.5;
        const double end = start + step * count;
        if (std::fabs(start) < 1e6 && std::fabs(end) < 1e6) {
            // 16.16 fixed point along the row.
            auto fixed = static_cast<std::int64_t>(std::floor(start * 256.0 * 65536.0));
            const auto fixedStep = static_cast<std::int64_t>(std::floor(step * 256.0 * 65536.0));
            for (int i = 0; i < count; ++i, fixed += fixedStep)
                out[i] = ramp_[rampIndex<spread>(fixed >> 16)];
        } else {
            for (int i = 0; i < count; ++i)
                out[i] = ramp_[rampIndex<spread>(toPosition(start + step * i))];
        }
        break;
    }
    case FillKind::RadialGradient: {
        float x = static_cast<float>(gx);
        float y = static_cast<float>(gy);
        const auto sx = static_cast<float>(stepX);
        const auto sy = static_cast<float>(stepY);
        int i = 0;
#if defined(__SSE2__)
        __m128 vx = _mm_setr_ps(x, x + sx, x + 2 * sx, x + 3 * sx);
        __m128 vy = _mm_setr_ps(y, y + sy, y + 2 * sy, y + 3 * sy);
        const __m128 stepX4 = _mm_set1_ps(4 * sx);
        const __m128 stepY4 = _mm_set1_ps(4 * sy);
        alignas(16) std::int32_t positions[4];
        for (; i + 4 <= count; i += 4) {
            __m128 t = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(vx, vx), _mm_mul_ps(vy, vy)));
            // Padding clamps here already, so the lookups need no more checks.
            const float limit = spread == SpreadMode::Pad ? 255.0f : 1e9f;
            t = _mm_min_ps(_mm_mul_ps(t, _mm_set1_ps(256.0f)), _mm_set1_ps(limit));
            _mm_store_si128(reinterpret_cast<__m128i*>(positions), _mm_cvttps_epi32(t));
            if constexpr (spread == SpreadMode::Pad) {
                for (int k = 0; k < 4; ++k)
                    out[i + k] = ramp_[static_cast<std::size_t>(positions[k])];
            } else {
                for (int k = 0; k < 4; ++k)
                    out[i + k] = ramp_[rampIndex<spread>(positions[k])];
            }
            vx = _mm_add_ps(vx, stepX4);
            vy = _mm_add_ps(vy, stepY4);
        }
        x += sx * static_cast<float>(i);
        y += sy * static_cast<float>(i);
#endif
        for (; i < count; ++i, x += sx, y += sy) {
            const float t = std::sqrt(x * x + y * y) * 256.0f;
            out[i] = ramp_[rampIndex<spread>(t < 1e9f ? static_cast<std::int64_t>(t) : std::int64_t{1000000000})];
        }
        break;
    }
    default:
        // Distance from the focal point, relative to where its ray meets the circle.
        for (int i = 0; i < count; ++i, gx += stepX, gy += stepY) {
            const double dx = gx - focal_;
            const double dd = dx * dx + gy * gy;
            const double fd = focal_ * dx;
            const double root = std::sqrt(fd * fd - dd * (focal_ * focal_ - 1));
            const double t = dd > 0 ? dd / (root - fd) : 0;
            out[i] = ramp_[rampIndex<spread>(toPosition(t))];
        }
        break;
    }
}

void Paint::shade(int y, int x, int count, std::uint32_t* out) const
{
    if (solid_) {
        std::fill(out, out + count, color_);
        return;
    }
    if (bitmap_) {
        bitmap_->shade(y, x, count, out);
        return;
    }
    const Matrix& m = deviceToGradient_;
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double gx = (m.a * px + m.c * py + m.tx) / kGradientHalf;
    const double gy = (m.b * px + m.d * py + m.ty) / kGradientHalf;
    switch (spread_) {
    case SpreadMode::Pad: shadeSpread<SpreadMode::Pad>(gx, gy, count, out); break;
    case SpreadMode::Repeat: shadeSpread<SpreadMode::Repeat>(gx, gy, count, out); break;
    case SpreadMode::Reflect: shadeSpread<SpreadMode::Reflect>(gx, gy, count, out); break;
    }
}

}
