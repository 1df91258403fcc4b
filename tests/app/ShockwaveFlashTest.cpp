#include <gtest/gtest.h>

#include <fstream>

#include "SwfButtonWriter.h"
#include "SwfWriter.h"
#include "app/Mixer.h"
#include "app/ShockwaveFlash.h"
#include "support/MessagePump.h"
#include "support/TempFiles.h"

namespace {
constexpr UINT kControlId = 1028;

// A 100 × 100 stage with a red square in its left half, `frames` frames long
// at 20 frames per second; with `stopAtEnd` the last frame stops the movie.
std::wstring WriteMovie(const TempDir& dir, const wchar_t* name, int frames, bool stopAtEnd)
{
    swf::Movie movie(100, 100, 20);
    movie.background(swf::Color{0, 0, 255});
    movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, 50 * 20, 100 * 20,
                                                            swf::Color{255, 0, 0}));
    movie.placeObject(1, 1);
    for (int i = 0; i < frames; ++i) {
        if (stopAtEnd && i == frames - 1)
            movie.actions(swf::Actions().stop());
        movie.showFrame();
    }
    const swf::Bytes bytes = movie.finish();
    const std::wstring path = dir.File(name);
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

// A stopped 100 × 100 stage, three frames long, with a button over its left half
// that goes to frame 2 when clicked.
std::wstring WriteButtonMovie(const TempDir& dir, const wchar_t* name)
{
    swf::Movie movie(100, 100, 20);
    movie.background(swf::Color{0, 0, 255});
    movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, 50 * 20, 100 * 20,
                                                            swf::Color{255, 0, 0}));
    swf::ButtonBuilder button;
    button.add({swf::kUp | swf::kOver | swf::kDown | swf::kHitTest, 1, 1});
    button.on(swf::kRelease, swf::Actions().gotoFrame(2));
    movie.tag(swf::kDefineButton2, button.encode2(2));
    movie.placeObject(1, 2).actions(swf::Actions().stop()).showFrame().showFrame().showFrame();
    const swf::Bytes bytes = movie.finish();
    const std::wstring path = dir.File(name);
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

class MovieControl : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CShockwaveFlash::RegisterWindowClass());
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0));
        ASSERT_TRUE(m_control.Create(nullptr, WS_CHILD, RECT{0, 0, 120, 30}, m_parent.GetHwnd(),
                                     kControlId));
    }

    TempDir m_dir;
    CWnd m_parent;
    CShockwaveFlash m_control;
};
}

TEST(MovieControlWithoutWindow, AnswersZeroAndIgnoresCalls)
{
    TempDir dir;
    const std::wstring path = WriteMovie(dir, L"m.swf", 5, false);
    CShockwaveFlash control;
    control.SetBackgroundColor(0xFFFFFF);
    control.LoadMovie(0, path);
    control.Play();
    control.GotoFrame(3);
    EXPECT_FALSE(control.IsPlaying());
    EXPECT_EQ(control.TotalFrames(), 0);
    EXPECT_EQ(control.CurrentFrame(), 0);
}

TEST_F(MovieControl, ProgrammeChangeSequence)
{
    const std::wstring path = WriteMovie(m_dir, L"m.swf", 40, false);
    EXPECT_EQ(m_control.GetDlgCtrlID(), static_cast<int>(kControlId));
    EXPECT_FALSE(m_control.IsPlaying());
    m_control.StopPlay();
    m_control.LoadMovie(0, path);
    m_control.Stop();
    EXPECT_EQ(m_control.TotalFrames(), 40);
    EXPECT_FALSE(m_control.IsPlaying());
    EXPECT_EQ(m_control.CurrentFrame(), 0);
    m_control.ShowWindow(SW_SHOW);
    m_control.Play();
    EXPECT_TRUE(m_control.IsPlaying());
    PumpMessagesFor(500);
    // 20 frames per second: about ten frames in half a second.
    EXPECT_GE(m_control.CurrentFrame(), 6);
    EXPECT_LE(m_control.CurrentFrame(), 14);
    m_control.StopPlay();
    const long paused = m_control.CurrentFrame();
    PumpMessagesFor(200);
    EXPECT_EQ(m_control.CurrentFrame(), paused);
    m_control.GotoFrame(1000);
    EXPECT_EQ(m_control.CurrentFrame(), 39);
    EXPECT_FALSE(m_control.IsPlaying());
}

