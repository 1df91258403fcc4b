#include "movie/ImageDecoder.h"

#include <climits>
#include <cstdlib>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 8192
#include "stb_image.h"

#include "movie/Geometry.h"

namespace movie {

namespace {

// Even a flat grey JPEG spends a few bits on every 8×8 block; a header that claims far more
// pixels than its bytes can carry is hostile, and would only cost memory and time.
constexpr std::size_t kMaxPixelsPerByte = 4096;

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}

std::optional<Bitmap> decodeImage(std::span<const std::uint8_t> data)
{
    if (data.empty() || data.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const auto size = static_cast<int>(data.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data.data(), size, &width, &height, &channels))
        return std::nullopt;
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        return std::nullopt;
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (pixels > kMaxBitmapPixels || pixels / kMaxPixelsPerByte > data.size())
        return std::nullopt;
    const std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(data.data(), size, &width, &height, &channels, 4));
    if (!rgba)
        return std::nullopt;
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const stbi_uc* in = rgba.get();
    for (auto& pixel : bitmap.pixels) {
        pixel = premultiply({in[0], in[1], in[2], in[3]});
        in += 4;
    }
    return bitmap;
}

}
