#include "framework/Image.h"

#include <objidl.h>
#include <shlwapi.h>
// GDI+ headers need min and max, which NOMINMAX removes.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}
#include <gdiplus.h>

#include <memory>

namespace {
// GDI+ is started once for the process and left running: images hold plain
// DIB sections, so nothing depends on shutting it down before exit.
bool EnsureGdiplus()
{
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

struct ComRelease {
    void operator()(IUnknown* unknown) const { unknown->Release(); }
};
}

bool CImage::Allocate(int width, int height, int bpp, bool alpha)
{
    Destroy();
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width, height, bpp, &bits);
    if (bitmap == nullptr)
        return false;
    m_bitmap.Attach(bitmap);
    m_bits = bits;
    m_width = width;
    m_height = height;
    m_bpp = bpp;
    m_pitch = ((width * bpp + 31) / 32) * 4;
    m_hasAlpha = alpha;
    return true;
}

void CImage::Destroy()
{
    m_bitmap.Reset();
    m_bits = nullptr;
    m_width = m_height = m_bpp = m_pitch = 0;
    m_hasAlpha = false;
}

bool CImage::LoadFromGdiplusBitmap(void* source)
{
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(source);
    if (bitmap->GetLastStatus() != Gdiplus::Ok)
        return false;
    const Gdiplus::PixelFormat format = bitmap->GetPixelFormat();
    const bool alpha = Gdiplus::IsAlphaPixelFormat(format) != FALSE;
    const int bpp = alpha || Gdiplus::GetPixelFormatSize(format) == 32 ? 32 : 24;
    const int width = static_cast<int>(bitmap->GetWidth());
    const int height = static_cast<int>(bitmap->GetHeight());
    if (!Allocate(width, height, bpp, alpha))
        return false;
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = m_pitch;
    data.Scan0 = m_bits;
    data.PixelFormat = bpp == 32 ? (alpha ? PixelFormat32bppARGB : PixelFormat32bppRGB)
                                 : PixelFormat24bppRGB;
    Gdiplus::Rect all(0, 0, width, height);
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         data.PixelFormat, &data) != Gdiplus::Ok) {
        Destroy();
        return false;
    }
    bitmap->UnlockBits(&data);
    return true;
}

bool CImage::Load(const std::wstring& path)
{
    Destroy();
    if (path.empty() || !EnsureGdiplus())
        return false;
    Gdiplus::Bitmap bitmap(path.c_str());
    return LoadFromGdiplusBitmap(&bitmap);
}

bool CImage::LoadFromMemory(const void* data, size_t size)
{
    Destroy();
    if (data == nullptr || size == 0 || size > 0x7FFFFFFF || !EnsureGdiplus())
        return false;
    std::unique_ptr<IStream, ComRelease> stream(
        SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size)));
    if (!stream)
        return false;
    Gdiplus::Bitmap bitmap(stream.get());
    return LoadFromGdiplusBitmap(&bitmap);
}

bool CImage::Draw(HDC dc, const RECT& dst, const RECT& src) const
{
    if (IsNull())
        return false;
    CMemDC memory(dc);
    CSelectObject select(memory.Get(), m_bitmap.Get());
    const int dw = dst.right - dst.left;
    const int dh = dst.bottom - dst.top;
    const int sw = src.right - src.left;
    const int sh = src.bottom - src.top;
    if (m_hasAlpha) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return AlphaBlend(dc, dst.left, dst.top, dw, dh, memory.Get(), src.left, src.top, sw, sh,
                          blend) != FALSE;
    }
    return StretchBlt(dc, dst.left, dst.top, dw, dh, memory.Get(), src.left, src.top, sw, sh,
                      SRCCOPY) != FALSE;
}

bool CImage::Draw(HDC dc, const RECT& dst) const
{
    return Draw(dc, dst, RECT{0, 0, m_width, m_height});
}
