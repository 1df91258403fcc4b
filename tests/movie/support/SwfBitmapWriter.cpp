#include "SwfBitmapWriter.h"

#include <zlib.h>

#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"

namespace swf {

namespace {

std::uint8_t premultiplied(std::uint8_t channel, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

Bytes header(std::uint16_t id, int format, int width, int height)
{
    BitWriter out;
    out.u16(id);
    out.u8(static_cast<std::uint8_t>(format));
    out.u16(static_cast<std::uint16_t>(width));
    out.u16(static_cast<std::uint16_t>(height));
    return out.take();
}

void appendBytes(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

}

Fill bitmapFill(std::uint16_t id, const Matrix& matrix, bool repeat, bool smooth)
{
    Fill fill;
    fill.kind = Fill::Kind::Bitmap;
    fill.bitmapId = id;
    fill.matrix = matrix;
    fill.bitmapType = static_cast<std::uint8_t>(0x40 | (repeat ? 0 : 1) | (smooth ? 0 : 2));
    return fill;
}

Bytes zlibCompress(const Bytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress(out.data(), &size, data.data(), static_cast<uLong>(data.size())) != Z_OK)
        throw std::runtime_error("zlib compress failed");
    out.resize(size);
    return out;
}

Bytes losslessBody(std::uint16_t id, const Image& image, int format, bool alpha)
{
    Bytes raw;
    const int rowBytes = format == 4 ? image.width * 2 : image.width * 4;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Color c = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            if (format == 4) {
                const unsigned v = ((c.r >> 3u) << 10) | ((c.g >> 3u) << 5) | (c.b >> 3u);
                raw.push_back(static_cast<std::uint8_t>(v >> 8));
                raw.push_back(static_cast<std::uint8_t>(v));
            } else if (alpha) {
                raw.insert(raw.end(), {c.a, premultiplied(c.r, c.a), premultiplied(c.g, c.a), premultiplied(c.b, c.a)});
            } else {
                raw.insert(raw.end(), {0xFF, c.r, c.g, c.b});
            }
        }
        raw.resize(raw.size() + static_cast<std::size_t>((4 - rowBytes % 4) % 4));
    }
    Bytes body = header(id, format, image.width, image.height);
    appendBytes(body, zlibCompress(raw));
    return body;
}

Bytes palettedBody(std::uint16_t id, int width, int height, const std::vector<Color>& table,
                   const std::vector<std::uint8_t>& indices, bool alpha)
{
    Bytes raw;
    for (const Color& c : table) {
        raw.insert(raw.end(), {c.r, c.g, c.b});
        if (alpha)
            raw.push_back(c.a);
    }
    for (int y = 0; y < height; ++y) {
        const auto row = indices.begin() + y * width;
        raw.insert(raw.end(), row, row + width);
        raw.resize(raw.size() + static_cast<std::size_t>((4 - width % 4) % 4));
    }
    Bytes body = header(id, 3, width, height);
    body.push_back(static_cast<std::uint8_t>(table.size() - 1));
    appendBytes(body, zlibCompress(raw));
    return body;
}

Bytes encodeJpeg(const Image& image, int quality)
{
    Bytes rgb;
    for (const Color& c : image.pixels)
        rgb.insert(rgb.end(), {c.r, c.g, c.b});
    Bytes out;
    auto write = [](void* context, void* data, int size) {
        auto* bytes = static_cast<const std::uint8_t*>(data);
        static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
    };
    if (!stbi_write_jpg_to_func(write, &out, image.width, image.height, 3, rgb.data(), quality))
        throw std::runtime_error("JPEG encoding failed");
    return out;
}

SplitJpeg splitJpeg(const Bytes& jpeg)
{
    SplitJpeg split{{0xFF, 0xD8}, {0xFF, 0xD8}};
    std::size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos + 1] != 0xDA) {
        const std::size_t end = pos + 2 + ((std::size_t{jpeg[pos + 2]} << 8) | jpeg[pos + 3]);
        const bool table = jpeg[pos + 1] == 0xDB || jpeg[pos + 1] == 0xC4;
        Bytes& to = table ? split.tables : split.image;
        to.insert(to.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(pos), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
        pos = end;
    }
    split.image.insert(split.image.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(pos), jpeg.end());
    split.tables.insert(split.tables.end(), {0xFF, 0xD9});
    return split;
}

Bytes jpegBody(std::uint16_t id, const Bytes& jpeg)
{
    BitWriter out;
    out.u16(id);
    out.append(jpeg);
    return out.take();
}

Bytes jpeg3Body(std::uint16_t id, const Bytes& jpeg, const Image& image)
{
    Bytes alpha;
    for (const Color& c : image.pixels)
        alpha.push_back(c.a);
    BitWriter out;
    out.u16(id);
    out.u32(static_cast<std::uint32_t>(jpeg.size()));
    out.append(jpeg);
    out.append(zlibCompress(alpha));
    return out.take();
}

}
