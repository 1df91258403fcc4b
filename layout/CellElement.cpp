#include "layout/CellElement.h"

#include "framework/ErrorBox.h"
#include "layout/Saturate.h"

namespace {

void ReportConversionError()
{
    ShowErrorBox(L"Error in SimulateWnd conversion.");
}

} // namespace

bool GetElementRect(const CellObject* object, RECT& rect)
{
    if (auto* window = dynamic_cast<const CellWindow*>(object))
        return ::GetWindowRect(window->GetCellHwnd(), &rect) != FALSE;
    if (auto* element = dynamic_cast<const QmSimulateWnd*>(object)) {
        element->GetWindowRect(&rect);
        return true;
    }
    ReportConversionError();
    return false;
}

void MoveElement(CellObject* object, const RECT& rect)
{
    if (auto* window = dynamic_cast<CellWindow*>(object)) {
        const int width = SaturateToInt32(int64_t{rect.right} - rect.left);
        const int height = SaturateToInt32(int64_t{rect.bottom} - rect.top);
        ::MoveWindow(window->GetCellHwnd(), rect.left, rect.top, width, height, TRUE);
    } else if (auto* element = dynamic_cast<QmSimulateWnd*>(object)) {
        element->MoveWindow(rect, TRUE);
    } else {
        ReportConversionError();
    }
}

bool IsElementVisible(const CellObject* object)
{
    if (auto* window = dynamic_cast<const CellWindow*>(object))
        return ::IsWindowVisible(window->GetCellHwnd()) != FALSE;
    if (auto* element = dynamic_cast<const QmSimulateWnd*>(object))
        return element->IsWindowVisible() != FALSE;
    ReportConversionError();
    return false;
}
