#include "layout/CellElement.h"

#include "framework/ErrorBox.h"
#include "framework/Wnd.h"
#include "layout/QmSimulateWnd.h"
#include "layout/Saturate.h"

namespace {

void ReportConversionError()
{
    ShowErrorBox(L"Error in SimulateWnd conversion.");
}

} // namespace

bool GetElementRect(const CObject* object, RECT& rect)
{
    if (auto* element = dynamic_cast<const QmSimulateWnd*>(object)) {
        element->GetWindowRect(&rect);
        return true;
    }
    if (auto* window = dynamic_cast<const CWnd*>(object))
        return ::GetWindowRect(window->GetHwnd(), &rect) != FALSE;
    ReportConversionError();
    return false;
}

void MoveElement(CObject* object, const RECT& rect)
{
    if (auto* element = dynamic_cast<QmSimulateWnd*>(object)) {
        element->MoveWindow(rect, TRUE);
    } else if (auto* window = dynamic_cast<CWnd*>(object)) {
        const int width = SaturateToInt32(int64_t{rect.right} - rect.left);
        const int height = SaturateToInt32(int64_t{rect.bottom} - rect.top);
        ::MoveWindow(window->GetHwnd(), rect.left, rect.top, width, height, TRUE);
    } else {
        ReportConversionError();
    }
}

bool IsElementVisible(const CObject* object)
{
    if (auto* element = dynamic_cast<const QmSimulateWnd*>(object))
        return element->IsWindowVisible() != FALSE;
    if (auto* window = dynamic_cast<const CWnd*>(object))
        return window->IsWindowVisible();
    ReportConversionError();
    return false;
}
