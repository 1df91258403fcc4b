#include "layout/CellChildWindow.h"

CellChildWindow::~CellChildWindow()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}
