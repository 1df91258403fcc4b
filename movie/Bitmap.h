#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace movie {

// A decoded bitmap: premultiplied 0xAARRGGBB pixels, row after row without padding.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::size_t memoryBytes() const { return sizeof(Bitmap) + pixels.capacity() * sizeof(std::uint32_t); }
};

// Resolves the bitmap ids that fill styles name.
class BitmapSource {
public:
    virtual ~BitmapSource() = default;
    // Null when there is no such bitmap or it cannot be decoded.
    virtual const Bitmap* bitmap(std::uint16_t id) const = 0;
};

}
