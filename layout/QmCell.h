#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"
#include "layout/CellPlacement.h"
#include "layout/QmSimulateWnd.h"

class LayoutHost;

// One rectangle of a window, split by a layout string into a row or a column
// of child cells, holding the controls and windowless pictures attached to it.
// A cell owns its children and its attachments: a window (CWnd) or a
// windowless picture (CellPicture). Attachments are deleted with the cell,
// except a skinned dialog (CellDialog), which only gets its skin objects released.
class QmCell {
public:
    // A root cell; `host` is the window laid out, may be null in pure geometry.
    explicit QmCell(LayoutHost* host = nullptr);
    virtual ~QmCell();
    QmCell(const QmCell&) = delete;
    QmCell& operator=(const QmCell&) = delete;

    // Appends one child per entry; on a malformed string nothing changes.
    bool Split(const std::wstring& layout);
    // Depth-first, pre-order search of the descendants; an empty name finds nothing.
    QmCell* FindCell(const std::wstring& name) const;
    // Computes this cell's and every descendant's rectangle from `rect`.
    void Layout(const RECT& rect);
    // Draws the windowless pictures of this cell and its descendants.
    void Paint(HDC dc) const;
    void SwapFirstTwo();

    // Attaches `object` (taking ownership) or, when already attached here,
    // replaces its placement. On failure the caller keeps the object.
    bool AddCellCtrl(CObject* object, const std::wstring& placement);
    // Moves the attachments of this cell, then those of every descendant.
    void PlaceControls(const RECT& rect);
    // Chains the visible, non-filling attachments top to bottom and relayouts the host.
    void RestackControls();

    const RECT& GetRect() const { return m_rect; }
    int32_t GetOrientation() const { return m_nOrientation; }
    const std::wstring& GetName() const { return m_name; }
    size_t GetChildCount() const { return m_children.size(); }
    // Null (or 0) past the end, e.g. when a Split failed.
    QmCell* GetChild(size_t index) const
    {
        return index < m_children.size() ? m_children[index].get() : nullptr;
    }
    double GetSize(size_t index) const { return index < m_sizes.size() ? m_sizes[index] : 0.0; }
    QmCell* GetParent() const { return m_pParent; }
    LayoutHost* GetDialog() const { return m_pDialog; }
    size_t GetControlCount() const { return m_controls.size(); }
    CObject* GetControl(size_t index) const
    {
        return index < m_controls.size() ? m_controls[index].object : nullptr;
    }
    const CellPlacement& GetPlacement(size_t index) const { return *m_controls.at(index).placement; }

private:
    struct Attachment {
        CObject* object = nullptr;
        std::unique_ptr<CellPlacement> placement;
        // The object as a windowless element, looked up once when attached.
        QmSimulateWnd* element = nullptr;
    };

    QmCell(QmCell* parent, std::wstring name);
    void LayoutChild(size_t index, const RECT& rect);
    static void Place(const Attachment& attachment, const RECT& rect);
    CObject* FindAnchor(const std::wstring& name) const;
    void DisposeAttachments();

    RECT m_rect{};
    int32_t m_nOrientation = 0;
    std::wstring m_name;
    std::vector<std::unique_ptr<QmCell>> m_children;
    std::vector<double> m_sizes;
    LayoutHost* m_pDialog = nullptr;
    QmCell* m_pParent = nullptr;
    std::vector<Attachment> m_controls;
};
