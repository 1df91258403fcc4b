#pragma once
#include <string>

#include "framework/Image.h"

// Loads an image file into a new image owned by the caller, or null after a
// failure (with a message box unless the path is empty). 32-bit images whose
// path ends in "png" come back premultiplied, ready for per-pixel blending.
CImage* LoadImageFile(const std::wstring& path);

// Scales each colour byte of a 32-bit image by its pixel's alpha (c × a ÷ 255).
void PremultiplyAlpha(CImage& image);
