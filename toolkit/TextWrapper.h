#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Gdi.h"

class CWnd;

// A font of the toolkit: light weight, GB2312 character set. A face name
// longer than the 31 characters a LOGFONT holds is cut to them (never
// inside a surrogate pair), so the font mapper falls back as it does for
// any other face it does not know. Null after showing an error box.
std::unique_ptr<CFont> CreateTextFont(int height, const std::wstring& faceName);

// Text with markup codes resolved: one large flag and one red flag per
// UTF-16 unit of text.
struct TextMarkup {
    std::wstring text;
    std::vector<bool> large;
    std::vector<bool> red;
};

// "^C" turns on the large flag, "^R" the red flag, "^^" is a literal caret;
// a caret before any other character turns both flags off and keeps that
// character; a trailing caret is dropped.
TextMarkup ParseTextMarkup(const std::wstring& text);

// Draws a label's text into a rectangle: aligned by a position code, broken
// into lines at CR characters and at the rectangle's width, character by
// character. Owners set the fields directly and call Refresh after changes.
class QmTextWrapper {
public:
    QmTextWrapper() = default;
    virtual ~QmTextWrapper() = default;
    QmTextWrapper(const QmTextWrapper&) = delete;
    QmTextWrapper& operator=(const QmTextWrapper&) = delete;

    // Gives the wrapper its default font first when it has none.
    void SetText(const std::wstring& text, bool refresh);
    // Replaces the normal font and the one 10 % larger; true when both exist.
    bool SetFont(const std::wstring& faceName, int height);
    // Repaints the owner, and its parent too when the text is transparent.
    void Refresh() const;
    void Draw(const RECT& rect, HDC dc);

    std::wstring m_strText;
    COLORREF m_colorText = 0;
    bool m_bAltEnabled = false;
    bool m_bAltOn = false;
    COLORREF m_colorAlt = 0;
    bool m_bFillBack = true;
    COLORREF m_colorBack = RGB(255, 255, 255);
    std::unique_ptr<CFont> m_pFont;
    std::unique_ptr<CFont> m_pFontLarge;
    int m_nFontSize = 0;
    int m_nAlign = 8;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
    double m_fLineSpacing = 1.3;
    std::vector<bool> m_vbRed;
    std::vector<bool> m_vbLarge;
    CWnd* m_pOwner = nullptr;

private:
    SIZE MeasureUnwrapped(HDC dc) const;
    POINT AlignedOrigin(const RECT& rect, SIZE extent) const;
    int LineHeight(HDC dc) const;
    void DrawPlain(HDC dc, const RECT& rect, POINT origin) const;
    void DrawMarkedUp(HDC dc, const RECT& rect, POINT origin, const std::wstring& text) const;
};
