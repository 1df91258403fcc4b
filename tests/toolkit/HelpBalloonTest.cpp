#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/Definitions.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "support/MessagePump.h"
#include "support/RectPrinting.h"
#include "support/TempFiles.h"
#include "toolkit/QmHelpBalloon.h"

namespace {
constexpr UINT kEmptyTemplate = 1;
constexpr int kIconSize = 24;
constexpr int kTailWidth = 16;
constexpr int kTailHeight = 12;

QmDialogInitDef PlainDialog(int width, int height)
{
    QmDialogInitDef def;
    def.nWidth = width;
    def.nHeight = height;
    def.bTrans = 0;
    return def;
}

RECT InParent(const CWnd& wnd)
{
    RECT r = wnd.GetWindowRect();
    MapWindowPoints(nullptr, wnd.GetParent(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int CentreX(const RECT& r)
{
    return (r.left + r.right) / 2;
}

// A hidden host dialog at the screen origin with target labels in it, and a
// 200 x 80 balloon whose parts are plain coloured images.
class HelpBalloon : public testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* name : {L"i0.png", L"i1.png", L"i2.png"})
            Solid(name, kIconSize, kIconSize);
        for (const wchar_t* name : {L"t0.png", L"t1.png", L"t2.png", L"t3.png"})
            Solid(name, kTailWidth, kTailHeight);
        Solid(L"text.png", 8, 8);
        ASSERT_TRUE(WriteUtf16(m_dir.File(L"resource.data"), L""));
        UnloadDefinitions();
        FindDefinition(L"none", L"none");
        m_host = new QmDialog(PlainDialog(640, 300), kEmptyTemplate);
        ASSERT_TRUE(m_host->Create());
        m_balloon = new QmHelpBalloon(Skin(), kEmptyTemplate);
        ASSERT_TRUE(m_balloon->Create(*m_host));
        m_balloon->SetHideDelay(0);
    }
    void TearDown() override
    {
        m_host->DestroyWindow();
        EXPECT_EQ(QmHelpBalloon::GetCurrent(), nullptr);
        UnloadDefinitions();
    }
    void Solid(const wchar_t* name, int w, int h)
    {
        ASSERT_TRUE(WritePng(m_dir.File(name), w, h, std::vector<uint32_t>(w * h, 0xFF336699u), true));
    }
    QmHelpBalloonDef Skin() const
    {
        QmHelpBalloonDef def;
        def.dialog = PlainDialog(200, 80);
        def.icon.resourcePath = def.tail.resourcePath = def.text.resourcePath = m_dir.Path();
        def.icon.statesBmp = {L"i0.png", L"i1.png", L"i2.png"};
        def.tail.statesBmp = {L"t0.png", L"t1.png", L"t2.png", L"t3.png"};
        def.text.statesBmp = {L"text.png"};
        return def;
    }
    // A 120 x 30 label of the host with a help text for the whole window.
    HWND Target(RECT rect, const std::wstring& text = L"Short help")
    {
        auto* label = new CStatic;
        m_targets.emplace_back(label);
        label->Create(L"", WS_CHILD | WS_VISIBLE, rect, m_host->GetHwnd(), 0);
        m_balloon->AddHelpText(label->GetHwnd(), text);
        return label->GetHwnd();
    }
    QmCell& LayoutCell() const { return *m_balloon->GetLayoutCell(); }

    TempDir m_dir;
    CurrentDirectoryScope m_scope{m_dir.Path()};
    QmDialog* m_host = nullptr;
    QmHelpBalloon* m_balloon = nullptr;
    std::vector<std::unique_ptr<CStatic>> m_targets;
};
}

TEST(HelpBalloonGeometry, QuadrantOfTheTargetCentre)
{
    const RECT parent{0, 0, 400, 300};
    struct Case {
        const char* name;
        RECT target;
        int quadrant;
    };
    const Case cases[] = {
        {"right and lower", {300, 200, 320, 220}, 0},
        {"right and upper", {300, 20, 320, 40}, 1},
        {"left and lower", {20, 200, 40, 220}, 2},
        {"left and upper", {20, 20, 40, 40}, 3},
        {"exact centre is left and upper", {190, 140, 210, 160}, 3},
        {"one right of the centre, level with it", {191, 140, 211, 160}, 1},
        {"one below the centre", {190, 141, 210, 161}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QmHelpBalloon::PickQuadrant(parent, c.target), c.quadrant);
    }
}

