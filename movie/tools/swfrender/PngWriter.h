#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace movie {

// Encodes a 32-bit premultiplied BGRA image as an 8-bit RGBA PNG.
std::vector<std::uint8_t> encodePng(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes);
bool writePng(const std::filesystem::path& path, const std::uint32_t* pixels, int width, int height,
              std::ptrdiff_t strideBytes);

}
