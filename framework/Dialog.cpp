#include "framework/Dialog.h"

#include <utility>

INT_PTR CDialog::DoModal(HWND parent)
{
    if (!Create(parent))
        return -1;
    const bool disableParent = parent != nullptr && ::IsWindowEnabled(parent);
    if (disableParent)
        ::EnableWindow(parent, FALSE);
    // A modal dialog is shown even when its template is not visible, as the system's own are.
    if (IsWindow() && !IsWindowVisible())
        ShowWindow(SW_SHOW);
    RunModalLoop();
    if (disableParent)
        ::EnableWindow(parent, TRUE);
    if (parent != nullptr)
        ::SetActiveWindow(parent);
    DestroyWindow();
    return m_result;
}

bool CDialog::Create(HWND parent)
{
    if (GetHwnd() != nullptr)
        return false;
    m_result = -1;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                   parent, &CDialog::StaticDialogProc,
                                   reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr && GetHwnd() == hwnd;
}

void CDialog::RunModalLoop()
{
    m_inModalLoop = true;
    m_endModal = false;
    MSG msg;
    while (!m_endModal && IsWindow()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (PreTranslateDialogMessage(msg))
            continue;
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root != nullptr && IsDialogMessageW(root, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    m_inModalLoop = false;
}

void CDialog::EndDialog(INT_PTR result)
{
    m_result = result;
    if (m_inModalLoop) {
        m_endModal = true;
        PostMessage(WM_NULL);
    } else {
        DestroyWindow();
    }
}

bool PreTranslateDialogMessage(MSG& msg)
{
    for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
        auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(hwnd));
        if (dialog != nullptr)
            return dialog->PreTranslateMessage(msg);
        if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return false;
}

LRESULT CDialog::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDOK && !OnCommand(wParam, lParam)) {
                OnOK();
                return 0;
            }
            if (LOWORD(wParam) == IDCANCEL && !OnCommand(wParam, lParam)) {
                OnCancel();
                return 0;
            }
        }
        break;
    default:
        break;
    }
    return CWnd::WndProc(msg, wParam, lParam);
}

LRESULT CDialog::FinalWindowProc(UINT, WPARAM, LPARAM)
{
    m_defaultProcessing = true;
    return 0;
}

bool CDialog::ReturnsResultDirectly(UINT msg)
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = static_cast<CDialog*>(FromHandle(hwnd));
    if (dialog == nullptr && msg == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Bind(hwnd, Kind::Dialog);
    }
    if (dialog == nullptr)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        // The object may delete itself in PostNcDestroy: touch nothing after.
        Dispatch(dialog, msg, wParam, lParam);
        return FALSE;
    }
    const bool outer = std::exchange(dialog->m_defaultProcessing, false);
    LRESULT result = Dispatch(dialog, msg, wParam, lParam);
    const bool unhandled = std::exchange(dialog->m_defaultProcessing, outer);
    if (unhandled)
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return result;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
