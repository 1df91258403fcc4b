#pragma once

#include <cstddef>
#include <cstdint>

namespace movie {

// A caller-owned 32-bit premultiplied BGRA image (0xAARRGGBB per pixel).
struct Canvas {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t strideBytes = 0;

    std::uint32_t* row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(pixels) + y * strideBytes);
    }
};

// Scales every channel of a premultiplied pixel by factor/255.
inline std::uint32_t scalePixel(std::uint32_t pixel, std::uint32_t factor)
{
    std::uint32_t rb = (pixel & 0x00FF00FFu) * factor + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = ((pixel >> 8) & 0x00FF00FFu) * factor + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// Source over destination, the source weighted by coverage (0..255).
inline std::uint32_t blendPixel(std::uint32_t dst, std::uint32_t src, std::uint32_t coverage)
{
    if (coverage != 255)
        src = scalePixel(src, coverage);
    return src + scalePixel(dst, 255 - (src >> 24));
}

}
