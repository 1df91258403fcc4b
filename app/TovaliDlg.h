#pragma once
#include <windows.h>

#include <string>

#include "skin/InitDefs.h"
#include "toolkit/QmDialog.h"

// The main player window: a skinned dialog built from its definition record
// on the empty template 102.
class CTovaliDlg : public QmDialog {
public:
    explicit CTovaliDlg(const QmDialogInitDef& record);

    bool PreTranslateMessage(MSG& msg) override;
    const std::wstring& GetProgramDirectory() const { return m_strProgramDir; }

protected:
    bool OnInitDialog() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    bool m_bInitialized = false;
    std::wstring m_strProgramDir;
};
