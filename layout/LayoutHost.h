#pragma once
#include <windows.h>

// Sent to a host window with lParam pointing to one of its cells: the cell
// restacks its controls (QmCell::RestackControls). wParam is ignored.
constexpr UINT WM_QM_RESTACK = WM_USER + 201;

// The skinned dialog as the window whose client area a cell tree lays out.
// A cell only needs it to have itself laid out and repainted again.
class LayoutHost {
public:
    // Marks the back buffer (background and windowless pictures) for rebuilding.
    virtual void SetRedrawBack() = 0;
    // Lays the root cell out over the client rectangle and places every control.
    virtual void Relayout() = 0;
    // Invalidates the whole client area with erasing.
    virtual void InvalidateAll() = 0;

protected:
    ~LayoutHost() = default;
};

// The skinned dialog as a control placed in another dialog's cell. It owns
// itself, so the cell releases its skin objects instead of deleting it.
class CellDialog {
public:
    // Switches the dialog to embedded behaviour when it is attached to a cell.
    virtual void SetEmbedded() = 0;
    virtual void ReleaseSkinObjects() = 0;

protected:
    ~CellDialog() = default;
};
