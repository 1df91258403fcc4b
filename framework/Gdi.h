#pragma once
#include <windows.h>

#include <utility>

// RAII owners of GDI objects and device contexts. Each wrapper counts itself
// while it holds a handle, so leak tests can check that create/destroy cycles
// return to the same count (the system's own handle counts are not available
// under every platform layer).
int LiveGdiWrappers();

namespace gdi_detail {
void CountUp();
void CountDown();
}

// Owns one GDI object (bitmap, font, brush, pen, region) and deletes it.
template <class Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) { Attach(handle); }
    ~CGdiObject() { Reset(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    void Attach(Handle handle)
    {
        Reset();
        m_handle = handle;
        if (m_handle != nullptr)
            gdi_detail::CountUp();
    }
    Handle Detach()
    {
        if (m_handle != nullptr)
            gdi_detail::CountDown();
        return std::exchange(m_handle, nullptr);
    }
    void Reset()
    {
        if (m_handle == nullptr)
            return;
        DeleteObject(m_handle);
        m_handle = nullptr;
        gdi_detail::CountDown();
    }
    Handle Get() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }

private:
    Handle m_handle = nullptr;
};

using CBitmap = CGdiObject<HBITMAP>;
using CFont = CGdiObject<HFONT>;
using CBrush = CGdiObject<HBRUSH>;
using CPen = CGdiObject<HPEN>;

// A memory device context compatible with another one.
class CMemDC {
public:
    explicit CMemDC(HDC compatibleWith);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc = nullptr;
};

// The client-area device context of a window (GetDC / ReleaseDC).
class CClientDC {
public:
    explicit CClientDC(HWND hwnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc = nullptr;
};

// Selects an object into a device context and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            SelectObject(m_dc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A top-down DIB section of bpp bits per pixel (positive pitch); null on failure.
HBITMAP CreateTopDownDib(int width, int height, int bpp, void** bits);

// A 32-bit top-down DIB section with direct access to its pixels (B, G, R, A).
class CDibSection {
public:
    bool Create(int width, int height);
    HBITMAP Get() const { return m_bitmap.Get(); }
    void* Bits() const { return m_bits; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Pitch() const { return m_width * 4; }

private:
    CBitmap m_bitmap;
    void* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};
