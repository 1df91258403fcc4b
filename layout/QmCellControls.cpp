#include <algorithm>

#include "framework/ErrorBox.h"
#include "framework/Wnd.h"
#include "layout/CellElement.h"
#include "layout/LayoutHost.h"
#include "layout/QmCell.h"

bool QmCell::AddCellCtrl(CObject* object, const std::wstring& placementText)
{
    if (!dynamic_cast<CellPicture*>(object) && !dynamic_cast<CWnd*>(object)) {
        ShowErrorBox(L"Error in QmCell::AddCellCtrl: 控件不是CWnd或QmBkgndPic.");
        return false;
    }
    auto placement = std::make_unique<CellPlacement>();
    const AnchorLookup findAnchor = [this](const std::wstring& name) { return FindAnchor(name); };
    if (!ReadPlacement(placementText, findAnchor, *placement)) {
        ShowErrorBox(L"Error in QmCell::AddCellCtrl: 布局参数字符串分析错误.");
        return false;
    }
    if (auto* dialog = dynamic_cast<CellDialog*>(object))
        dialog->SetEmbedded();
    const auto attached = std::find_if(m_controls.begin(), m_controls.end(),
                                       [object](const Attachment& a) { return a.object == object; });
    if (attached != m_controls.end())
        attached->placement = std::move(placement);
    else
        m_controls.push_back({object, std::move(placement), dynamic_cast<QmSimulateWnd*>(object)});
    return true;
}

CObject* QmCell::FindAnchor(const std::wstring& name) const
{
    for (const Attachment& attachment : m_controls) {
        if (attachment.placement->name == name)
            return attachment.object;
    }
    return nullptr;
}

// In attachment order, so an anchor has moved before its dependents read it.
void QmCell::PlaceControls(const RECT& rect)
{
    for (const Attachment& attachment : m_controls)
        Place(attachment, rect);
    for (const auto& child : m_children)
        child->PlaceControls(child->m_rect);
}

// Windowless elements skip the adapters' run-time casts: relayout is a hot path.
void QmCell::Place(const Attachment& attachment, const RECT& rect)
{
    RECT control{};
    if (attachment.element) {
        attachment.element->GetWindowRect(&control);
        if (ComputePlacement(rect, *attachment.placement, control))
            attachment.element->MoveWindow(control, TRUE);
        return;
    }
    if (GetElementRect(attachment.object, control)
        && ComputePlacement(rect, *attachment.placement, control))
        MoveElement(attachment.object, control);
}

void QmCell::RestackControls()
{
    CObject* previous = nullptr;
    for (Attachment& attachment : m_controls) {
        CellPlacement& placement = *attachment.placement;
        if (placement.fill || !IsElementVisible(attachment.object))
            continue;
        placement.anchor = previous;
        placement.pos = previous ? atBottom : atTop;
        placement.inside = previous == nullptr;
        previous = attachment.object;
    }
    if (!m_pDialog)
        return;
    m_pDialog->SetRedrawBack();
    m_pDialog->Relayout();
    m_pDialog->InvalidateAll();
}

// A skinned dialog is released, not deleted: it owns itself.
void QmCell::DisposeAttachments()
{
    for (Attachment& attachment : m_controls) {
        if (auto* dialog = dynamic_cast<CellDialog*>(attachment.object))
            dialog->ReleaseSkinObjects();
        else
            delete attachment.object;
        attachment.object = nullptr;
    }
    m_controls.clear();
}
