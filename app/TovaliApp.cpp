#include "app/TovaliApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/ShockwaveFlash.h"
#include "app/StartupRecord.h"
#include "app/TovaliDlg.h"
#include "skin/InitDefs.h"

bool CTovaliApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = 8;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    CWinAppEx::InitInstance();
    // Control containment: the movie control's window class must exist before
    // the player window creates its control.
    CShockwaveFlash::RegisterWindowClass();
    SetRegistryKey(L"qumo");

    QmDialogInitDef record;
    ReadInitDef(record, L"IDD_TOVALI_DIALOG");
    PrepareMainWindowRecord(record, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    {
        CTovaliDlg dialog(record);
        m_pMainWnd = &dialog;
        dialog.m_bModal = true;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    return false;
}
