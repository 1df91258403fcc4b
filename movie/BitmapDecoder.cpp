#include "movie/BitmapDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>

#include "movie/ByteReader.h"
#include "movie/Geometry.h"
#include "movie/ImageDecoder.h"

namespace movie {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kDefineHuffmanTable = 0xC4;

// Inflates exactly `size` bytes; fails if the stream is damaged or ends sooner. The buffer grows
// with what the stream really yields, so a short stream under a huge header allocates little.
std::optional<std::vector<std::uint8_t>> inflateExactly(std::span<const std::uint8_t> data, std::size_t size)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(data.size(), UINT32_MAX));
    int status = Z_OK;
    while (out.size() < size && status == Z_OK) {
        const std::size_t done = out.size();
        out.resize(std::min(size, std::max<std::size_t>(done * 2, 1u << 16)));
        stream.next_out = out.data() + done;
        stream.avail_out = static_cast<uInt>(out.size() - done);
        status = inflate(&stream, Z_SYNC_FLUSH);
        out.resize(out.size() - stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_out != 0)
            break;
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    inflateEnd(&stream);
    if (out.size() < size)
        return std::nullopt;
    return out;
}

bool validSize(int width, int height)
{
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide;
}

// Premultiplied input may still claim a colour brighter than its alpha; clamping keeps blending sane.
std::uint32_t clampPremultiplied(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (std::uint32_t{a} << 24) | (std::uint32_t{std::min(r, a)} << 16) |
           (std::uint32_t{std::min(g, a)} << 8) | std::min(b, a);
}

std::optional<Bitmap> decodeLossless(std::span<const std::uint8_t> tag, bool withAlpha)
{
    ByteReader reader(tag);
    const std::uint8_t format = reader.u8();
    Bitmap bitmap;
    bitmap.width = reader.u16();
    bitmap.height = reader.u16();
    const std::size_t colors = format == 3 ? std::size_t{reader.u8()} + 1 : 0;
    if (reader.failed() || !validSize(bitmap.width, bitmap.height))
        return std::nullopt;
    const auto width = static_cast<std::size_t>(bitmap.width);
    const auto height = static_cast<std::size_t>(bitmap.height);
    const std::size_t colorBytes = withAlpha ? 4 : 3;
    const std::size_t pixelBytes = format == 3 ? 1 : format == 4 ? 2 : format == 5 ? 4 : 0;
    if (pixelBytes == 0)
        return std::nullopt;
    // Rows are padded to 32 bits.
    const std::size_t stride = (width * pixelBytes + 3) & ~std::size_t{3};
    const std::size_t tableBytes = colors * colorBytes;
    const auto data = inflateExactly(reader.rest(), tableBytes + stride * height);
    if (!data)
        return std::nullopt;
    bitmap.pixels.resize(width * height);
    const std::uint8_t* raw = data->data();
    // Indices past the table draw nothing.
    std::array<std::uint32_t, 256> table{};
    for (std::size_t i = 0; i < colors; ++i, raw += colorBytes) {
        table[i] = withAlpha ? premultiply({raw[0], raw[1], raw[2], raw[3]})
                             : premultiply({raw[0], raw[1], raw[2], 255});
    }
    for (std::size_t y = 0; y < height; ++y, raw += stride) {
        std::uint32_t* out = bitmap.pixels.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = raw + x * pixelBytes;
            if (format == 3) {
                out[x] = table[p[0]];
            } else if (format == 4) {
                const unsigned v = (unsigned{p[0]} << 8) | p[1];
                auto widen = [](unsigned five) { return static_cast<std::uint8_t>((five << 3) | (five >> 2)); };
                out[x] = premultiply({widen((v >> 10) & 31), widen((v >> 5) & 31), widen(v & 31), 255});
            } else {
                out[x] = withAlpha ? clampPremultiplied(p[0], p[1], p[2], p[3]) : premultiply({p[1], p[2], p[3], 255});
            }
        }
    }
    return bitmap;
}

// The alpha plane multiplies the decoded colours; without a usable plane the image stays opaque.
void applyAlphaPlane(Bitmap& bitmap, std::span<const std::uint8_t> zlibAlpha)
{
    if (zlibAlpha.empty())
        return;
    const auto alpha = inflateExactly(zlibAlpha, bitmap.pixels.size());
    if (!alpha)
        return;
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
        const std::uint32_t p = bitmap.pixels[i];
        const std::uint8_t a = (*alpha)[i];
        bitmap.pixels[i] = premultiply({static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                        static_cast<std::uint8_t>(p), a});
    }
}

