#pragma once
#include <windows.h>

#include <string>

#include "framework/Gdi.h"
#include "movie/SystemFont.h"

// Glyph outlines from a GDI font, for text the movies' own fonts cannot draw.
// The default face is a Chinese one; where it is missing the system substitutes
// a font with Chinese glyphs.
class GdiGlyphSource : public movie::SystemFont {
public:
    explicit GdiGlyphSource(std::wstring face = L"\u5B8B\u4F53");

    bool glyph(char32_t character, double height, movie::SystemGlyph& out) override;
    movie::SystemFontMetrics metrics(double height) override;

private:
    bool Select(double height);

    std::wstring m_face;
    CFont m_font;
    CMemDC m_dc{nullptr};
    int m_height = 0;
};
