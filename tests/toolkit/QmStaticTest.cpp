#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Gdi.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "support/TempFiles.h"
#include "toolkit/QmStatic.h"

namespace {
constexpr UINT kId = 1101;
const std::wstring kStateError = L"Error: QmStatic设置的状态超过了图的数目.";

// Statics on a visible parent, with image files of known colours:
// halves.png is 2 × 1 (red | blue), green.png 30 × 20, yellow.png 8 × 6.
// The parent is shared: taking a visible window down costs seconds under Wine.
class StaticFixture : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_parent = std::make_unique<CWnd>();
        s_parent->CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200},
                           nullptr, 0);
    }
    static void TearDownTestSuite() { s_parent.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(WritePng(m_dir.File(L"halves.png"), 2, 1, {0xFFFF0000u, 0xFF0000FFu}, false));
        ASSERT_TRUE(WritePng(m_dir.File(L"green.png"), 30, 20,
                             std::vector<uint32_t>(600, 0xFF00FF00u), false));
        ASSERT_TRUE(WritePng(m_dir.File(L"yellow.png"), 8, 6,
                             std::vector<uint32_t>(48, 0xFFFFFF00u), false));
        ASSERT_TRUE(s_parent->IsWindow());
    }

    QmStaticInitDef Def(std::vector<std::wstring> states, int width = 40, int height = 30) const
    {
        QmStaticInitDef def;
        def.resourcePath = m_dir.Path();
        def.statesBmp = std::move(states);
        def.nWidth = width;
        def.nHeight = height;
        return def;
    }

    std::unique_ptr<QmStatic> Make(const QmStaticInitDef& def)
    {
        auto label = std::make_unique<QmStatic>();
        EXPECT_TRUE(label->QmCreate(def, s_parent.get(), kId));
        return label;
    }

    static SIZE WindowSize(const CWnd& wnd)
    {
        const RECT rect = wnd.GetWindowRect();
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }

    // Paints the static now and reads one pixel of its client area (0x00RRGGBB).
    static uint32_t Shown(const QmStatic& label, int x, int y)
    {
        RedrawWindow(label.GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        CClientDC dc(label.GetHwnd());
        const COLORREF c = GetPixel(dc.Get(), x, y);
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }

    static inline std::unique_ptr<CWnd> s_parent;
    TempDir m_dir;
};
}

TEST_F(StaticFixture, TakesItsSizeFromTheRecordOrTheFirstImage)
{
    struct Case {
        const char* name;
        std::vector<std::wstring> states;
        int width;
        int height;
        SIZE expected;
    };
    const Case cases[] = {
        {"record size", {L"green.png"}, 40, 30, {40, 30}},
        {"no width: image size", {L"green.png"}, 0, 40, {30, 20}},
        {"no height: image size", {L"green.png"}, 50, 0, {30, 20}},
        {"no images: record size", {}, 0, 40, {0, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto label = Make(Def(c.states, c.width, c.height));
        const SIZE size = WindowSize(*label);
        EXPECT_EQ(size.cx, c.expected.cx);
        EXPECT_EQ(size.cy, c.expected.cy);
        EXPECT_EQ(label->GetDlgCtrlID(), static_cast<int>(kId));
        EXPECT_EQ(label->GetParent(), s_parent->GetHwnd());
    }
}

TEST_F(StaticFixture, SkippedImagesMoveLaterStatesDown)
{
    ErrorBoxRecorder boxes;
    auto label = Make(Def({L"missing.png", L"green.png", L"yellow.png"}));
    ASSERT_EQ(label->GetImageCount(), 2u);
    EXPECT_EQ(label->GetImage(0)->GetWidth(), 30);
    EXPECT_EQ(label->GetImage(1)->GetWidth(), 8);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::wstring>{L"Error in LoadImageFile " + m_dir.File(L"missing.png")});

    boxes.Clear();
    label->SetState(2);
    EXPECT_EQ(label->GetState(), 0u);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{kStateError});
    EXPECT_EQ(Shown(*label, 5, 5), 0x00FF00u);

    label->SetState(1);
    EXPECT_EQ(label->GetState(), 1u);
    EXPECT_EQ(Shown(*label, 5, 5), 0xFFFF00u);
}