// A Huffman table segment whose code counts promise more than 256 symbols overruns the
// decoder's tables; such segments are refused before decoding.
bool validHuffmanTables(std::span<const std::uint8_t> segment)
{
    std::size_t pos = 4;
    while (pos < segment.size()) {
        if (pos + 17 > segment.size())
            return false;
        std::size_t symbols = 0;
        for (std::size_t i = 1; i <= 16; ++i)
            symbols += segment[pos + i];
        if (symbols > 256)
            return false;
        pos += 17 + symbols;
    }
    return pos == segment.size();
}

// Progressive and multi-scan images define tables between their scans too. Scan data escapes
// its 0xFF bytes, so any table marker found there is a real one.
bool laterTablesValid(std::span<const std::uint8_t> scans)
{
    for (std::size_t pos = 0; pos + 4 <= scans.size(); ++pos) {
        if (scans[pos] != kMarker || scans[pos + 1] != kDefineHuffmanTable)
            continue;
        const std::size_t length = (std::size_t{scans[pos + 2]} << 8) | scans[pos + 3];
        const std::size_t end = std::min(scans.size(), pos + 2 + length);
        if (!validHuffmanTables(scans.subspan(pos, end - pos)))
            return false;
    }
    return true;
}

bool isJpeg(std::span<const std::uint8_t> data)
{
    return data.size() >= 2 && data[0] == kMarker && (data[1] == kStartOfImage || data[1] == kEndOfImage);
}

std::optional<Bitmap> decodeJpegOrOther(std::span<const std::uint8_t> tables, std::span<const std::uint8_t> image)
{
    if (!isJpeg(image))
        return decodeImage(image);
    const std::vector<std::uint8_t> joined = joinJpeg(tables, image);
    if (joined.empty())
        return std::nullopt;
    return decodeImage(joined);
}

}

std::vector<std::uint8_t> joinJpeg(std::span<const std::uint8_t> tables, std::span<const std::uint8_t> image)
{
    std::vector<std::uint8_t> out = {kMarker, kStartOfImage};
    // Walks the marker segments of both pieces in turn, dropping every start and end marker
    // before the scan, then keeps the scan and whatever follows it untouched.
    for (const auto piece : {tables, image}) {
        std::size_t pos = 0;
        while (pos + 1 < piece.size()) {
            if (piece[pos] != kMarker) {
                ++pos;
                continue;
            }
            const std::uint8_t code = piece[pos + 1];
            if (code == kMarker) {
                ++pos;
            } else if (code == kStartOfImage || code == kEndOfImage || code == 0x00 || (code >= 0xD0 && code <= 0xD7)) {
                pos += 2;
            } else if (code == kStartOfScan) {
                out.insert(out.end(), piece.begin() + static_cast<std::ptrdiff_t>(pos), piece.end());
                return laterTablesValid(piece.subspan(pos)) ? out : std::vector<std::uint8_t>{};
            } else {
                if (pos + 4 > piece.size())
                    break;
                const std::size_t length = (std::size_t{piece[pos + 2]} << 8) | piece[pos + 3];
                const std::size_t end = std::min(piece.size(), pos + 2 + length);
                if (code == kDefineHuffmanTable && !validHuffmanTables(piece.subspan(pos, end - pos)))
                    return {};
                out.insert(out.end(), piece.begin() + static_cast<std::ptrdiff_t>(pos),
                           piece.begin() + static_cast<std::ptrdiff_t>(end));
                pos = end;
            }
        }
    }
    return {};
}

std::optional<Bitmap> decodeBitmap(const BitmapDefinition& definition, std::span<const std::uint8_t> jpegTables)
{
    switch (definition.kind) {
    case BitmapKind::Jpeg:
        return decodeJpegOrOther(jpegTables, definition.tag);
    case BitmapKind::Jpeg2:
        return decodeJpegOrOther({}, definition.tag);
    case BitmapKind::Jpeg3: {
        ByteReader reader(definition.tag);
        const std::uint32_t imageBytes = reader.u32();
        if (reader.failed() || imageBytes > reader.remaining())
            return std::nullopt;
        const auto image = reader.bytes(imageBytes);
        auto bitmap = decodeJpegOrOther({}, image);
        // Other image formats carry their own alpha.
        if (bitmap && isJpeg(image))
            applyAlphaPlane(*bitmap, reader.rest());
        return bitmap;
    }
    case BitmapKind::Lossless:
        return decodeLossless(definition.tag, false);
    case BitmapKind::Lossless2:
        return decodeLossless(definition.tag, true);
    }
    return std::nullopt;
}

}
