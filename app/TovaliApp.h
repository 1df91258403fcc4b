#pragma once
#include "framework/WinApp.h"

// The application: reads the main window's definition, runs the player
// window modally and ends the process when it closes.
class CTovaliApp : public CWinAppEx {
public:
    bool InitInstance() override;
};
