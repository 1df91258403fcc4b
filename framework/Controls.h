#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Wnd.h"

// Thin wrappers over the standard controls; each is created subclassed, so
// that a derived class can handle its messages and the notifications its
// parent reflects to it.
class CButton : public CWnd {
public:
    bool Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check) const;
    UINT GetState() const;
    void SetState(bool highlight) const;
};

class CStatic : public CWnd {
public:
    bool Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id);
};

class CListBox : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0);
    int AddString(const std::wstring& text) const;
    void ResetContent() const;
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index) const;
    std::wstring GetText(int index) const;
};

// The trackbar.
class CSliderCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    void SetRange(int minimum, int maximum, bool redraw = false) const;
    int GetRangeMax() const;
    void SetPos(int position) const;
    int GetPos() const;
};

class CToolTipCtrl : public CWnd {
public:
    bool Create(HWND parent, DWORD style = TTS_ALWAYSTIP);
    // Adds a tool for a whole child window; the tooltip subclasses it to see the mouse.
    bool AddTool(HWND tool, const std::wstring& text) const;
    void Activate(bool active) const;
    int GetToolCount() const;
};
