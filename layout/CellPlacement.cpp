#include "layout/CellPlacement.h"

#include <cmath>

#include "framework/Wnd.h"
#include "layout/CellElement.h"
#include "layout/LayoutToken.h"
#include "layout/QmSimulateWnd.h"
#include "layout/Saturate.h"

namespace {

constexpr const wchar_t* kPositionNames[] = {
    L"atLeft",       L"atRight",    L"atTop",         L"atBottom", L"atLeftTop",
    L"atLeftBottom", L"atRightTop", L"atRightBottom", L"atCenter",
};

bool ReadPosition(const std::wstring& value, PositionCode& pos)
{
    for (int32_t code = atLeft; code <= atCenter; ++code) {
        if (value == kPositionNames[code]) {
            pos = static_cast<PositionCode>(code);
            return true;
        }
    }
    return false;
}

bool ReadFlag(const std::wstring& value, bool& flag)
{
    if (value == L"true" || value == L"TRUE" || value == L"1") {
        flag = true;
        return true;
    }
    if (value == L"false" || value == L"FALSE" || value == L"0") {
        flag = false;
        return true;
    }
    return false;
}

// Accepts only "-" and digits; the value is that of the leading "-digits" part.
bool ReadMargin(const std::wstring& value, int32_t& margin)
{
    if (value.empty() || value.find_first_not_of(L"-0123456789") != std::wstring::npos)
        return false;
    const bool negative = value[0] == L'-';
    int64_t magnitude = 0;
    for (size_t i = negative ? 1 : 0; i < value.size() && value[i] != L'-'; ++i) {
        if (magnitude <= INT64_C(1) << 32)
            magnitude = magnitude * 10 + (value[i] - L'0');
    }
    margin = SaturateToInt32(negative ? -magnitude : magnitude);
    return true;
}

int32_t* MarginField(const std::wstring& key, CellPlacement& p)
{
    if (key == L"mx") return &p.mx;
    if (key == L"my") return &p.my;
    if (key == L"mleft") return &p.mleft;
    if (key == L"mright") return &p.mright;
    if (key == L"mtop") return &p.mtop;
    if (key == L"mbottom") return &p.mbottom;
    return nullptr;
}

bool ApplyPair(const std::wstring& key, const std::wstring& value,
               const AnchorLookup& findAnchor, CellPlacement& p)
{
    if (key == L"name") {
        p.name = value;
        return true;
    }
    if (key == L"anchor") {
        p.anchor = value == L"default" ? nullptr : findAnchor(value);
        return true;
    }
    if (key == L"pos")
        return ReadPosition(value, p.pos);
    if (key == L"fill")
        return ReadFlag(value, p.fill);
    if (key == L"inside")
        return ReadFlag(value, p.inside);
    if (key == L"ratio")
        return ReadFlag(value, p.ratio);
    if (int32_t* margin = MarginField(key, p))
        return ReadMargin(value, *margin);
    return false;
}

// Window anchors are read in screen coordinates and brought into their parent's.
RECT ReferenceRect(const RECT& cell, const CObject* anchor)
{
    if (!anchor)
        return cell;
    RECT rect = cell;
    if (auto* element = dynamic_cast<const QmSimulateWnd*>(anchor)) {
        element->GetWindowRect(&rect);
        return rect;
    }
    const auto* window = dynamic_cast<const CWnd*>(anchor);
    if (!GetElementRect(anchor, rect) || !window)
        return cell;
    const HWND parent = window->GetParent();
    if (parent && ::IsWindow(parent)) {
        auto* corners = reinterpret_cast<POINT*>(&rect);
        ::ScreenToClient(parent, &corners[0]);
        ::ScreenToClient(parent, &corners[1]);
    }
    return rect;
}

struct Margins {
    int64_t left, right, top, bottom;
};

Margins EffectiveMargins(const CellPlacement& p)
{
    return {p.mleft ? p.mleft : p.mx, p.mright ? p.mright : p.mx,
            p.mtop ? p.mtop : p.my, p.mbottom ? p.mbottom : p.my};
}

// An object without height (or width) has no aspect ratio: it keeps its other side.
int64_t Scaled(int64_t extent, int64_t divisor, int64_t side)
{
    if (divisor == 0)
        return side;
    return TruncateToInt32(static_cast<double>(extent) / static_cast<double>(divisor)
                           * static_cast<double>(side));
}

struct Frame {
    int64_t L, T, R, B;
};

Frame ToFrame(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

struct Box {
    int64_t x, y, w, h;
};

// Stretches one side to the reference; the scale uses the full reference
// extent while the stretched side loses its margins.
void FillSize(const Frame& ref, const Margins& m, PositionCode pos, Box& box)
{
    if (pos == atLeft || pos == atRight) {
        box.w = Scaled(ref.B - ref.T, box.h, box.w);
        box.h = (ref.B - ref.T) - m.top - m.bottom;
    } else if (pos == atTop || pos == atBottom) {
        box.h = Scaled(ref.R - ref.L, box.w, box.h);
        box.w = (ref.R - ref.L) - m.left - m.right;
    }
}

// Centred axes ignore their margins.
void PositionInside(const Frame& ref, const Margins& m, PositionCode pos, Box& box)
{
    const int64_t left = ref.L + m.left, right = ref.R - m.right - box.w;
    const int64_t top = ref.T + m.top, bottom = ref.B - m.bottom - box.h;
    const int64_t centreX = (ref.L + ref.R - box.w) / 2, centreY = (ref.T + ref.B - box.h) / 2;
    switch (pos) {
    case atLeft: box.x = left; box.y = centreY; break;
    case atRight: box.x = right; box.y = centreY; break;
    case atTop: box.x = centreX; box.y = top; break;
    case atBottom: box.x = centreX; box.y = bottom; break;
    case atLeftTop: box.x = left; box.y = top; break;
    case atLeftBottom: box.x = left; box.y = bottom; break;
    case atRightTop: box.x = right; box.y = top; break;
    case atRightBottom: box.x = right; box.y = bottom; break;
    case atCenter: box.x = centreX; box.y = centreY; break;
    }
}

// Beside a side the object aligns with the reference's top or left edge;
// at a corner it sits diagonally outside. Centred around has no position.
bool PositionAround(const Frame& ref, const Margins& m, PositionCode pos, Box& box)
{
    const int64_t before = ref.L - m.left - box.w, after = ref.R + m.right;
    const int64_t above = ref.T - m.top - box.h, below = ref.B + m.bottom;
    switch (pos) {
    case atLeft: box.x = before; box.y = ref.T + m.top; break;
    case atRight: box.x = after; box.y = ref.T + m.top; break;
    case atTop: box.x = ref.L + m.left; box.y = above; break;
    case atBottom: box.x = ref.L + m.left; box.y = below; break;
    case atLeftTop: box.x = before; box.y = above; break;
    case atLeftBottom: box.x = before; box.y = below; break;
    case atRightTop: box.x = after; box.y = above; break;
    case atRightBottom: box.x = after; box.y = below; break;
    case atCenter: return false;
    }
    return true;
}

} // namespace

bool ReadPlacement(const std::wstring& text, const AnchorLookup& findAnchor,
                   CellPlacement& placement)
{
    TokenList tokens;
    Tokenize(text, tokens);
    std::wstring key;
    std::wstring value;
    while (!tokens.empty()) {
        if (!ReadKeyValue(tokens, key, value) || !ApplyPair(key, value, findAnchor, placement))
            return false;
    }
    return true;
}

bool ComputePlacement(const RECT& cell, const CellPlacement& p, RECT& control)
{
    const Frame ref = ToFrame(ReferenceRect(cell, p.anchor));
    const Margins m = EffectiveMargins(p);
    if (p.fill && p.inside && !p.ratio) {
        control = {SaturateToInt32(ref.L + m.left), SaturateToInt32(ref.T + m.top),
                   SaturateToInt32(ref.R - m.right), SaturateToInt32(ref.B - m.bottom)};
        return true;
    }
    Box box{0, 0, int64_t{control.right} - control.left, int64_t{control.bottom} - control.top};
    if (p.fill)
        FillSize(ref, m, p.pos, box);
    if (p.inside)
        PositionInside(ref, m, p.pos, box);
    else if (!PositionAround(ref, m, p.pos, box))
        return false;
    control = {SaturateToInt32(box.x), SaturateToInt32(box.y), SaturateToInt32(box.x + box.w),
               SaturateToInt32(box.y + box.h)};
    return true;
}
