#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "movie/Bitmap.h"

namespace movie {

enum class BitmapKind {
    Jpeg,        // image data only; the tables come from the movie's JPEGTables tag
    Jpeg2,       // a complete image
    Jpeg3,       // a complete image, then a zlib alpha plane
    Lossless,    // zlib colour-mapped, 15-bit or 24-bit pixels
    Lossless2,   // the same with alpha
};

// Bitmaps are decoded when first drawn, from the tag bytes kept in the movie.
struct BitmapDefinition {
    std::span<const std::uint8_t> tag;  // after the character id
    BitmapKind kind = BitmapKind::Jpeg2;
};

// Empty when the data is damaged or describes a bitmap past the size limits.
std::optional<Bitmap> decodeBitmap(const BitmapDefinition& definition, std::span<const std::uint8_t> jpegTables);

// One JPEG stream out of the pieces a movie stores: tables and image may each carry their own
// start and end markers, and old files put a stray end-start pair in front. Empty if no scan.
std::vector<std::uint8_t> joinJpeg(std::span<const std::uint8_t> tables, std::span<const std::uint8_t> image);

}
