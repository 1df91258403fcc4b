#include "app/GdiGlyphSource.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// The outline buffer of one glyph never needs more; larger answers are refused.
constexpr DWORD kMaxOutlineBytes = 1u << 20;

double ToDouble(FIXED value)
{
    return value.value + value.fract / 65536.0;
}

// GDI outlines grow upwards; the engine's grow downwards.
movie::Point ToPoint(const POINTFX& p)
{
    return {ToDouble(p.x), -ToDouble(p.y)};
}

movie::Point Midpoint(movie::Point a, movie::Point b)
{
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

class OutlineReader {
public:
    explicit OutlineReader(std::vector<movie::PathSegment>& path) : m_path(path) {}

    void Read(const BYTE* data, DWORD size)
    {
        const BYTE* end = data + size;
        while (end - data >= static_cast<std::ptrdiff_t>(sizeof(TTPOLYGONHEADER))) {
            TTPOLYGONHEADER header;
            memcpy(&header, data, sizeof header);
            if (header.dwType != TT_POLYGON_TYPE || header.cb < sizeof header ||
                header.cb > static_cast<DWORD>(end - data))
                return;
            ReadContour(ToPoint(header.pfxStart), data + sizeof header, data + header.cb);
            data += header.cb;
        }
    }

private:
    void ReadContour(movie::Point start, const BYTE* data, const BYTE* end)
    {
        m_pen = start;
        const std::ptrdiff_t curveHeader = offsetof(TTPOLYCURVE, apfx);
        while (end - data >= curveHeader) {
            WORD type = 0;
            WORD count = 0;
            memcpy(&type, data + offsetof(TTPOLYCURVE, wType), sizeof type);
            memcpy(&count, data + offsetof(TTPOLYCURVE, cpfx), sizeof count);
            const std::ptrdiff_t size = curveHeader + static_cast<std::ptrdiff_t>(count) * sizeof(POINTFX);
            if (size > end - data)
                return;
            std::vector<movie::Point> points(count);
            for (WORD i = 0; i < count; ++i) {
                POINTFX p;
                memcpy(&p, data + curveHeader + i * sizeof(POINTFX), sizeof p);
                points[i] = ToPoint(p);
            }
            AddCurve(type, points);
            data += size;
        }
        if (m_pen.x != start.x || m_pen.y != start.y)
            Line(start);
    }

    void AddCurve(WORD type, const std::vector<movie::Point>& points)
    {
        if (type == TT_PRIM_LINE) {
            for (const auto& p : points)
                Line(p);
        } else if (type == TT_PRIM_QSPLINE) {
            // Between two off-curve points lies an implied on-curve one.
            for (std::size_t i = 0; i + 1 < points.size(); ++i)
                Quad(points[i], i + 2 == points.size() ? points[i + 1] : Midpoint(points[i], points[i + 1]));
        } else if (type == TT_PRIM_CSPLINE) {
            // Cubic pieces become one quadratic each: close enough at text sizes.
            for (std::size_t i = 0; i + 2 < points.size(); i += 3) {
                const movie::Point& c1 = points[i];
                const movie::Point& c2 = points[i + 1];
                const movie::Point& to = points[i + 2];
                Quad({(3 * (c1.x + c2.x) - m_pen.x - to.x) / 4, (3 * (c1.y + c2.y) - m_pen.y - to.y) / 4}, to);
            }
        }
    }

    void Line(movie::Point to)
    {
        m_path.push_back({m_pen, {}, to, false});
        m_pen = to;
    }

    void Quad(movie::Point control, movie::Point to)
    {
        m_path.push_back({m_pen, control, to, true});
        m_pen = to;
    }

    std::vector<movie::PathSegment>& m_path;
    movie::Point m_pen;
};

}

GdiGlyphSource::GdiGlyphSource(std::wstring face) : m_face(std::move(face)) {}

bool GdiGlyphSource::Select(double height)
{
    const int pixels = static_cast<int>(std::lround(height));
    if (pixels <= 0 || pixels > 4096 || m_dc.Get() == nullptr)
        return false;
    if (pixels == m_height && !m_font.IsNull())
        return true;
    LOGFONTW font{};
    // A negative height asks for the EM size rather than the cell.
    font.lfHeight = -pixels;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(font.lfFaceName, m_face.c_str(), LF_FACESIZE);
    CFont created(CreateFontIndirectW(&font));
    if (created.IsNull())
        return false;
    SelectObject(m_dc.Get(), created.Get());
    m_font = std::move(created);
    m_height = pixels;
    return true;
}

bool GdiGlyphSource::glyph(char32_t character, double height, movie::SystemGlyph& out)
{
    if (character > 0xFFFF || !Select(height))
        return false;
    const wchar_t text = static_cast<wchar_t>(character);
    WORD index = 0;
    if (GetGlyphIndicesW(m_dc.Get(), &text, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR || index == 0xFFFF)
        return false;
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS metrics{};
    const UINT format = GGO_NATIVE | GGO_UNHINTED;
    const DWORD size = GetGlyphOutlineW(m_dc.Get(), text, format, &metrics, 0, nullptr, &identity);
    if (size == GDI_ERROR || size > kMaxOutlineBytes)
        return false;
    std::vector<BYTE> buffer(size);
    if (size > 0 && GetGlyphOutlineW(m_dc.Get(), text, format, &metrics, size, buffer.data(), &identity) == GDI_ERROR)
        return false;
    out.path.clear();
    OutlineReader(out.path).Read(buffer.data(), size);
    out.advance = metrics.gmCellIncX;
    return true;
}

movie::SystemFontMetrics GdiGlyphSource::metrics(double height)
{
    TEXTMETRICW text{};
    if (!Select(height) || !GetTextMetricsW(m_dc.Get(), &text))
        return {height * 0.9, height * 0.22};
    return {static_cast<double>(text.tmAscent), static_cast<double>(text.tmDescent)};
}
