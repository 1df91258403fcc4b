#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "framework/Gdi.h"

// A device-independent bitmap decoded by GDI+ (BMP, PNG, JPEG, GIF, TIFF ...).
// Images with an alpha channel become 32-bit B, G, R, A; others 24-bit
// (32-bit when the source is 32-bit without alpha). Rows run top-down, so the
// pitch is positive.
class CImage {
public:
    CImage() = default;
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    bool Load(const std::wstring& path);
    bool LoadFromMemory(const void* data, size_t size);
    void Destroy();

    bool IsNull() const { return m_bitmap.IsNull(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBPP() const { return m_bpp; }
    int GetPitch() const { return m_pitch; }
    void* GetBits() const { return m_bits; }
    bool HasAlpha() const { return m_hasAlpha; }
    // Never assigned by this program: images are blended or copied, never colour-keyed.
    int GetTransparentColor() const { return -1; }
    HBITMAP GetHBITMAP() const { return m_bitmap.Get(); }

    // Stretches src of the image onto dst: per-pixel alpha blending
    // (premultiplied pixels expected) when the image has alpha, a plain copy otherwise.
    bool Draw(HDC dc, const RECT& dst, const RECT& src) const;
    bool Draw(HDC dc, const RECT& dst) const;

private:
    bool LoadFromGdiplusBitmap(void* bitmap);
    bool Allocate(int width, int height, int bpp, bool alpha);

    CBitmap m_bitmap;
    void* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bpp = 0;
    int m_pitch = 0;
    bool m_hasAlpha = false;
};
