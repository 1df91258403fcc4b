#include "movie/Geometry.h"

#include <algorithm>
#include <cmath>

namespace movie {

bool Matrix::invert(Matrix& out) const
{
    const double det = determinant();
    if (!std::isfinite(det) || std::fabs(det) < 1e-12)
        return false;
    const double inv = 1.0 / det;
    out.a = d * inv;
    out.b = -b * inv;
    out.c = -c * inv;
    out.d = a * inv;
    out.tx = -(out.a * tx + out.c * ty);
    out.ty = -(out.b * tx + out.d * ty);
    return true;
}

Matrix operator*(const Matrix& o, const Matrix& i)
{
    return {
        o.a * i.a + o.c * i.b,
        o.b * i.a + o.d * i.b,
        o.a * i.c + o.c * i.d,
        o.b * i.c + o.d * i.d,
        o.a * i.tx + o.c * i.ty + o.tx,
        o.b * i.tx + o.d * i.ty + o.ty,
    };
}

namespace {

std::uint8_t channel(std::int32_t value, std::int32_t mul, std::int32_t add)
{
    const std::int64_t v = (std::int64_t{value} * mul) / 256 + add;
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
}

// Keeps composed multipliers and offsets in a range that cannot overflow.
std::int32_t bounded(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -1 << 20, 1 << 20));
}

}

Rgba ColorTransform::apply(Rgba c) const
{
    return {channel(c.r, mulR, addR), channel(c.g, mulG, addG), channel(c.b, mulB, addB),
            channel(c.a, mulA, addA)};
}

bool ColorTransform::isIdentity() const
{
    return mulR == 256 && mulG == 256 && mulB == 256 && mulA == 256 && addR == 0 && addG == 0 &&
           addB == 0 && addA == 0;
}

ColorTransform operator*(const ColorTransform& o, const ColorTransform& i)
{
    auto mul = [](std::int32_t outer, std::int32_t inner) {
        return bounded(std::int64_t{outer} * inner / 256);
    };
    auto add = [](std::int32_t outerMul, std::int32_t innerAdd, std::int32_t outerAdd) {
        return bounded(std::int64_t{innerAdd} * outerMul / 256 + outerAdd);
    };
    return {mul(o.mulR, i.mulR), mul(o.mulG, i.mulG), mul(o.mulB, i.mulB), mul(o.mulA, i.mulA),
            add(o.mulR, i.addR, o.addR), add(o.mulG, i.addG, o.addG),
            add(o.mulB, i.addB, o.addB), add(o.mulA, i.addA, o.addA)};
}

std::uint32_t premultiply(Rgba c)
{
    auto pm = [&](std::uint32_t v) { return (v * c.a + 127) / 255; };
    return (std::uint32_t{c.a} << 24) | (pm(c.r) << 16) | (pm(c.g) << 8) | pm(c.b);
}

}
