#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "layout/LayoutHost.h"
#include "layout/QmCell.h"
#include "skin/InitDefs.h"
#include "toolkit/DlgImages.h"
#include "toolkit/QmButton.h"

// The base of every skinned top-level window: a dialog from an empty template
// whose look comes from its definition record. It paints its background and
// the windowless pictures of its layout tree through a back buffer, can be
// colour-keyed, is dragged by a caption strip and resized at its borders by
// answering the hit test, carries up to three frame buttons, and lays out its
// cell tree on every size change. Put into another dialog's cell it becomes
// embedded and leaves hit testing to the system.
class QmDialog : public CDialog, public LayoutHost, public CellDialog {
public:
    static constexpr UINT kIdClose = 2000;
    static constexpr UINT kIdMaximize = 2001;
    static constexpr UINT kIdMinimize = 2002;

    QmDialog(const QmDialogInitDef& def, UINT templateId);
    ~QmDialog() override;

    INT_PTR DoModal(HWND parent = nullptr);
    bool PreTranslateMessage(MSG& msg) override;

    QmCell* GetLayoutCell();
    bool SetRootLayout(const std::wstring& layout);
    void Relayout() override;
    void RepositionFrameButtons();

    void SetRedrawBack() override { m_bRedrawBack = true; }
    void InvalidateAll() override { Invalidate(true); }
    void SetEmbedded() override { m_bEmbedded = true; }
    void ReleaseSkinObjects() override;

    // The hit-test code for a point in screen coordinates.
    LRESULT HitTest(POINT screenPoint) const;

    bool m_bModal = false;
    HICON m_hIcon = nullptr;

    bool IsEmbedded() const { return m_bEmbedded; }
    bool NeedsBackRedraw() const { return m_bRedrawBack; }
    const QmDialogInitDef* GetInitDef() const { return m_pInitDef.get(); }
    QmCell* GetRootCell() const { return m_pRootCell.get(); }
    QmButton* GetCloseButton() const { return m_pBtnClose.get(); }
    QmButton* GetMaxButton() const { return m_pBtnMax.get(); }
    QmButton* GetMinButton() const { return m_pBtnMin.get(); }
    const QmDlgImages& GetImages() const { return m_images; }
    const CToolTipCtrl& GetToolTip() const { return m_tooltip; }

protected:
    bool OnInitDialog() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(HDC dc) override;
    void PostNcDestroy() override;
    // Called when the dialog's skin goes away (close command and after destruction).
    virtual void OnDestroyDialog() {}

private:
    bool GetInitSize(SIZE& size) const;
    void CreateFrameButtons(SIZE size);
    std::unique_ptr<QmButton> CreateFrameButton(const std::vector<QmOneStateBmp>& sets, int& x,
                                                bool isClose, UINT id, const wchar_t* tip);
    void ApplyWindowStyles();
    void EraseBackground(HDC dc) const;
    void RebuildBackBuffer(HDC paintDc, int width, int height);
    void ReleaseBackBuffer();
    void OnSize(WPARAM type);
    void OnClose();
    void OnMaximizeCommand();
    void OnRestack(LPARAM lParam);

    bool m_bEmbedded = false;
    bool m_bRedrawBack = true;
    std::unique_ptr<QmDialogInitDef> m_pInitDef;
    QmDlgImages m_images;
    std::unique_ptr<QmButton> m_pBtnClose;
    std::unique_ptr<QmButton> m_pBtnMax;
    std::unique_ptr<QmButton> m_pBtnMin;
    std::unique_ptr<CMemDC> m_pMemDC;
    CBitmap m_bmpBack;
    HGDIOBJ m_pOldBitmap = nullptr;
    std::unique_ptr<QmCell> m_pRootCell;
    CToolTipCtrl m_tooltip;
};
