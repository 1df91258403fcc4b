#pragma once
#include <windows.h>

#include "framework/Wnd.h"

// The first top-level window of this thread whose object is a T, or null.
template <class T>
T* FindThreadWindowObject()
{
    T* found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            if (auto* object = dynamic_cast<T*>(CWnd::FromHandle(hwnd))) {
                *reinterpret_cast<T**>(out) = object;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