TEST_F(StaticFixture, StateOfAStaticWithoutImagesIsRejected)
{
    ErrorBoxRecorder boxes;
    auto label = Make(Def({}));
    label->SetState(0);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{kStateError});
}

TEST_F(StaticFixture, PaintsTheImageStretchedThenTheText)
{
    QmStaticInitDef def = Def({L"halves.png"}, 60, 40);
    def.text = L"   ";
    def.colorText = RGB(0, 0, 0);
    def.bTextTrans = 1;
    def.colorBack = RGB(255, 0, 255);
    def.nFontSize = 20;
    auto label = Make(def);

    EXPECT_EQ(Shown(*label, 1, 1), 0xFF0000u);
    EXPECT_EQ(Shown(*label, 29, 38), 0xFF0000u);
    EXPECT_EQ(Shown(*label, 31, 1), 0x0000FFu);
    EXPECT_EQ(Shown(*label, 58, 38), 0x0000FFu);

    // The opaque text box is centred on the image.
    RedrawWindow(label->GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CClientDC dc(label->GetHwnd());
    int textPixels = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            textPixels += GetPixel(dc.Get(), x, y) == RGB(255, 0, 255);
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(GetPixel(dc.Get(), 30, 20), RGB(255, 0, 255));
}

TEST_F(StaticFixture, TextAttributesComeFromTheRecord)
{
    QmStaticInitDef def = Def({});
    def.text = L"标题";
    def.colorText = RGB(1, 2, 3);
    def.bTextTrans = 0;
    def.colorBack = RGB(4, 5, 6);
    def.fontName = L"仿宋";
    def.nFontSize = 17;
    auto label = Make(def);
    const QmTextWrapper& wrapper = label->m_textWrapper;
    EXPECT_EQ(wrapper.m_strText, L"标题");
    EXPECT_EQ(wrapper.m_colorText, RGB(1, 2, 3));
    EXPECT_FALSE(wrapper.m_bFillBack) << "zero bTextTrans draws the text transparently";
    EXPECT_EQ(wrapper.m_colorBack, RGB(4, 5, 6));
    EXPECT_EQ(wrapper.m_colorAlt, RGB(0, 0, 0));
    EXPECT_EQ(wrapper.m_nFontSize, 17);
    EXPECT_EQ(wrapper.m_pOwner, label.get());
    LOGFONTW font{};
    GetObjectW(wrapper.m_pFont->Get(), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"仿宋");
}

TEST_F(StaticFixture, SetContentReplacesTheImagesAndText)
{
    auto label = Make(Def({L"green.png", L"yellow.png"}));
    label->SetState(1);
    label->SetContent(m_dir.File(L"halves.png"), L"new", RGB(9, 9, 9), 15);
    ASSERT_EQ(label->GetImageCount(), 1u);
    EXPECT_EQ(label->GetImage(0)->GetWidth(), 2);
    EXPECT_EQ(label->m_textWrapper.m_strText, L"new");
    EXPECT_EQ(label->m_textWrapper.m_colorText, RGB(9, 9, 9));
    EXPECT_EQ(label->m_textWrapper.m_nFontSize, 15);

    label->SetContent(L"", L"", 0, 12);
    EXPECT_EQ(label->GetImageCount(), 0u);
}

TEST_F(StaticFixture, ReleasesItsImagesAndFonts)
{
    const int liveBefore = LiveGdiWrappers();
    {
        auto label = Make(Def({L"green.png", L"yellow.png", L"halves.png"}));
        label->SetContent(m_dir.File(L"green.png"), L"x", 0, 14);
        EXPECT_GT(LiveGdiWrappers(), liveBefore);
    }
    EXPECT_EQ(LiveGdiWrappers(), liveBefore);
}
