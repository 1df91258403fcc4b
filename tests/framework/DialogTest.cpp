#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/Dialog.h"
#include "support/TimerScript.h"

namespace {
class TestDialog : public CDialog {
public:
    TestDialog(bool swallowEnter, TimerScript& script) : CDialog(1), m_swallowEnter(swallowEnter), m_script(script) {}
    bool PreTranslateMessage(MSG& msg) override
    {
        return m_swallowEnter && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN;
    }
    int m_initCount = 0;

protected:
    bool OnInitDialog() override
    {
        ++m_initCount;
        m_script.m_target = GetHwnd();
        return true;
    }

private:
    bool m_swallowEnter;
    TimerScript& m_script;
};

void PostKey(HWND hwnd, WPARAM key)
{
    PostMessageW(GetDlgItem(hwnd, IDOK), WM_KEYDOWN, key, 0);
}
}

TEST(Dialog, ModalLoopEndsWithTheDialogResult)
{
    struct Case {
        const char* name;
        bool swallowEnter;
        std::vector<std::function<void(HWND)>> steps;
        INT_PTR result;
    };
    std::vector<Case> cases;
    cases.push_back({"Enter presses the default button", false,
                     {[](HWND h) { PostKey(h, VK_RETURN); }}, IDOK});
    cases.push_back({"swallowed Enter, then close", true,
                     {[](HWND h) { PostKey(h, VK_RETURN); },
                      [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); }},
                     IDCANCEL});
    cases.push_back({"Esc cancels", false, {[](HWND h) { PostKey(h, VK_ESCAPE); }}, IDCANCEL});
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimerScript script(c.steps);
        TestDialog dialog(c.swallowEnter, script);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.m_initCount, 1);
        EXPECT_FALSE(dialog.IsWindow());
    }
}

TEST(Dialog, ModelessEndDialogDestroysTheWindow)
{
    TimerScript script({});
    TestDialog dialog(false, script);
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.IsWindow());
    EXPECT_FALSE(dialog.Create());
    dialog.EndDialog(5);
    EXPECT_FALSE(dialog.IsWindow());
}

TEST(Dialog, MissingTemplateFailsQuietly)
{
    class NoTemplate : public CDialog {
    public:
        NoTemplate() : CDialog(999) {}
    } dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
}
