#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Image fixtures written by the tests themselves, so colours are known exactly.
// Pixels are 0xAARRGGBB, row by row from the top.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<uint32_t>& argb,
              bool withAlpha);
// A 24-bit bottom-up BMP file image as bytes.
std::string MakeBmp24(int width, int height, const std::vector<uint32_t>& rgb);

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class PixelCanvas {
public:
    PixelCanvas(int width, int height, COLORREF fill);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    // The pixel as 0x00RRGGBB.
    uint32_t At(int x, int y) const;

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
    int m_width = 0;
};
