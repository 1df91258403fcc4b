#pragma once

#include <cstdint>

namespace movie {

struct Point {
    double x = 0;
    double y = 0;
};

struct Rect {
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;

    std::int64_t width() const { return std::int64_t{xMax} - xMin; }
    std::int64_t height() const { return std::int64_t{yMax} - yMin; }
};

// x' = a*x + c*y + tx, y' = b*x + d*y + ty
struct Matrix {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double tx = 0;
    double ty = 0;

    static Matrix scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Matrix translate(double x, double y) { return {1, 0, 0, 1, x, y}; }

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    double determinant() const { return a * d - b * c; }
    // Returns false when the matrix cannot be inverted.
    bool invert(Matrix& out) const;
};

// Applies `inner` first, then `outer`.
Matrix operator*(const Matrix& outer, const Matrix& inner);

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    bool operator==(const Rgba&) const = default;
};

// Multipliers are in units of 1/256, as stored in the file.
struct ColorTransform {
    std::int32_t mulR = 256;
    std::int32_t mulG = 256;
    std::int32_t mulB = 256;
    std::int32_t mulA = 256;
    std::int32_t addR = 0;
    std::int32_t addG = 0;
    std::int32_t addB = 0;
    std::int32_t addA = 0;

    Rgba apply(Rgba c) const;
    bool isIdentity() const;
};

// Applies `inner` first, then `outer`.
ColorTransform operator*(const ColorTransform& outer, const ColorTransform& inner);

// Premultiplied 0xAARRGGBB, the layout of a 32-bit BGRA buffer on little-endian machines.
std::uint32_t premultiply(Rgba c);

}
