#include "framework/Gdi.h"

namespace {
int g_liveWrappers = 0;
}

int LiveGdiWrappers()
{
    return g_liveWrappers;
}

namespace gdi_detail {
void CountUp()
{
    ++g_liveWrappers;
}

void CountDown()
{
    --g_liveWrappers;
}
}

CMemDC::CMemDC(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith))
{
    if (m_dc != nullptr)
        gdi_detail::CountUp();
}

CMemDC::~CMemDC()
{
    if (m_dc == nullptr)
        return;
    DeleteDC(m_dc);
    gdi_detail::CountDown();
}

CClientDC::CClientDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd))
{
    if (m_dc != nullptr)
        gdi_detail::CountUp();
}

CClientDC::~CClientDC()
{
    if (m_dc == nullptr)
        return;
    ReleaseDC(m_hwnd, m_dc);
    gdi_detail::CountDown();
}

HBITMAP CreateTopDownDib(int width, int height, int bpp, void** bits)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bpp);
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

bool CDibSection::Create(int width, int height)
{
    m_bitmap.Reset();
    m_bits = nullptr;
    m_width = m_height = 0;
    if (width <= 0 || height <= 0)
        return false;
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width, height, 32, &bits);
    if (bitmap == nullptr)
        return false;
    m_bitmap.Attach(bitmap);
    m_bits = bits;
    m_width = width;
    m_height = height;
    return true;
}
