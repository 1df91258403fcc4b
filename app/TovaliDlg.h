#pragma once
#include <windows.h>

#include <string>

#include "framework/Dialog.h"
#include "skin/InitDefs.h"

// The main player window, built from its definition record on template 102.
class CTovaliDlg : public CDialog {
public:
    explicit CTovaliDlg(const QmDialogInitDef& record);

    // Set by start-up: closing ends the modal loop instead of destroying the window.
    bool m_bModal = false;

    bool PreTranslateMessage(MSG& msg) override;
    const QmDialogInitDef& GetInitDef() const { return m_initDef; }
    const std::wstring& GetProgramDirectory() const { return m_strProgramDir; }

protected:
    bool OnInitDialog() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    QmDialogInitDef m_initDef;
    HICON m_hIcon = nullptr;
    bool m_bInitialized = false;
    std::wstring m_strProgramDir;
};
