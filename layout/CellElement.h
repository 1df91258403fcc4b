#pragma once
#include <windows.h>

#include "framework/Object.h"

// Treat windows (CWnd) and windowless elements (QmSimulateWnd) alike. An
// object of any other kind shows "Error in SimulateWnd conversion." and gets
// no rectangle, no move and counts as hidden.

// Windows give screen coordinates, windowless elements their dialog's client coordinates.
bool GetElementRect(const CObject* object, RECT& rect);
// Moves to `rect` in the client coordinates of the parent, repainting.
void MoveElement(CObject* object, const RECT& rect);
bool IsElementVisible(const CObject* object);
