#include "framework/Controls.h"

#include <vector>

bool CButton::Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(WC_BUTTONW, text.c_str(), style, rect, parent, id);
}

int CButton::GetCheck() const
{
    return static_cast<int>(SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int check) const
{
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

UINT CButton::GetState() const
{
    return static_cast<UINT>(SendMessage(BM_GETSTATE));
}

void CButton::SetState(bool highlight) const
{
    SendMessage(BM_SETSTATE, highlight ? TRUE : FALSE);
}

bool CStatic::Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(WC_STATICW, text.c_str(), style, rect, parent, id);
}

bool CListBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle)
{
    return CreateControl(WC_LISTBOXW, nullptr, style, rect, parent, id, exStyle);
}

int CListBox::AddString(const std::wstring& text) const
{
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void CListBox::ResetContent() const
{
    SendMessage(LB_RESETCONTENT);
}

int CListBox::GetCount() const
{
    return static_cast<int>(SendMessage(LB_GETCOUNT));
}

int CListBox::GetCurSel() const
{
    return static_cast<int>(SendMessage(LB_GETCURSEL));
}

int CListBox::SetCurSel(int index) const
{
    return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index)));
}

std::wstring CListBox::GetText(int index) const
{
    LRESULT length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    LRESULT copied = SendMessage(LB_GETTEXT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == LB_ERR)
        return {};
    return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

bool CSliderCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(TRACKBAR_CLASSW, nullptr, style, rect, parent, id);
}

void CSliderCtrl::SetRange(int minimum, int maximum, bool redraw) const
{
    SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
    SendMessage(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
}

int CSliderCtrl::GetRangeMax() const
{
    return static_cast<int>(SendMessage(TBM_GETRANGEMAX));
}

void CSliderCtrl::SetPos(int position) const
{
    SendMessage(TBM_SETPOS, TRUE, position);
}

int CSliderCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(TBM_GETPOS));
}

bool CToolTipCtrl::Create(HWND parent, DWORD style)
{
    const RECT none{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (!CreateControl(TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, none, parent, 0,
                       WS_EX_TOPMOST))
        return false;
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool CToolTipCtrl::AddTool(HWND tool, const std::wstring& text) const
{
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::Activate(bool active) const
{
    SendMessage(TTM_ACTIVATE, active ? TRUE : FALSE);
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}
