#include "toolkit/TextWrapper.h"

#include <algorithm>
#include <string_view>

#include "framework/ErrorBox.h"
#include "framework/Wnd.h"
#include "layout/Saturate.h"

namespace {
constexpr wchar_t kDefaultFace[] = L"宋体";
constexpr int kDefaultHeight = 12;
constexpr int kLightWeight = 200;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kFallbackMaxCharWidth = 24;

enum Position {
    atLeft,
    atRight,
    atTop,
    atBottom,
    atLeftTop,
    atLeftBottom,
    atRightTop,
    atRightBottom,
    atCenter
};

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Units of the character at i: a surrogate pair is one character, never split.
size_t CharLength(std::wstring_view text, size_t i)
{
    return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

SIZE Extent(HDC dc, std::wstring_view text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

// Lines of a text without markup: cut at CR, and before a character when the
// line built so far (two characters or more) is already wider than width.
std::vector<std::wstring> BreakLines(HDC dc, std::wstring_view text, int width)
{
    std::vector<std::wstring> lines;
    std::wstring cur;
    size_t charsInCur = 0;
    size_t lastLength = 0;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == L'\r') {
            lines.push_back(std::move(cur));
            cur.clear();
            charsInCur = 0;
            ++i;
            continue;
        }
        if (charsInCur >= 2 && Extent(dc, cur).cx > width) {
            std::wstring last = cur.substr(cur.size() - lastLength);
            cur.resize(cur.size() - lastLength);
            lines.push_back(std::move(cur));
            cur = std::move(last);
            charsInCur = 1;
        }
        lastLength = CharLength(text, i);
        cur.append(text.substr(i, lastLength));
        ++charsInCur;
        i += lastLength;
    }
    lines.push_back(std::move(cur));
    return lines;
}

int LineTop(int y, size_t line, int lineHeight, int raise = 0)
{
    return SaturateToInt32(static_cast<int64_t>(y) + static_cast<int64_t>(line) * lineHeight -
                           raise);
}
}

std::unique_ptr<CFont> CreateTextFont(int height, const std::wstring& faceName)
{
    LOGFONTW logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = kLightWeight;
    logFont.lfCharSet = GB2312_CHARSET;
    size_t length = std::min(faceName.size(), static_cast<size_t>(LF_FACESIZE - 1));
    if (length < faceName.size() && length > 0 && IsHighSurrogate(faceName[length - 1]))
        --length;
    faceName.copy(logFont.lfFaceName, length);

    auto font = std::make_unique<CFont>(CreateFontIndirectW(&logFont));
    if (font->IsNull()) {
        ShowErrorBox(L"Error in CreateFontIndirect.");
        return nullptr;
    }
    return font;
}

TextMarkup ParseTextMarkup(const std::wstring& text)
{
    TextMarkup result;
    bool large = false;
    bool red = false;
    auto append = [&](wchar_t c) {
        result.text.push_back(c);
        result.large.push_back(large);
        result.red.push_back(red);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'^') {
            append(text[i]);
            continue;
        }
        if (++i == text.size())
            break;
        switch (text[i]) {
        case L'C':
            large = true;
            break;
        case L'R':
            red = true;
            break;
        case L'^':
            append(L'^');
            break;
        default:
            large = false;
            red = false;
            append(text[i]);
            break;
        }
    }
    return result;
}

void QmTextWrapper::SetText(const std::wstring& text, bool refresh)
{
    if (!m_pFont)
        SetFont(kDefaultFace, kDefaultHeight);
    m_strText = text;
    if (refresh)
        Refresh();
}

bool QmTextWrapper::SetFont(const std::wstring& faceName, int height)
{
    m_pFont.reset();
    m_pFontLarge.reset();
    m_nFontSize = height;
    m_pFont = CreateTextFont(height, faceName);
    if (!m_pFont)
        return false;
    m_pFontLarge = CreateTextFont(TruncateToInt32(height * 1.1), faceName);
    return m_pFontLarge != nullptr;
}

void QmTextWrapper::Refresh() const
{
    if (m_pOwner == nullptr || !m_pOwner->IsWindow())
        return;
    if (!m_bFillBack) {
        HWND parent = m_pOwner->GetParent();
        if (parent != nullptr)
            InvalidateRect(parent, nullptr, FALSE);
    }
    if (!m_strText.empty())
        m_pOwner->Invalidate(false);
}

