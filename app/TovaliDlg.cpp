#include "app/TovaliDlg.h"

#include "framework/WinApp.h"
#include "resources/resource.h"
#include "skin/Directories.h"

CTovaliDlg::CTovaliDlg(const QmDialogInitDef& record)
    : QmDialog(record, IDD_TOVALI_DIALOG)
{
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!GetModuleDirectory(m_strProgramDir))
        m_strProgramDir.clear();
}

bool CTovaliDlg::OnInitDialog()
{
    QmDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_bInitialized = true;
    return true;
}

bool CTovaliDlg::PreTranslateMessage(MSG& msg)
{
    // Esc and Enter must not close the player.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN))
        return true;
    return QmDialog::PreTranslateMessage(msg);
}

bool CTovaliDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kIdHelp && lParam == 0) {
        if (CWinAppEx* app = CWinAppEx::GetApp())
            app->OnHelp();
        return true;
    }
    return QmDialog::OnCommand(wParam, lParam);
}

LRESULT CTovaliDlg::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    default:
        return QmDialog::WndProc(msg, wParam, lParam);
    }
}