TEST_F(MovieControl, StopActionEndsPlaying)
{
    m_control.LoadMovie(0, WriteMovie(m_dir, L"stop.swf", 5, true));
    EXPECT_TRUE(m_control.IsPlaying());
    PumpMessagesFor(600);
    EXPECT_FALSE(m_control.IsPlaying());
    EXPECT_EQ(m_control.CurrentFrame(), 4);
}

TEST_F(MovieControl, NotAMovieOrAnotherLayerLeavesItEmpty)
{
    WriteBytes(m_dir.File(L"text.swf"), "hello, not a movie");
    m_control.LoadMovie(0, m_dir.File(L"text.swf"));
    EXPECT_EQ(m_control.TotalFrames(), 0);
    m_control.LoadMovie(0, m_dir.File(L"missing.swf"));
    EXPECT_EQ(m_control.TotalFrames(), 0);
    m_control.LoadMovie(1, WriteMovie(m_dir, L"m.swf", 5, false));
    EXPECT_EQ(m_control.TotalFrames(), 0);
}

TEST_F(MovieControl, ShowsTheWholeStageOnTheBackgroundColour)
{
    m_control.LoadMovie(0, WriteMovie(m_dir, L"m.swf", 5, false));
    m_control.Stop();
    // A 200 × 100 window: the square stage is centred, with bands at the sides.
    m_parent.MoveWindow(RECT{0, 0, 200, 100});
    m_control.MoveWindow(RECT{0, 0, 200, 100});
    m_parent.ShowWindow(SW_SHOWNA);
    m_control.ShowWindow(SW_SHOW);
    struct Case {
        long background;
        COLORREF band, square, stageRest;
    };
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF blue = RGB(0, 0, 255);
    for (const Case& c : {Case{-1, blue, RGB(255, 0, 0), blue}, Case{0xFFFFFF, white, RGB(255, 0, 0), white}}) {
        m_control.SetBackgroundColor(c.background);
        m_control.UpdateWindow();
        CClientDC dc(m_control.GetHwnd());
        EXPECT_EQ(GetPixel(dc.Get(), 20, 50), c.band);
        EXPECT_EQ(GetPixel(dc.Get(), 75, 50), c.square);
        EXPECT_EQ(GetPixel(dc.Get(), 125, 50), c.stageRest);
        EXPECT_EQ(GetPixel(dc.Get(), 180, 50), c.band);
    }
}

TEST_F(MovieControl, MouseClickOnAButtonRunsItsActionAndShowsTheHand)
{
    m_control.LoadMovie(0, WriteButtonMovie(m_dir, L"button.swf"));
    m_parent.MoveWindow(RECT{0, 0, 100, 100});
    m_control.MoveWindow(RECT{0, 0, 100, 100});
    m_parent.ShowWindow(SW_SHOWNA);
    m_control.ShowWindow(SW_SHOW);
    const HWND hwnd = m_control.GetHwnd();
    auto cursorAt = [&](int x, int y) {
        m_control.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        m_control.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorAt(75, 50), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(cursorAt(25, 50), LoadCursorW(nullptr, IDC_HAND));

    m_control.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 50));
    EXPECT_EQ(GetCapture(), hwnd);
    EXPECT_EQ(m_control.CurrentFrame(), 0);
    m_control.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(25, 50));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(m_control.CurrentFrame(), 2);
    EXPECT_FALSE(m_control.IsPlaying());

    // Pressed on the button but released beside it: nothing runs.
    m_control.GotoFrame(0);
    m_control.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 50));
    m_control.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(75, 50));
    m_control.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(75, 50));
    EXPECT_EQ(m_control.CurrentFrame(), 0);
    EXPECT_EQ(cursorAt(75, 50), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(Mixer, WithoutASoundDeviceBothOperationsReportFalse)
{
    if (mixerGetNumDevs() != 0)
        GTEST_SKIP() << "a mixer device exists here";
    CMixer mixer;
    EXPECT_FALSE(mixer.IsMuted());
    EXPECT_FALSE(mixer.SetMute(true));
    EXPECT_FALSE(mixer.IsMuted());
}