void QmTextWrapper::Draw(const RECT& rect, HDC dc)
{
    if (!m_pFont || m_strText.empty())
        return;
    CSelectObject keepFont(dc, m_pFont->Get());

    const POINT origin = AlignedOrigin(rect, MeasureUnwrapped(dc));
    SetTextColor(dc, m_bAltEnabled && m_bAltOn ? m_colorAlt : m_colorText);
    if (m_bFillBack) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, m_colorBack);
    } else {
        SetBkMode(dc, TRANSPARENT);
    }

    TextMarkup markup = ParseTextMarkup(m_strText);
    m_vbLarge = std::move(markup.large);
    m_vbRed = std::move(markup.red);
    if (m_strText.find(L'^') != std::wstring::npos)
        DrawMarkedUp(dc, rect, origin, markup.text);
    else
        DrawPlain(dc, rect, origin);
}

SIZE QmTextWrapper::MeasureUnwrapped(HDC dc) const
{
    SIZE total{};
    const std::wstring_view text = m_strText;
    size_t start = 0;
    while (true) {
        const size_t end = std::min(text.find(L'\r', start), text.size());
        const SIZE piece = Extent(dc, text.substr(start, end - start));
        total.cx = std::max(total.cx, piece.cx);
        total.cy = SaturateToInt32(static_cast<int64_t>(total.cy) + piece.cy);
        if (end == text.size())
            return total;
        start = end + 1;
    }
}

POINT QmTextWrapper::AlignedOrigin(const RECT& rect, SIZE extent) const
{
    const int64_t width = static_cast<int64_t>(rect.right) - rect.left;
    const int64_t height = static_cast<int64_t>(rect.bottom) - rect.top;
    const int64_t tw = extent.cx;
    const int64_t th = extent.cy;
    const int64_t centreX = width / 2 - tw / 2 + m_nOffsetX;
    const int64_t centreY = height / 2 - th / 2 + m_nOffsetY;
    const int64_t leftX = m_nOffsetX;
    const int64_t rightX = width - tw - m_nOffsetX;
    const int64_t topY = m_nOffsetY;
    const int64_t bottomY = height - th - m_nOffsetY;

    struct {
        int64_t x = 0;
        int64_t y = 0;
    } offset;
    switch (m_nAlign) {
    case atLeft: offset = {leftX, centreY}; break;
    case atRight: offset = {rightX, centreY}; break;
    case atTop: offset = {centreX, topY}; break;
    case atBottom: offset = {centreX, bottomY}; break;
    case atLeftTop: offset = {leftX, topY}; break;
    case atLeftBottom: offset = {leftX, bottomY}; break;
    case atRightTop: offset = {rightX, topY}; break;
    case atRightBottom: offset = {rightX, bottomY}; break;
    case atCenter: offset = {centreX, centreY}; break;
    default: break;
    }
    return {SaturateToInt32(rect.left + offset.x), SaturateToInt32(rect.top + offset.y)};
}

int QmTextWrapper::LineHeight(HDC dc) const
{
    TEXTMETRICW metrics{};
    const int fontHeight = GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    return TruncateToInt32(fontHeight * m_fLineSpacing);
}

void QmTextWrapper::DrawPlain(HDC dc, const RECT& rect, POINT origin) const
{
    const int lineHeight = LineHeight(dc);
    const int width = SaturateToInt32(static_cast<int64_t>(rect.right) - rect.left);
    const std::vector<std::wstring> lines = BreakLines(dc, m_strText, width);
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::wstring& line = lines[k];
        TextOutW(dc, origin.x, LineTop(origin.y, k, lineHeight), line.c_str(),
                 static_cast<int>(line.size()));
    }
}

void QmTextWrapper::DrawMarkedUp(HDC dc, const RECT& rect, POINT origin,
                                 const std::wstring& text) const
{
    const int lineHeight = LineHeight(dc);
    TEXTMETRICW metrics{};
    const int maxCharWidth = GetTextMetricsW(dc, &metrics) ? metrics.tmMaxCharWidth
                                                           : kFallbackMaxCharWidth;
    const int raise = TruncateToInt32(m_nFontSize * 0.1);

    int penX = origin.x;
    size_t line = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharLength(text, i);
        const bool isBreak = text[i] == L'\r';
        if (isBreak || static_cast<int64_t>(penX) + maxCharWidth > rect.right) {
            penX = origin.x;
            ++line;
        }
        if (isBreak) {
            ++i;
            continue;
        }
        SetTextColor(dc, m_vbRed[i] ? kRed : m_colorText);
        const bool large = m_vbLarge[i];
        if (large && m_pFontLarge)
            SelectObject(dc, m_pFontLarge->Get());
        else if (!large)
            SelectObject(dc, m_pFont->Get());
        const int top = LineTop(origin.y, line, lineHeight, large ? raise : 0);
        TextOutW(dc, penX, top, text.data() + i, static_cast<int>(length));
        penX = SaturateToInt32(static_cast<int64_t>(penX) +
                               Extent(dc, std::wstring_view(text).substr(i, length)).cx);
        i += length;
    }
}
