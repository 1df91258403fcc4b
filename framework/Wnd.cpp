#include "framework/Wnd.h"

#include <windows.h>
#include <commctrl.h>

#include <unordered_map>
#include <vector>

namespace {
constexpr UINT_PTR kSubclassId = 0x51A0;

std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

HINSTANCE ModuleInstance()
{
    return GetModuleHandleW(nullptr);
}
}

CWnd::~CWnd()
{
    if (m_hWnd == nullptr)
        return;
    // Messages sent while the window dies must not reach a half-destroyed object.
    HWND hwnd = m_hWnd;
    Unbind();
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
}

const wchar_t* CWnd::DefaultClassName()
{
    return L"TovaliWindow";
}

bool CWnd::RegisterWindowClass(const wchar_t* className, UINT style, HCURSOR cursor,
                               HBRUSH background)
{
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(ModuleInstance(), className, &existing))
        return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = cursor != nullptr ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT id)
{
    if (m_hWnd != nullptr)
        return false;
    if (className == nullptr) {
        className = DefaultClassName();
        RegisterWindowClass(className);
    }
    HMENU menu = (style & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND hwnd = CreateWindowExW(exStyle, className, title != nullptr ? title : L"", style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                menu, ModuleInstance(), this);
    return hwnd != nullptr;
}

bool CWnd::CreateControl(const wchar_t* className, const wchar_t* title, DWORD style,
                         const RECT& rect, HWND parent, UINT id, DWORD exStyle)
{
    if (m_hWnd != nullptr)
        return false;
    HWND hwnd = CreateWindowExW(exStyle, className, title != nullptr ? title : L"", style,
                                rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                ModuleInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    if (!Attach(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

bool CWnd::Attach(HWND hwnd)
{
    if (m_hWnd != nullptr || hwnd == nullptr || FromHandle(hwnd) != nullptr)
        return false;
    if (!SetWindowSubclass(hwnd, &CWnd::StaticSubclassProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    Bind(hwnd, Kind::Subclassed);
    return true;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    Unbind();
    return hwnd;
}

void CWnd::DestroyWindow()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

void CWnd::Bind(HWND hwnd, Kind kind)
{
    m_hWnd = hwnd;
    m_kind = kind;
    HandleMap()[hwnd] = this;
}

void CWnd::Unbind()
{
    if (m_hWnd == nullptr)
        return;
    if (m_kind == Kind::Subclassed)
        RemoveWindowSubclass(m_hWnd, &CWnd::StaticSubclassProc, kSubclassId);
    HandleMap().erase(m_hWnd);
    m_hWnd = nullptr;
    m_kind = Kind::None;
}

LRESULT CWnd::Dispatch(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = wnd->WndProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        wnd->Unbind();
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandle(hwnd);
    if (wnd == nullptr && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        wnd = static_cast<CWnd*>(cs->lpCreateParams);
        if (wnd != nullptr)
            wnd->Bind(hwnd, Kind::OwnClass);
    }
    if (wnd == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return Dispatch(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR refData)
{
    auto* wnd = reinterpret_cast<CWnd*>(refData);
    return Dispatch(wnd, msg, wParam, lParam);
}

HWND CWnd::NotifyingChild(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
        return wParam != 0 ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
        return nullptr;
    }
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = NotifyingChild(msg, wParam, lParam);
    if (child == nullptr || child == m_hWnd)
        return false;
    CWnd* target = FromHandle(child);
    return target != nullptr && target->OnMessageReflect(msg, wParam, lParam, result);
}

LRESULT CWnd::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    OnDraw(dc);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (msg) {
    case WM_CREATE:
        if (m_kind == Kind::OwnClass)
            return OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lParam));
        break;
    case WM_PAINT:
        if (m_kind != Kind::Subclassed)
            return Paint();
        break;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        if (ReflectToChild(msg, wParam, lParam, result))
            return result;
        break;
    case WM_NOTIFY:
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
            return result;
        if (ReflectToChild(msg, wParam, lParam, result))
            return result;
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    default:
        // Owner-draw, scroll and colour requests of a child go to the child object.
        if (ReflectToChild(msg, wParam, lParam, result))
            return result;
        break;
    }
    return FinalWindowProc(msg, wParam, lParam);
}

LRESULT CWnd::FinalWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_kind == Kind::Subclassed)
        return DefSubclassProc(m_hWnd, msg, wParam, lParam);
    return DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

bool CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam) != FALSE;
}

RECT CWnd::GetClientRect() const
{
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT CWnd::GetWindowRect() const
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

HWND CWnd::GetParent() const
{
    return ::GetParent(m_hWnd);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

HWND CWnd::GetDlgItem(int id) const
{
    return ::GetDlgItem(m_hWnd, id);
}

void CWnd::MoveWindow(const RECT& rect, bool repaint) const
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 repaint ? TRUE : FALSE);
}

bool CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const
{
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags) != FALSE;
}

void CWnd::ShowWindow(int cmdShow) const
{
    ::ShowWindow(m_hWnd, cmdShow);
}

void CWnd::EnableWindow(bool enable) const
{
    ::EnableWindow(m_hWnd, enable ? TRUE : FALSE);
}

bool CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd) != FALSE;
}

bool CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd) != FALSE;
}

void CWnd::Invalidate(bool erase) const
{
    ::InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE);
}

void CWnd::InvalidateRect(const RECT* rect, bool erase) const
{
    ::InvalidateRect(m_hWnd, rect, erase ? TRUE : FALSE);
}

void CWnd::UpdateWindow() const
{
    ::UpdateWindow(m_hWnd);
}

void CWnd::SetWindowText(const std::wstring& text) const
{
    ::SetWindowTextW(m_hWnd, text.c_str());
}

std::wstring CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

void CWnd::SetFont(HFONT font, bool redraw) const
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) const
{
    return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
}

bool CWnd::KillTimer(UINT_PTR id) const
{
    return ::KillTimer(m_hWnd, id) != FALSE;
}

LONG_PTR CWnd::GetStyle() const
{
    return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
}

LONG_PTR CWnd::GetExStyle() const
{
    return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
}

void CWnd::ModifyStyle(LONG_PTR remove, LONG_PTR add) const
{
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (GetStyle() & ~remove) | add);
}

void CWnd::ModifyStyleEx(LONG_PTR remove, LONG_PTR add) const
{
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, (GetExStyle() & ~remove) | add);
}
