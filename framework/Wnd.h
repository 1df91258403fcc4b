#pragma once
#include <windows.h>

#include <string>

#include "framework/Object.h"

// A window object that owns its HWND. One static procedure finds the object
// for a handle and calls its virtual WndProc; a class handles the messages it
// cares about in its own WndProc (a switch) and passes everything else to its
// base class, which ends in the default processing of the window kind:
// DefWindowProc for windows of our own classes, the original procedure for
// subclassed standard controls, the dialog manager for dialogs.
//
// Notifications that a parent receives from a child (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL) are first
// offered to the parent's hooks and then reflected to the child object.
class CWnd : public CObject {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The class name used by CreateEx when none is given.
    static const wchar_t* DefaultClassName();
    // Registers a window class whose procedure is ours; true if it exists afterwards.
    static bool RegisterWindowClass(const wchar_t* className, UINT style = CS_DBLCLKS,
                                    HCURSOR cursor = nullptr, HBRUSH background = nullptr);
    static CWnd* FromHandle(HWND hwnd);

    // A window of one of our own classes (DefaultClassName when className is null).
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    // A standard control (button, static, list box, trackbar ...), subclassed.
    bool CreateControl(const wchar_t* className, const wchar_t* title, DWORD style,
                       const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0);
    // Subclasses an existing window and binds it to this object.
    bool Attach(HWND hwnd);
    HWND Detach();
    void DestroyWindow();

    HWND GetHwnd() const { return m_hWnd; }
    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    HWND GetParent() const;
    int GetDlgCtrlID() const;
    HWND GetDlgItem(int id) const;
    void MoveWindow(const RECT& rect, bool repaint = true) const;
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const;
    void ShowWindow(int cmdShow) const;
    void EnableWindow(bool enable) const;
    bool IsWindowEnabled() const;
    bool IsWindowVisible() const;
    void Invalidate(bool erase = false) const;
    void InvalidateRect(const RECT* rect, bool erase = false) const;
    void UpdateWindow() const;
    void SetWindowText(const std::wstring& text) const;
    std::wstring GetWindowText() const;
    void SetFont(HFONT font, bool redraw = true) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) const;
    bool KillTimer(UINT_PTR id) const;
    LONG_PTR GetStyle() const;
    LONG_PTR GetExStyle() const;
    void ModifyStyle(LONG_PTR remove, LONG_PTR add) const;
    void ModifyStyleEx(LONG_PTR remove, LONG_PTR add) const;

protected:
    enum class Kind { None, OwnClass, Subclassed, Dialog };

    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing a message gets when no class handled it.
    virtual LRESULT FinalWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // WM_CREATE of our own windows; -1 cancels the creation.
    virtual int OnCreate(CREATESTRUCTW& cs) { return 0; }
    // WM_PAINT of our own windows and dialogs, between BeginPaint and EndPaint.
    virtual void OnDraw(HDC dc) {}
    // A command from a child control or a menu; true when handled.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam) { return false; }
    // A WM_NOTIFY from a child; true when handled, with the message's result.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) { return false; }
    // A notification the parent reflected to this child; true when handled.
    virtual bool OnMessageReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        return false;
    }
    virtual void OnDestroy() {}
    // After the window's last message, once the object is unbound from it; an
    // object that owns itself may delete itself here.
    virtual void PostNcDestroy() {}

    void Bind(HWND hwnd, Kind kind);

    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR refData);
    // Runs WndProc and unbinds the object after the last message of its window.
    static LRESULT Dispatch(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static HWND NotifyingChild(UINT msg, WPARAM wParam, LPARAM lParam);
    void Unbind();
    LRESULT Paint();

    HWND m_hWnd = nullptr;
    Kind m_kind = Kind::None;
};
