#pragma once
#include <windows.h>

#include "layout/CellObject.h"

// Treat windows and windowless elements alike. An object of any other kind
// shows "Error in SimulateWnd conversion." and gets no rectangle, no move and
// counts as hidden.

// Windows give screen coordinates, windowless elements their dialog's client coordinates.
bool GetElementRect(const CellObject* object, RECT& rect);
// Moves to `rect` in the client coordinates of the parent, repainting.
void MoveElement(CellObject* object, const RECT& rect);
bool IsElementVisible(const CellObject* object);
