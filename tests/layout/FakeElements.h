#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Wnd.h"
#include "layout/LayoutHost.h"
#include "layout/QmCell.h"
#include "layout/QmSimulateWnd.h"

// A windowless picture that records what the layout engine does to it.
class FakePicture : public CellPicture {
public:
    explicit FakePicture(int width = 0, int height = 0, std::vector<std::wstring>* log = nullptr,
                         std::wstring label = L"")
        : rect{0, 0, width, height}, m_log(log), m_label(std::move(label))
    {
    }
    ~FakePicture() override
    {
        if (m_log)
            m_log->push_back(L"delete " + m_label);
    }

    void GetWindowRect(RECT* out) const override { *out = rect; }
    void MoveWindow(const RECT& to, BOOL) override
    {
        rect = to;
        ++moves;
    }
    HWND GetParent() const override { return nullptr; }
    BOOL IsWindowVisible() const override { return visible; }
    void ShowWindow(int command) override { visible = command != SW_HIDE; }
    void Invalidate(BOOL) override {}
    bool HasImage() const override { return hasImage; }
    void DrawImage(HDC dc, const RECT& where) const override
    {
        drawnAt.push_back(where);
        stretchModeWhenDrawn = ::GetStretchBltMode(dc);
        if (m_log)
            m_log->push_back(L"draw " + m_label);
    }

    RECT rect;
    bool visible = true;
    bool hasImage = false;
    int moves = 0;
    mutable std::vector<RECT> drawnAt;
    mutable int stretchModeWhenDrawn = 0;

private:
    std::vector<std::wstring>* m_log;
    std::wstring m_label;
};

// A windowless element that is not a picture.
class BareElement : public QmSimulateWnd {
public:
    void GetWindowRect(RECT* out) const override { *out = rect; }
    void MoveWindow(const RECT& to, BOOL) override { rect = to; }
    HWND GetParent() const override { return nullptr; }
    BOOL IsWindowVisible() const override { return FALSE; }
    void ShowWindow(int) override {}
    void Invalidate(BOOL) override {}

    RECT rect{1, 2, 3, 4};
};

// Neither a window nor a windowless element.
class NotAnElement : public CObject {};

// A skinned dialog embedded in a cell: released by the cell, never deleted by it.
class FakeDialog : public CWnd, public CellDialog {
public:
    explicit FakeDialog(std::vector<std::wstring>* log) : m_log(log) {}
    ~FakeDialog() override { m_log->push_back(L"delete dialog"); }
    void SetEmbedded() override { embedded = true; }
    void ReleaseSkinObjects() override { m_log->push_back(L"release dialog"); }

    bool embedded = false;

private:
    std::vector<std::wstring>* m_log;
};

// The plain host of a cell tree: a client rectangle and a root cell.
class TestHost : public LayoutHost {
public:
    explicit TestHost(RECT client = {0, 0, 0, 0}) : client(client) {}

    bool SetRootLayout(const std::wstring& layout)
    {
        root = std::make_unique<QmCell>(this);
        return root->Split(layout);
    }
    QmCell* GetLayoutCell()
    {
        if (!root)
            SetRootLayout(L"row(*)");
        return root->GetChildCount() ? root->GetChild(0) : nullptr;
    }
    void SetRedrawBack() override { calls.push_back(L"redraw back"); }
    void Relayout() override
    {
        calls.push_back(L"relayout");
        if (!root)
            return;
        root->Layout(client);
        root->PlaceControls(client);
    }
    void InvalidateAll() override { calls.push_back(L"invalidate"); }

    RECT client;
    std::unique_ptr<QmCell> root;
    std::vector<std::wstring> calls;
};
