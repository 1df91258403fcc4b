#include "support/ImageFiles.h"

#include "framework/Gdi.h"

#include <objidl.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}
#include <gdiplus.h>

namespace {
const CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

void StartGdiplus()
{
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    (void)started;
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
}

bool WritePng(const std::wstring& path, int width, int height, const std::vector<uint32_t>& argb,
              bool withAlpha)
{
    StartGdiplus();
    Gdiplus::Bitmap bitmap(width, height,
                           withAlpha ? PixelFormat32bppARGB : PixelFormat24bppRGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, Gdiplus::Color(argb[static_cast<size_t>(y * width + x)]));
    return bitmap.Save(path.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
}

std::string MakeBmp24(int width, int height, const std::vector<uint32_t>& rgb)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t imageSize = static_cast<uint32_t>(rowBytes * height);
    std::string out = "BM";
    PutLittleEndian(out, 54 + imageSize, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<uint32_t>(height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, imageSize, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x)
            PutLittleEndian(row, rgb[static_cast<size_t>(y * width + x)], 3);
        row.resize(static_cast<size_t>(rowBytes), '\0');
        out += row;
    }
    return out;
}

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : m_width(width)
{
    void* bits = nullptr;
    m_bitmap = CreateTopDownDib(width, height, 32, &bits);
    m_bits = static_cast<uint32_t*>(bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_previous = SelectObject(m_dc, m_bitmap);
    const uint32_t pixel = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    std::fill(m_bits, m_bits + width * height, pixel);
}

PixelCanvas::~PixelCanvas()
{
    SelectObject(m_dc, m_previous);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
}

uint32_t PixelCanvas::At(int x, int y) const
{
    GdiFlush();
    return m_bits[y * m_width + x] & 0xFFFFFF;
}
