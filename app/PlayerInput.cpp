#include "app/PlayerInput.h"

bool IsEscOrEnterKey(const MSG& msg)
{
    const BYTE key = static_cast<BYTE>(msg.wParam & 0xFF);
    return msg.message == WM_KEYDOWN && (key == VK_ESCAPE || key == VK_RETURN);
}

bool SetHandCursorOver(WPARAM cursorWindow, std::initializer_list<int> ids)
{
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(cursorWindow));
    for (int wanted : ids) {
        if (id == wanted) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return true;
        }
    }
    return false;
}
