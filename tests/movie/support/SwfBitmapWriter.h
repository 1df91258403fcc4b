#pragma once

#include <cstdint>
#include <vector>

#include "SwfWriter.h"

// Bitmap tags and bitmap fills for the SWF writer.
namespace swf {

enum BitmapTagCode : std::uint16_t {
    kDefineBits = 6,
    kJpegTables = 8,
    kDefineBitsLossless = 20,
    kDefineBitsJpeg2 = 21,
    kDefineBitsJpeg3 = 35,
    kDefineBitsLossless2 = 36,
};

// Straight (not premultiplied) colours, row after row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;

    Color& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A fill showing bitmap `id`; `matrix` maps bitmap pixels to twips (scale 20 is one pixel a pixel).
Fill bitmapFill(std::uint16_t id, const Matrix& matrix, bool repeat, bool smooth);

Bytes zlibCompress(const Bytes& data);

// DefineBitsLossless (`alpha` false) or DefineBitsLossless2 bodies. Format 5 stores 32-bit pixels,
// premultiplied when with alpha; format 4 stores 15-bit colours (Lossless only).
Bytes losslessBody(std::uint16_t id, const Image& image, int format, bool alpha);
// Format 3: a colour table and one index a pixel, rows padded to 32 bits.
Bytes palettedBody(std::uint16_t id, int width, int height, const std::vector<Color>& table,
                   const std::vector<std::uint8_t>& indices, bool alpha);

// A baseline JPEG of the image's colours (alpha ignored).
Bytes encodeJpeg(const Image& image, int quality = 95);
// A JPEG split into its tables (for JPEGTables) and the rest (for DefineBits), each a full
// start-to-end marker stream as old files store them.
struct SplitJpeg {
    Bytes tables;
    Bytes image;
};
SplitJpeg splitJpeg(const Bytes& jpeg);

// DefineBits (image without tables) and DefineBitsJPEG2 (whole image) bodies alike.
Bytes jpegBody(std::uint16_t id, const Bytes& jpeg);
// The image's alpha channel goes into the zlib alpha plane.
Bytes jpeg3Body(std::uint16_t id, const Bytes& jpeg, const Image& image);

}