TEST(HelpBalloonGeometry, TailPlacementStrings)
{
    EXPECT_EQ(QmHelpBalloon::TailPlacement(28, 0),
              L"anchor=helpContent,inside=false,pos=atRightBottom,my=-1,mx=-28");
    EXPECT_EQ(QmHelpBalloon::TailPlacement(7, 2),
              L"anchor=helpContent,inside=false,pos=atRightBottom,my=-1,mx=-7");
    EXPECT_EQ(QmHelpBalloon::TailPlacement(5, 1),
              L"anchor=helpContent,inside=false,pos=atRightTop,my=-1,mx=-5");
    EXPECT_EQ(QmHelpBalloon::TailPlacement(-40, 3),
              L"anchor=helpContent,inside=false,pos=atRightTop,my=-1,mx=-0");
}

TEST_F(HelpBalloon, OpensOnTheSideFacingTheMiddleOverlappingTwentyPixels)
{
    struct Case {
        const char* name;
        RECT target;
        POINT point;
        RECT balloon;
        int quadrant;
    };
    const Case cases[] = {
        {"lower right: above, right edges aligned", {450, 220, 570, 250}, {-1, -1},
         {370, 160, 570, 240}, 0},
        {"upper right: below, right edges aligned", {450, 40, 570, 70}, {-1, -1},
         {370, 50, 570, 130}, 1},
        {"lower left: above, left edges aligned", {30, 220, 150, 250}, {-1, -1},
         {30, 160, 230, 240}, 2},
        {"upper left: below, left edges aligned", {30, 40, 150, 70}, {-1, -1},
         {30, 50, 230, 130}, 3},
        {"a point is a 10 x 10 box", {30, 40, 150, 70}, {100, 10}, {125, 35, 325, 115}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND target = Target(c.target);
        if (c.point.x != -1)
            m_balloon->AddHelpText(target, L"Point help", c.point.x, c.point.y);
        m_balloon->ShowHelp(target, c.point.x, c.point.y);
        EXPECT_EQ(m_balloon->GetQuadrant(), c.quadrant);
        EXPECT_EQ(m_balloon->GetDesiredRect(), c.balloon);
        EXPECT_EQ(InParent(*m_balloon), c.balloon);
        EXPECT_TRUE(m_balloon->GetStyle() & WS_VISIBLE);
        EXPECT_EQ(m_balloon->IsFlipped(), c.quadrant >= 2);
        EXPECT_EQ(m_balloon->m_pIcon->GetState(), c.quadrant >= 2 ? 1u : 0u);
        EXPECT_EQ(m_balloon->GetTail()->GetState(), static_cast<unsigned>(c.quadrant));
    }
}

TEST_F(HelpBalloon, LongTextsWidenTheBalloonAndEmptyOnesShowNothing)
{
    HWND longer = Target({450, 220, 570, 250}, std::wstring(20, L'x'));
    HWND shorter = Target({450, 40, 570, 70}, std::wstring(14, L'x'));
    m_balloon->ShowHelp(longer);
    EXPECT_EQ(m_balloon->ComputeBalloonSize(), (RECT{0, 0, 400, 80}));
    EXPECT_EQ(InParent(*m_balloon), (RECT{170, 160, 570, 240}));
    EXPECT_EQ(m_balloon->GetTextControl()->m_textWrapper.m_strText, std::wstring(20, L'x'));
    m_balloon->ShowHelp(shorter);
    EXPECT_EQ(m_balloon->ComputeBalloonSize(), (RECT{0, 0, 200, 80}));

    const RECT before = InParent(*m_balloon);
    HWND silent = Target({30, 220, 150, 250}, L"");
    m_balloon->ShowHelp(silent);
    m_balloon->ShowHelp(silent, 3, 3);
    m_balloon->ShowHelp(nullptr);
    EXPECT_EQ(InParent(*m_balloon), before);
    EXPECT_EQ(m_balloon->GetQuadrant(), 1);
}

TEST_F(HelpBalloon, LayoutSwapsOnceWhenTheTargetMovesToTheLeftHalf)
{
    auto firstName = [&] { return LayoutCell().GetChild(0)->GetName(); };
    m_balloon->ShowHelp(Target({450, 220, 570, 250}));
    EXPECT_EQ(firstName(), L"Icon");
    m_balloon->ShowHelp(Target({30, 220, 150, 250}));
    EXPECT_EQ(firstName(), L"Content");
    m_balloon->ShowHelp(Target({30, 40, 150, 70}));
    EXPECT_EQ(firstName(), L"Content");
    m_balloon->ShowHelp(Target({450, 40, 570, 70}));
    EXPECT_EQ(firstName(), L"Icon");
    EXPECT_EQ(m_balloon->m_pIcon->GetState(), 0u);
}

TEST_F(HelpBalloon, TailSitsOutsideHelpContentAtTheTargetCentre)
{
    struct Case {
        const char* name;
        RECT target;
        bool below; // tail under the text
    };
    const Case cases[] = {
        {"q0: right edge at the centre, under the text", {450, 220, 570, 250}, true},
        {"q1: right edge at the centre, over the text", {450, 40, 570, 70}, false},
        {"q2: left edge at the centre, under the text", {30, 220, 150, 250}, true},
        {"q3: left edge at the centre, over the text", {30, 40, 150, 70}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_balloon->ShowHelp(Target(c.target));
        const RECT text = m_balloon->GetTextControl()->GetWindowRect();
        const RECT tail = m_balloon->GetTail()->GetWindowRect();
        const int tip = m_balloon->IsFlipped() ? tail.left : tail.right;
        EXPECT_EQ(tip, CentreX(c.target));
        if (c.below)
            EXPECT_EQ(tail.top, text.bottom - 1);
        else
            EXPECT_EQ(tail.bottom, text.top + 1);
        EXPECT_EQ(m_balloon->GetTailOffset(), InParent(*m_balloon).right - CentreX(c.target));
    }

    // Wider than the balloon: the offset would be negative and is placed as 0.
    m_balloon->ShowHelp(Target({10, 40, 510, 70}));
    EXPECT_LT(m_balloon->GetTailOffset() - kIconSize, 0);
    EXPECT_EQ(m_balloon->GetTail()->GetWindowRect().left,
              m_balloon->GetTextControl()->GetWindowRect().right);
}

TEST_F(HelpBalloon, CornerModeFollowsTheCornerPointOnAnotherDialogsRelayout)
{
    HWND target = Target({450, 220, 570, 250});
    HWND anchor = Target({100, 200, 160, 230});
    m_balloon->ShowHelp(target);
    m_balloon->SetCornerMode(true);
    EXPECT_EQ(InParent(*m_balloon), (RECT{616, 251, 640, 275}));
    EXPECT_EQ(m_balloon->m_pIcon->GetState(), 2u);
    EXPECT_FALSE(m_balloon->GetTextControl()->GetStyle() & WS_VISIBLE);

    m_host->MoveWindow(RECT{0, 0, 500, 350});
    EXPECT_EQ(InParent(*m_balloon), (RECT{476, 301, 500, 325}));
    m_balloon->ShowHelp(target);
    EXPECT_EQ(InParent(*m_balloon), (RECT{476, 301, 500, 325}));

    m_balloon->SetCornerMode(true, anchor);
    EXPECT_EQ(InParent(*m_balloon), (RECT{118, 176, 142, 200}));
    m_balloon->Relayout();
    EXPECT_EQ(InParent(*m_balloon), (RECT{118, 176, 142, 200}));

    m_balloon->SetCornerMode(false);
    EXPECT_EQ(InParent(*m_balloon), (RECT{370, 160, 570, 240}));
    EXPECT_EQ(m_balloon->m_pIcon->GetState(), 0u);
    EXPECT_TRUE(m_balloon->GetTextControl()->GetStyle() & WS_VISIBLE);
}

TEST_F(HelpBalloon, TimerHidesTheBalloonWhichThenStaysHiddenOnRelayouts)
{
    m_balloon->SetHideDelay(1);
    m_balloon->ShowHelp(Target({450, 220, 570, 250}));
    EXPECT_TRUE(m_balloon->IsTimerRunning());
    EXPECT_TRUE(m_balloon->GetStyle() & WS_VISIBLE);
    PumpMessagesFor(600);
    EXPECT_FALSE(m_balloon->IsTimerRunning());
    EXPECT_FALSE(m_balloon->IsActive());
    EXPECT_FALSE(m_balloon->GetStyle() & WS_VISIBLE);
    m_host->Relayout();
    EXPECT_FALSE(m_balloon->GetStyle() & WS_VISIBLE);
}

TEST_F(HelpBalloon, FiveHundredShowingsKeepEveryHandle)
{
    HWND right = Target({450, 220, 570, 250}, std::wstring(30, L'x'));
    HWND left = Target({30, 40, 150, 70});
    const int before = LiveGdiWrappers();
    for (int i = 0; i < 500; ++i)
        m_balloon->ShowHelp(i % 2 == 0 ? right : left);
    EXPECT_EQ(LiveGdiWrappers(), before);
}

TEST(HelpBalloonFailures, CornerPointWithoutIconReportsAndUsesAnEmptyRectangle)
{
    ErrorBoxRecorder boxes;
    QmHelpBalloon balloon(QmHelpBalloonDef{}, kEmptyTemplate);
    const POINT corner = balloon.GetCornerPoint();
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, -25);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Error in GetCornerPoint: m_pIcon==NULL."});
}
