#include <gtest/gtest.h>

#include <memory>

#include "framework/Wnd.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "support/TempFiles.h"
#include "toolkit/QmButton.h"

namespace {
constexpr UINT kId = 1000;

class ClickCounter : public CWnd {
public:
    int m_clicks = 0;

protected:
    bool OnCommand(WPARAM wParam, LPARAM) override
    {
        if (LOWORD(wParam) == kId && HIWORD(wParam) == BN_CLICKED)
            ++m_clicks;
        return true;
    }
};

// A button with two picture sets: set 0 of 20 × 10 pixels in four colours,
// set 1 of 30 × 30 pixels in one colour.
class ButtonFixture : public testing::Test {
protected:
    void SetUp() override
    {
        WriteSolid(L"b0.png", 20, 10, 0xFF0000FFu);
        WriteSolid(L"a0.png", 20, 10, 0xFF00FF00u);
        WriteSolid(L"p0.png", 20, 10, 0xFFFF0000u);
        WriteSolid(L"d0.png", 20, 10, 0xFF808080u);
        WriteSolid(L"b1.png", 30, 30, 0xFFFFFF00u);
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"parent", WS_POPUP, RECT{0, 0, 200, 200},
                                      nullptr, 0));
    }
    void WriteSolid(const wchar_t* name, int w, int h, uint32_t argb)
    {
        ASSERT_TRUE(WritePng(m_dir.File(name), w, h, std::vector<uint32_t>(w * h, argb), true));
    }
    QmMultiStateButtonInitDef Def() const
    {
        QmMultiStateButtonInitDef def;
        def.resourcePath = m_dir.Path();
        def.statesBmp = {QmOneStateBmp{L"b0.png", L"a0.png", L"p0.png", L"d0.png"},
                         QmOneStateBmp{L"b1.png", L"", L"b1.png", L""}};
        return def;
    }
    std::unique_ptr<QmButton> Make(int mode)
    {
        auto button = std::make_unique<QmButton>();
        button->InitFromDef(nullptr, Def());
        EXPECT_TRUE(button->CreateButton(0, m_parent.GetHwnd(), L"", kId, mode));
        return button;
    }
    static uint32_t Drawn(const QmButton& button, UINT itemState, int x = 5, int y = 5)
    {
        PixelCanvas canvas(40, 40, RGB(255, 255, 255));
        DRAWITEMSTRUCT item{};
        item.hDC = canvas.Dc();
        item.itemState = itemState;
        button.DrawItem(item);
        return canvas.At(x, y);
    }
    static void Click(QmButton& button, POINT up)
    {
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    }

    TempDir m_dir;
    ClickCounter m_parent;
};
}

TEST_F(ButtonFixture, TakesTheSizeOfSetZeroBaseImage)
{
    auto button = Make(QmButton::kPush);
    const RECT rect = button->GetWindowRect();
    EXPECT_EQ(rect.right - rect.left, 20);
    EXPECT_EQ(rect.bottom - rect.top, 10);
    EXPECT_EQ(button->GetSetCount(), 2u);
    EXPECT_EQ(button->GetDef().nKind, 1);

    QmButton empty;
    empty.InitFromDef(nullptr, QmMultiStateButtonInitDef{});
    ASSERT_TRUE(empty.CreateButton(0, m_parent.GetHwnd(), L"", 5, 0));
    const RECT fallback = empty.GetWindowRect();
    EXPECT_EQ(fallback.right - fallback.left, 90);
    EXPECT_EQ(Drawn(empty, 0), 0xFFFFFFu);
}

TEST_F(ButtonFixture, ClicksByMode)
{
    struct Case {
        const char* name;
        int mode;
        bool startChecked;
        std::vector<POINT> releases;
        bool checked;
        int clicks;
    };
    const POINT inside{5, 5};
    const POINT outside{150, 150};
    const std::vector<Case> cases = {
        {"toggle twice returns", QmButton::kToggle, false, {inside, inside}, false, 2},
        {"toggle once", QmButton::kToggle, false, {inside}, true, 1},
        {"release outside changes nothing", QmButton::kToggle, false, {outside}, false, 0},
        {"latch sets even when set", QmButton::kLatch, true, {inside}, true, 1},
        {"latch from clear", QmButton::kLatch, false, {inside, inside}, true, 2},
        {"push never checks", QmButton::kPush, true, {inside}, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_parent.m_clicks = 0;
        auto button = Make(c.mode);
        button->SetChecked(c.startChecked);
        for (POINT up : c.releases)
            Click(*button, up);
        EXPECT_EQ(button->IsChecked(), c.checked);
        EXPECT_EQ(m_parent.m_clicks, c.clicks);
    }
}

TEST_F(ButtonFixture, DrawsTheImageOfItsState)
{
    auto button = Make(QmButton::kToggle);
    EXPECT_EQ(Drawn(*button, 0), 0x0000FFu);
    EXPECT_EQ(Drawn(*button, ODS_DISABLED), 0x808080u);
    button->SetChecked(true);
    EXPECT_EQ(Drawn(*button, 0), 0xFF0000u);
    button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button->IsHover());
    EXPECT_EQ(Drawn(*button, ODS_DISABLED), 0x00FF00u);
    EXPECT_EQ(Drawn(*button, ODS_SELECTED), 0xFF0000u);
    button->SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button->IsHover());

    // Another set is drawn at its own size from the corner, without stretching.
    button->SetChecked(false);
    button->SetState(1);
    EXPECT_EQ(Drawn(*button, 0, 25, 25), 0xFFFF00u);
    EXPECT_EQ(Drawn(*button, 0, 35, 35), 0xFFFFFFu);
}

TEST_F(ButtonFixture, RejectedCallsAndMessages)
{
    auto button = Make(QmButton::kPush);
    ErrorBoxRecorder boxes;
    button->SetState(2);
    button->SetState(static_cast<unsigned>(-1));
    EXPECT_EQ(button->GetState(), 0u);
    button->SetChecked(true);
    EXPECT_FALSE(button->IsChecked());
    EXPECT_EQ(Drawn(*button, 0), 0x0000FFu);
    PixelCanvas canvas(2, 2, 0);
    button->DrawBitmap(nullptr, nullptr, canvas.Dc());
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{L"Error: SetState参数超过图片套数.",
                                                        L"Error: SetState参数超过图片套数.",
                                                        L"Error in QmButton::DrawBitmap: pImg为空."}));
}
