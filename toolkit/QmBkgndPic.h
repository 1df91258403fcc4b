#pragma once
#include <windows.h>

#include "framework/Image.h"
#include "layout/QmSimulateWnd.h"
#include "skin/InitDefs.h"

class CWnd;
class QmDialog;

// A picture without a window of its own: a rectangle in its dialog's client
// area, drawn into the dialog's back buffer by the cell tree. It is always shown.
class QmBkgndPic : public CellPicture {
public:
    QmBkgndPic() = default;
    ~QmBkgndPic() override;
    QmBkgndPic(const QmBkgndPic&) = delete;
    QmBkgndPic& operator=(const QmBkgndPic&) = delete;

    bool QmCreate(const QmStaticInitDef& def, CWnd* parent);

    void GetWindowRect(RECT* rect) const override;
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE) override;
    HWND GetParent() const override;
    BOOL IsWindowVisible() const override { return TRUE; }
    void ShowWindow(int) override {}
    void Invalidate(BOOL erase = TRUE) override;

    bool HasImage() const override { return m_pImage != nullptr; }
    void DrawImage(HDC dc, const RECT& rect) const override;

    const CImage* GetImage() const { return m_pImage; }
    QmDialog* GetParentDialog() const { return m_pParent; }

private:
    CImage* m_pImage = nullptr;
    RECT m_rect{};
    QmDialog* m_pParent = nullptr;
};
