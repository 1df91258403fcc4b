#include "toolkit/QmButton.h"

#include <windowsx.h>

#include "framework/ErrorBox.h"
#include "framework/Gdi.h"
#include "toolkit/ImageRules.h"
#include "toolkit/QmDialog.h"

QmButton::~QmButton()
{
    ReleasePictureSets(m_sets);
}

void QmButton::InitFromDef(QmDialog* parent, const QmMultiStateButtonInitDef& def)
{
    m_pParentDlg = parent;
    m_def.resourcePath = def.resourcePath;
    m_def.nWidth = def.nWidth;
    m_def.nHeight = def.nHeight;
    m_def.statesBmp = def.statesBmp;
    m_def.tip = def.tip;
    LoadPictureSets(m_def.resourcePath, m_def.statesBmp, m_sets);
}

bool QmButton::CreateButton(DWORD style, HWND parent, const std::wstring& text, UINT id, int mode)
{
    const int w = GetImageWidth();
    const int h = GetImageHeight();
    const RECT rect = w != 0 && h != 0 ? RECT{0, 0, w, h} : RECT{10, 10, 100, 100};
    m_nMode = mode;
    if (style & WS_TABSTOP)
        m_bFocusCue = true;
    return Create(text, style | WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, parent, id);
}

bool QmButton::QmCreate(const QmMultiStateButtonInitDef& def, QmDialog* parent, UINT id, int mode,
                        DWORD style)
{
    InitFromDef(parent, def);
    return CreateButton(style, parent != nullptr ? parent->GetHwnd() : nullptr, L"", id, mode);
}

int QmButton::GetImageWidth() const
{
    return m_sets.empty() || m_sets[0].base == nullptr ? 0 : m_sets[0].base->GetWidth();
}

int QmButton::GetImageHeight() const
{
    return m_sets.empty() || m_sets[0].base == nullptr ? 0 : m_sets[0].base->GetHeight();
}

void QmButton::SetState(unsigned set)
{
    if (set >= m_sets.size()) {
        ShowErrorBox(L"Error: SetState参数超过图片套数.");
        return;
    }
    m_nState = set;
    if (IsWindow())
        Invalidate(false);
}

void QmButton::SetChecked(bool checked)
{
    if (m_nMode != kLatch && m_nMode != kToggle)
        return;
    m_bChecked = checked;
    if (IsWindow())
        Invalidate(false);
}

void QmButton::DrawBitmap(const CImage* image, const RECT* dest, HDC dc) const
{
    if (image == nullptr || image->IsNull()) {
        ShowErrorBox(L"Error in QmButton::DrawBitmap: pImg为空.");
        return;
    }
    const RECT natural{0, 0, image->GetWidth(), image->GetHeight()};
    DrawImage(dc, *image, dest != nullptr ? *dest : natural);
}

ButtonLook QmButton::ChooseDrawState(bool hover, bool checked, UINT itemState)
{
    if (hover)
        return (itemState & ODS_SELECTED) ? ButtonLook::Pressed : ButtonLook::Hover;
    if (itemState & ODS_DISABLED)
        return ButtonLook::Disabled;
    return checked ? ButtonLook::Pressed : ButtonLook::Normal;
}

void QmButton::DrawItem(const DRAWITEMSTRUCT& item) const
{
    const ButtonLook look = ChooseDrawState(m_bHover, m_bChecked, item.itemState);
    if (!m_sets.empty())
        DrawBitmap(ImageForState(m_sets, m_nState, m_bChecked, look), nullptr, item.hDC);
    if (m_bFocused && m_bFocusCue)
        DrawFocusCue(item.hDC);
}

void QmButton::DrawFocusCue(HDC dc) const
{
    const RECT window = GetWindowRect();
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    CPen pen(CreatePen(PS_DOT, 1, RGB(180, 180, 180)));
    CSelectObject selectPen(dc, pen.Get());
    CSelectObject selectBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 2, 2, w - 2, h - 2, 6, 6);
}

void QmButton::OnMouseMove()
{
    if (m_bHover)
        return;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetHwnd(), 0};
    TrackMouseEvent(&track);
    m_bHover = true;
    Invalidate(true);
}

void QmButton::OnLButtonUp(LPARAM lParam)
{
    if ((m_nMode != kLatch && m_nMode != kToggle) || !m_bPressed)
        return;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const RECT client = GetClientRect();
    if (PtInRect(&client, point))
        m_bChecked = m_nMode == kToggle ? !m_bChecked : true;
    m_bPressed = false;
}

LRESULT QmButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSELEAVE:
        m_bHover = false;
        Invalidate(true);
        break;
    case WM_LBUTTONDOWN:
        if (m_nMode == kLatch || m_nMode == kToggle)
            m_bPressed = true;
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(lParam);
        break;
    case WM_SETFOCUS: {
        const LRESULT result = CButton::WndProc(msg, wParam, lParam);
        m_bFocused = true;
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = CButton::WndProc(msg, wParam, lParam);
        m_bFocused = false;
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE;
    default:
        break;
    }
    return CButton::WndProc(msg, wParam, lParam);
}

bool QmButton::OnMessageReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}
