#include <windows.h>

#include "framework/WinApp.h"

// The program's entry point: the one application object was constructed
// during static initialisation.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    CWinAppEx* app = CWinAppEx::GetApp();
    return app != nullptr ? app->Run(instance) : 1;
}
