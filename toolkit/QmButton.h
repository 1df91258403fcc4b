#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "skin/InitDefs.h"
#include "toolkit/PictureSet.h"

class QmDialog;

// The skin's picture button: owner-drawn from picture sets, one per meaning
// of the button, choosing base, active, press or disable by the mouse, the
// checked flag and the enabled state. Clicks reach the parent as BN_CLICKED.
class QmButton : public CButton {
public:
    enum Mode { kPush = 0, kLatch = 1, kToggle = 2 };

    QmButton() = default;
    ~QmButton() override;

    void InitFromDef(QmDialog* parent, const QmMultiStateButtonInitDef& def);
    bool CreateButton(DWORD style, HWND parent, const std::wstring& text, UINT id, int mode);
    bool QmCreate(const QmMultiStateButtonInitDef& def, QmDialog* parent, UINT id, int mode,
                  DWORD style);

    int GetImageWidth() const;
    int GetImageHeight() const;
    void SetState(unsigned set);
    void SetChecked(bool checked);
    void DrawBitmap(const CImage* image, const RECT* dest, HDC dc) const;
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    unsigned GetState() const { return m_nState; }
    bool IsChecked() const { return m_bChecked; }
    bool IsHover() const { return m_bHover; }
    int GetMode() const { return m_nMode; }
    size_t GetSetCount() const { return m_sets.size(); }
    const QmMultiStateButtonInitDef& GetDef() const { return m_def; }

    // The look a button shows for its flags and the owner-draw item state.
    static ButtonLook ChooseDrawState(bool hover, bool checked, UINT itemState);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMessageReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnMouseMove();
    void OnLButtonUp(LPARAM lParam);
    void DrawFocusCue(HDC dc) const;

    int m_nMode = kPush;
    bool m_bChecked = false;
    bool m_bPressed = false;
    unsigned m_nState = 0;
    QmDialog* m_pParentDlg = nullptr;
    QmMultiStateButtonInitDef m_def{1};
    std::vector<PictureSet> m_sets;
    bool m_bFocused = false;
    bool m_bFocusCue = false;
    bool m_bHover = false;
};
