#pragma once
#include "toolkit/QmButton.h"
#include "toolkit/QmDialog.h"

// The declaration dialog: its background picture is the declaration; one OK
// button closes it. Esc and Enter do not.
class CQmDeclareDlg : public QmDialog {
public:
    static constexpr UINT kIdOk = 1030;

    explicit CQmDeclareDlg(const QmDialogInitDef& def);

    bool PreTranslateMessage(MSG& msg) override;
    QmButton* GetOkButton() const { return m_pBtnOk; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CenterOverOwner();

    QmButton* m_pBtnOk = nullptr;
};
