#pragma once
#include <windows.h>

#include <string>

#include "framework/Image.h"

// The shared image of the image map under exactly path, or else a new private
// image loaded from the file (null after a failure, reported by the loader).
CImage* AcquireImage(const std::wstring& path);

// Deletes a private image; null and images of the image map are left alone.
void ReleaseImage(CImage* image);

// Stretches src of the image onto dst: per-pixel alpha blending for images
// with alpha (premultiplied pixels), a plain copy otherwise.
bool DrawImage(HDC dc, const CImage& image, const RECT& dst, const RECT& src);
// The whole image stretched onto dst.
bool DrawImage(HDC dc, const CImage& image, const RECT& dst);
