#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Wnd.h"

namespace {
using Log = std::vector<std::wstring>;

// A window of our own class that records the hooks it receives.
class RecordingWindow : public CWnd {
public:
    explicit RecordingWindow(Log& log, bool handleCommands = false)
        : m_log(log), m_handleCommands(handleCommands) {}

protected:
    int OnCreate(CREATESTRUCTW&) override
    {
        m_log.push_back(L"parent OnCreate");
        return 0;
    }
    void OnDraw(HDC) override { m_log.push_back(L"parent OnDraw"); }
    bool OnCommand(WPARAM wParam, LPARAM) override
    {
        m_log.push_back(L"parent OnCommand " + std::to_wstring(LOWORD(wParam)));
        return m_handleCommands;
    }
    void OnDestroy() override { m_log.push_back(L"parent OnDestroy"); }

private:
    Log& m_log;
    bool m_handleCommands;
};

// A subclassed button that records what its parent reflects to it.
class RecordingButton : public CButton {
public:
    explicit RecordingButton(Log& log) : m_log(log) {}

protected:
    bool OnMessageReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (msg == WM_COMMAND)
            m_log.push_back(L"child reflected WM_COMMAND " + std::to_wstring(HIWORD(wParam)));
        else if (msg == WM_DRAWITEM)
            m_log.push_back(L"child reflected WM_DRAWITEM");
        else
            return false;
        result = TRUE;
        return true;
    }

private:
    Log& m_log;
};

const RECT kParentRect{0, 0, 200, 100};
const RECT kChildRect{10, 10, 90, 40};
}

TEST(Wnd, HookSequencesWithReflection)
{
    struct Case {
        const char* name;
        bool parentHandles;
        DWORD buttonStyle;
        Log expected;
    };
    const std::vector<Case> cases = {
        {"command offered to parent, then reflected", false, BS_PUSHBUTTON,
         {L"parent OnCreate", L"parent OnCommand 7", L"child reflected WM_COMMAND 0",
          L"parent OnDestroy"}},
        {"parent keeps a command it handled", true, BS_PUSHBUTTON,
         {L"parent OnCreate", L"parent OnCommand 7", L"parent OnDestroy"}},
        {"owner draw goes to the child", true, BS_OWNERDRAW,
         {L"parent OnCreate", L"child reflected WM_DRAWITEM", L"parent OnDestroy"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Log log;
        RecordingWindow parent(log, c.parentHandles);
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, kParentRect, nullptr, 0));
        RecordingButton button(log);
        ASSERT_TRUE(button.Create(L"b", WS_CHILD | WS_VISIBLE | c.buttonStyle, kChildRect,
                                  parent.GetHwnd(), 7));
        if (c.buttonStyle == BS_OWNERDRAW) {
            parent.ShowWindow(SW_SHOWNA);
            button.UpdateWindow();
            parent.ShowWindow(SW_HIDE);
        } else {
            parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED),
                               reinterpret_cast<LPARAM>(button.GetHwnd()));
        }
        parent.DestroyWindow();
        EXPECT_EQ(log, c.expected);
    }
}

TEST(Wnd, PaintsThroughOnDraw)
{
    Log log;
    RecordingWindow window(log);
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"p", WS_POPUP | WS_VISIBLE, kParentRect, nullptr, 0));
    window.Invalidate();
    window.UpdateWindow();
    EXPECT_NE(std::find(log.begin(), log.end(), L"parent OnDraw"), log.end());
}

TEST(Wnd, ObjectAndWindowLifetimes)
{
    Log log;
    HWND hwnd = nullptr;
    {
        RecordingWindow window(log);
        ASSERT_TRUE(window.CreateEx(0, nullptr, L"p", WS_POPUP, kParentRect, nullptr, 0));
        hwnd = window.GetHwnd();
        EXPECT_EQ(CWnd::FromHandle(hwnd), &window);
        EXPECT_FALSE(window.CreateEx(0, nullptr, L"again", WS_POPUP, kParentRect, nullptr, 0));
    }
    // Deleting the object destroyed its window without calling into the dead object.
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);

    RecordingWindow parent(log);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, kParentRect, nullptr, 0));
    CButton button;
    ASSERT_TRUE(button.Create(L"b", WS_CHILD, kChildRect, parent.GetHwnd(), 3));
    HWND child = button.GetHwnd();
    parent.DestroyWindow();
    // The window went first: the object is unbound and can be created again.
    EXPECT_EQ(button.GetHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandle(child), nullptr);
    EXPECT_FALSE(button.IsWindow());
}

TEST(Controls, ListSliderAndTooltipWrappers)
{
    Log log;
    RecordingWindow parent(log);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, kParentRect, nullptr, 0));
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | LBS_NOTIFY, kChildRect, parent.GetHwnd(), 1029));
    list.AddString(L"小故事");
    list.AddString(L"second");
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetText(0), L"小故事");
    EXPECT_EQ(list.GetText(5), L"");
    list.SetCurSel(1);
    EXPECT_EQ(list.GetCurSel(), 1);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD, kChildRect, parent.GetHwnd(), 1027));
    slider.SetRange(0, 250);
    slider.SetPos(120);
    EXPECT_EQ(slider.GetRangeMax(), 250);
    EXPECT_EQ(slider.GetPos(), 120);

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(parent.GetHwnd()));
    EXPECT_TRUE(tips.AddTool(list.GetHwnd(), L"关闭"));
    EXPECT_EQ(tips.GetToolCount(), 1);
}
