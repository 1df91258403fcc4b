#pragma once
#include <windows.h>

// What a layout cell can hold. The cell owns its attachments: it deletes them
// through CellObject's virtual destructor, except an embedded CellDialog, which
// only gets its skin objects released. The toolkit implements these interfaces;
// the layout engine recognises each kind by a run-time cast.
class CellObject {
public:
    virtual ~CellObject() = default;
};

// A real window. Its rectangle is read in screen coordinates and moved in the
// client coordinates of its parent, like any child window.
class CellWindow : public CellObject {
public:
    virtual HWND GetCellHwnd() const = 0;
};

// A skinned dialog placed as a control inside another dialog's cell.
class CellDialog : public CellWindow {
public:
    // Switches the dialog to embedded behaviour when it is attached to a cell.
    virtual void SetEmbedded() = 0;
    // Called by the owning cell instead of deleting the dialog.
    virtual void ReleaseSkinObjects() = 0;
};

// A windowless element: a rectangle in its dialog's client coordinates, drawn
// by the cell tree into the dialog's back buffer.
class QmSimulateWnd : public CellObject {
public:
    virtual void GetWindowRect(RECT* rect) const = 0;
    virtual void MoveWindow(const RECT& rect, BOOL repaint = TRUE) = 0;
    virtual HWND GetParent() const = 0;
    virtual BOOL IsWindowVisible() const = 0;
    virtual void ShowWindow(int showCommand) = 0;
    virtual void Invalidate(BOOL erase = TRUE) = 0;
};

// The windowless element that can be attached to a cell and painted by it.
class CellPicture : public QmSimulateWnd {
public:
    virtual bool HasImage() const = 0;
    // Draws the whole image stretched over `rect`, honouring transparency.
    virtual void DrawImage(HDC dc, const RECT& rect) const = 0;
};
