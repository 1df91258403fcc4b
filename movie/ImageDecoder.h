#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "movie/Bitmap.h"

namespace movie {

// Largest side of any bitmap we decode, and the most pixels of one bitmap.
inline constexpr int kMaxBitmapSide = 8192;
inline constexpr std::size_t kMaxBitmapPixels = std::size_t{kMaxBitmapSide} * kMaxBitmapSide;

// Decodes a complete JPEG, PNG or GIF (first frame) image into premultiplied pixels.
// Refuses images past the size limits, or larger than their data could plausibly describe.
std::optional<Bitmap> decodeImage(std::span<const std::uint8_t> data);

}
