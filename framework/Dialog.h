#pragma once
#include "framework/Wnd.h"

// A dialog from a template resource of the program, modal or modeless.
// The modal loop is our own, so that PreTranslateMessage sees every message
// before the dialog manager does.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog modelessly; false when it could not be created.
    bool Create(HWND parent = nullptr);
    // Ends the modal loop with result, or destroys a modeless dialog.
    void EndDialog(INT_PTR result);

    // Called with each message of the modal loop whose window lies in this
    // dialog; true swallows the message.
    virtual bool PreTranslateMessage(MSG& msg) { return false; }

protected:
    // WM_INITDIALOG; true lets the dialog manager set the default focus.
    virtual bool OnInitDialog() { return true; }
    // IDOK and IDCANCEL from the dialog manager (Enter, Esc, buttons with those ids).
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT FinalWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static bool ReturnsResultDirectly(UINT msg);
    void RunModalLoop();

    UINT m_templateId;
    bool m_inModalLoop = false;
    bool m_endModal = false;
    INT_PTR m_result = -1;
    // Set while a message falls through to the dialog manager's default handling.
    bool m_defaultProcessing = false;
};

// Gives a message of a modal loop to the dialog that owns its window; true when swallowed.
bool PreTranslateDialogMessage(MSG& msg);
