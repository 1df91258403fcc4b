#pragma once
#include <windows.h>

#include "framework/Object.h"

// A windowless element that a cell treats like a window: a rectangle in its
// dialog's client coordinates. The toolkit implements it; the layout engine
// recognises it by a run-time cast.
class QmSimulateWnd : public CObject {
public:
    virtual void GetWindowRect(RECT* rect) const = 0;
    virtual void MoveWindow(const RECT& rect, BOOL repaint = TRUE) = 0;
    virtual HWND GetParent() const = 0;
    virtual BOOL IsWindowVisible() const = 0;
    virtual void ShowWindow(int showCommand) = 0;
    virtual void Invalidate(BOOL erase = TRUE) = 0;
};

// The windowless element that can be attached to a cell and is drawn by the
// cell tree into its dialog's back buffer.
class CellPicture : public QmSimulateWnd {
public:
    virtual bool HasImage() const = 0;
    // Draws the whole image stretched over `rect`, honouring transparency.
    virtual void DrawImage(HDC dc, const RECT& rect) const = 0;
};
