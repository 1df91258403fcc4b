#include "movie/tools/swfrender/PngWriter.h"

#include <zlib.h>

#include <fstream>

namespace movie {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    put32(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t unpremultiply(std::uint32_t value, std::uint32_t alpha)
{
    if (alpha == 0)
        return 0;
    const std::uint32_t v = (value * 255 + alpha / 2) / alpha;
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}

}

std::vector<std::uint8_t> encodePng(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes)
{
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 4 + 1));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const std::uint8_t*>(pixels) +
                                                                 y * strideBytes);
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            raw.push_back(unpremultiply((p >> 16) & 0xFF, a));
            raw.push_back(unpremultiply((p >> 8) & 0xFF, a));
            raw.push_back(unpremultiply(p & 0xFF, a));
            raw.push_back(static_cast<std::uint8_t>(a));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    return png;
}

bool writePng(const std::filesystem::path& path, const std::uint32_t* pixels, int width, int height,
              std::ptrdiff_t strideBytes)
{
    const auto png = encodePng(pixels, width, height, strideBytes);
    if (png.empty())
        return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

}
