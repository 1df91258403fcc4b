#pragma once
#include <windows.h>

#include "layout/CellObject.h"

// A plain child window (list box, trackbar, any control made with
// CreateWindowEx) handed to a cell; destroyed with the cell.
class CellChildWindow : public CellWindow {
public:
    explicit CellChildWindow(HWND hwnd) : m_hWnd(hwnd) {}
    ~CellChildWindow() override;
    CellChildWindow(const CellChildWindow&) = delete;
    CellChildWindow& operator=(const CellChildWindow&) = delete;

    HWND GetCellHwnd() const override { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};
