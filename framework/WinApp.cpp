#include "framework/WinApp.h"

namespace {
CWinAppEx* g_app = nullptr;
}

CWinAppEx::CWinAppEx()
{
    g_app = this;
}

CWinAppEx::~CWinAppEx()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinAppEx* CWinAppEx::GetApp()
{
    return g_app;
}

int CWinAppEx::Run(HINSTANCE instance)
{
    m_hInstance = instance;
    if (!InitInstance())
        return ExitInstance();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}
