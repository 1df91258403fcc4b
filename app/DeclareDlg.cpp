#include "app/DeclareDlg.h"

#include <memory>

#include "app/PlayerInput.h"
#include "resources/resource.h"
#include "skin/InitDefs.h"

CQmDeclareDlg::CQmDeclareDlg(const QmDialogInitDef& def) : QmDialog(def, IDD_QMDECLARE_DIALOG) {}

bool CQmDeclareDlg::PreTranslateMessage(MSG& msg)
{
    if (IsEscOrEnterKey(msg))
        return true;
    return QmDialog::PreTranslateMessage(msg);
}

bool CQmDeclareDlg::OnInitDialog()
{
    auto button = std::make_unique<QmButton>();
    QmMultiStateButtonInitDef def;
    ReadInitDef(def, L"QM_BTN_OK");
    button->QmCreate(def, this, kIdOk, QmButton::kPush, 0);
    button->ShowWindow(SW_SHOW);
    QmButton* raw = button.get();
    if (QmCell* cell = GetLayoutCell();
        cell != nullptr && cell->AddCellCtrl(raw, L"inside=true, fill=false, pos=atTop, my=260")) {
        button.release();
        m_pBtnOk = raw;
    }
    QmDialog::OnInitDialog();
    CenterOverOwner();
    return true;
}

void CQmDeclareDlg::CenterOverOwner()
{
    HWND owner = GetWindow(GetHwnd(), GW_OWNER);
    RECT area{};
    if (owner != nullptr)
        ::GetWindowRect(owner, &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const RECT self = GetWindowRect();
    const int w = self.right - self.left;
    const int h = self.bottom - self.top;
    const int x = area.left + (area.right - area.left - w) / 2;
    const int y = area.top + (area.bottom - area.top - h) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CQmDeclareDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kIdOk) {
        EndDialog(IDOK);
        return true;
    }
    return QmDialog::OnCommand(wParam, lParam);
}

LRESULT CQmDeclareDlg::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETCURSOR && SetHandCursorOver(wParam, {static_cast<int>(kIdOk)}))
        return TRUE;
    return QmDialog::WndProc(msg, wParam, lParam);
}
