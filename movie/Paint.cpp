#include "movie/Paint.h"

#include <algorithm>
#include <cmath>

namespace movie {

namespace {

constexpr double kGradientHalf = 16384.0;

Rgba mix(Rgba a, Rgba b, double t)
{
    auto channel = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a)};
}

}

Paint::Paint(const FillStyle& style, const Matrix& toDevice, const ColorTransform& transform)
{
    kind_ = style.kind;
    if (style.kind == FillKind::Solid) {
        color_ = premultiply(transform.apply(style.color));
        visible_ = (color_ >> 24) != 0;
        return;
    }
    // Bitmap fills come with a later stage of the engine; until then they are not drawn.
    if (style.kind == FillKind::Bitmap || style.stops.empty()) {
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
    std::size_t next = 0;
    const auto& stops = style.stops;
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
            color = range <= 0 ? b.color : mix(a.color, b.color, static_cast<double>(i - a.ratio) / range);
        }
        ramp_[static_cast<std::size_t>(i)] = premultiply(transform.apply(color));
    }
}

int Paint::rampIndex(double t) const
{
    if (!std::isfinite(t))
        return 0;
    switch (spread_) {
    case SpreadMode::Pad: break;
    case SpreadMode::Repeat: t -= std::floor(t); break;
    case SpreadMode::Reflect:
        t = std::fmod(std::fabs(t), 2.0);
        if (t > 1)
            t = 2 - t;
        break;
    }
    return static_cast<int>(std::clamp(t, 0.0, 1.0) * 255.0 + 0.5);
}

void Paint::shade(int y, int x, int count, std::uint32_t* out) const
{
    if (solid_) {
        std::fill(out, out + count, color_);
        return;
    }
    const Matrix& m = deviceToGradient_;
    const double px = x + 0.5;
    const double py = y + 0.5;
    double gx = (m.a * px + m.c * py + m.tx) / kGradientHalf;
    double gy = (m.b * px + m.d * py + m.ty) / kGradientHalf;
    const double stepX = m.a / kGradientHalf;
    const double stepY = m.b / kGradientHalf;
    for (int i = 0; i < count; ++i, gx += stepX, gy += stepY) {
        double t = 0;
        switch (kind_) {
        case FillKind::LinearGradient: t = (gx + 1) * 0.5; break;
        case FillKind::RadialGradient: t = std::sqrt(gx * gx + gy * gy); break;
        default: {
            // Distance from the focal point, relative to where its ray meets the circle.
            const double dx = gx - focal_;
            const double dy = gy;
            const double dd = dx * dx + dy * dy;
            const double fd = focal_ * dx;
            const double root = std::sqrt(fd * fd - dd * (focal_ * focal_ - 1));
            t = dd > 0 ? dd / (root - fd) : 0;
            break;
        }
        }
        out[i] = ramp_[static_cast<std::size_t>(rampIndex(t))];
    }
}

}
