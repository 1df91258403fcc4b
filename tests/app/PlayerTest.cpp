#include <gtest/gtest.h>

#include "SwfWriter.h"
#include "app/Catalogue.h"
#include "app/DeclareDlg.h"
#include "app/TovaliDlg.h"
#include "skin/Definitions.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "support/RectPrinting.h"
#include "support/TempFiles.h"
#include "support/ThreadWindows.h"
#include "support/TimerScript.h"

namespace {
std::string Movie(int frames)
{
    swf::Movie movie(100, 100, 20);
    movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, 2000, 2000, swf::Color{255, 0, 0}));
    movie.placeObject(1, 1);
    for (int i = 0; i < frames; ++i)
        movie.showFrame();
    const swf::Bytes bytes = movie.finish();
    return std::string(bytes.begin(), bytes.end());
}

RECT ChildRect(const CWnd& child)
{
    RECT r = child.GetWindowRect();
    MapWindowPoints(nullptr, child.GetParent(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Where the layout table puts the movie, the list cell's list and the second
// menu button in a client area of the given size (buttons without images are 90 × 90).
void ExpectLayout(const CTovaliDlg& player, int width, int height)
{
    const int mainBottom = height - 125;
    EXPECT_EQ(ChildRect(player.GetFlashPlayer()->Control()),
              (RECT{10, 101, width - 270, mainBottom}));
    EXPECT_EQ(ChildRect(*player.GetProgrammeList()), (RECT{width - 265, 101, width - 15, mainBottom}));
    EXPECT_EQ(ChildRect(*player.GetMenuButton(1)), (RECT{103, 16, 193, 106}));
    const RECT slider = ChildRect(*player.GetSlider());
    EXPECT_EQ(slider.right - slider.left, 400);
    EXPECT_EQ(slider.top, mainBottom + 15);
}

CQmDeclareDlg* FindDeclaration()
{
    return FindThreadWindowObject<CQmDeclareDlg>();
}
}

TEST(Catalogue, ListFilesKeepEveryLineAsWritten)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::wstring> names;
    };
    const std::vector<Case> cases = {
        {"empty line kept", "A\r\n\r\nB\r\n", {L"A", L"", L"B"}},
        {"LF only is one entry", "A\nB\n", {L"A\nB\n"}},
        {"blanks and last line", " \xD0\xA1\xB9\xCA\xCA\xC2 \r\nend", {L" 小故事 ", L"end"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(dir.File(L"b.inb"), c.bytes));
        std::vector<std::wstring> names;
        ASSERT_TRUE(ReadProgrammeList(dir.File(L"b.inb"), names));
        EXPECT_EQ(names, c.names);
    }
    std::vector<std::wstring> names{L"stale"};
    EXPECT_FALSE(ReadProgrammeList(dir.File(L"missing.inb"), names));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ProgrammeListPath(L"C:\\p\\", L"07"), L"C:\\p\\cont\\b07.inb");
    EXPECT_EQ(MoviePath(L"C:\\p\\", L"小故事"), L"C:\\p\\swf\\小故事.swf");
}

TEST(Player, StartsTheFirstCategoryAndFollowsTheControls)
{
    TempDir dir;
    CreateDirectoryW(dir.File(L"cont").c_str(), nullptr);
    CreateDirectoryW(dir.File(L"swf").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(dir.File(L"cont\\b01.inb"), "\xD0\xA1\xB9\xCA\xCA\xC2\r\nmissing\r\n"));
    ASSERT_TRUE(WriteBytes(dir.File(L"swf\\小故事.swf"), Movie(60)));
    ASSERT_TRUE(WriteUtf16(dir.File(L"resource.data"), L""));
    CurrentDirectoryScope scope(dir.Path());
    UnloadDefinitions();
    ErrorBoxRecorder boxes;
    // Start-up registers the movie control's class before any player window exists.
    ASSERT_TRUE(CShockwaveFlash::RegisterWindowClass());

    QmDialogInitDef record;
    ReadInitDef(record, L"IDD_TOVALI_DIALOG");
    record.nWidth = 800;
    record.nHeight = 600;
    CTovaliDlg player(record);
    player.SetProgramDirectory(dir.Path());
    bool sawDeclaration = false;
    TimerScript script(
        {
            [&](HWND) {
                EXPECT_TRUE(player.IsInitialized());
                EXPECT_EQ(player.GetCurrentCategoryButton(), player.GetMenuButton(0));
                EXPECT_TRUE(player.GetMenuButton(0)->IsChecked());
                EXPECT_EQ(player.GetProgrammeList()->GetCount(), 2);
                EXPECT_EQ(player.GetProgrammeList()->GetText(0), L"小故事");
                EXPECT_TRUE(player.GetFlashPlayer()->bLoaded);
                EXPECT_TRUE(player.GetFlashPlayer()->Control().IsPlaying());
                EXPECT_EQ(player.GetSlider()->GetRangeMax(), 60);
                ExpectLayout(player, 800, 600);
                player.PostMessage(WM_KEYDOWN, VK_ESCAPE);
            },
            [&](HWND) {
                // A category without a list file: empty list, new button marked, movie plays on.
                player.SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED));
                EXPECT_EQ(player.GetProgrammeList()->GetCount(), 0);
                EXPECT_TRUE(player.GetMenuButton(1)->IsChecked());
                EXPECT_FALSE(player.GetMenuButton(0)->IsChecked());
                EXPECT_TRUE(player.GetFlashPlayer()->Control().IsPlaying());
            },
            [&](HWND) {
                player.SendMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED));
                player.GetProgrammeList()->SetCurSel(1);
                player.PlaySelectedProgramme();
                EXPECT_TRUE(player.GetFlashPlayer()->Control().IsPlaying());
                player.TogglePlayPause();
                EXPECT_FALSE(player.GetFlashPlayer()->Control().IsPlaying());
            },
            [&](HWND) {
                player.GetSlider()->SetPos(30);
                player.SendMessage(WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(player.GetSlider()->GetHwnd()));
                EXPECT_TRUE(player.GetFlashPlayer()->Control().IsPlaying());
                EXPECT_GE(player.GetFlashPlayer()->Control().CurrentFrame(), 30);
            },
            [&](HWND) {},
            [&](HWND) {
                CQmDeclareDlg* declaration = FindDeclaration();
                ASSERT_NE(declaration, nullptr);
                EXPECT_TRUE(declaration->IsWindowVisible());
                sawDeclaration = true;
                player.GetMenuButton(14)->SetChecked(true);
                declaration->PostMessage(WM_KEYDOWN, VK_RETURN);
                declaration->PostMessage(WM_COMMAND, CQmDeclareDlg::kIdOk);
            },
            [&](HWND) {
                EXPECT_EQ(FindDeclaration(), nullptr);
                EXPECT_FALSE(player.GetMenuButton(14)->IsChecked());
                EXPECT_TRUE(player.IsWindow());
                player.PostMessage(WM_COMMAND, QmDialog::kIdClose);
            },
        },
        150);
    EXPECT_EQ(player.DoModal(), 1);
    EXPECT_TRUE(sawDeclaration);
    UnloadDefinitions();
}

TEST(Player, PlayButtonMuteAndSelectionTable)
{
    TempDir dir;
    CreateDirectoryW(dir.File(L"cont").c_str(), nullptr);
    CreateDirectoryW(dir.File(L"swf").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(dir.File(L"cont\\b01.inb"), "one\r\nmissing\r\n"));
    ASSERT_TRUE(WriteBytes(dir.File(L"swf\\one.swf"), Movie(200)));
    for (const wchar_t* name : {L"s0.png", L"s1.png"})
        ASSERT_TRUE(WriteBytes(dir.File(name), MakeBmp24(4, 4, std::vector<uint32_t>(16, 0x336699u))));
    ASSERT_TRUE(WriteUtf16(dir.File(L"resource.data"),
                           L"<QmMultiStateButtonInitDef>"
                           L"<FLASH_BTN_PLAY><statesBmp>S0 S1</statesBmp></FLASH_BTN_PLAY>"
                           L"<FLASH_BTN_MUTE><statesBmp>S0 S1</statesBmp></FLASH_BTN_MUTE>"
                           L"</QmMultiStateButtonInitDef><QmOneStateBmp>"
                           L"<S0><fnBaseBmp>s0.png</fnBaseBmp><fnPressBmp>s0.png</fnPressBmp></S0>"
                           L"<S1><fnBaseBmp>s1.png</fnBaseBmp><fnPressBmp>s1.png</fnPressBmp></S1>"
                           L"</QmOneStateBmp>"));
    CurrentDirectoryScope scope(dir.Path());
    UnloadDefinitions();
    ErrorBoxRecorder boxes;
    // Start-up registers the movie control's class before any player window exists.
    ASSERT_TRUE(CShockwaveFlash::RegisterWindowClass());

    QmDialogInitDef record;
    record.nWidth = 1200;
    record.nHeight = 900;
    CTovaliDlg player(record);
    player.SetProgramDirectory(dir.Path());
    auto movie = [&]() -> CShockwaveFlash& { return player.GetFlashPlayer()->Control(); };
    auto select = [&](int index) {
        player.GetProgrammeList()->SetCurSel(index);
        player.SendMessage(WM_COMMAND, MAKEWPARAM(CTovaliDlg::kIdList, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(player.GetProgrammeList()->GetHwnd()));
    };
    TimerScript script(
        {
            [&](HWND) {
                ExpectLayout(player, 1200, 900);
                EXPECT_EQ(player.GetPlayButton()->GetState(), 1u);
                EXPECT_EQ(player.GetMuteButton()->GetState(), 0u);
                EXPECT_TRUE(player.GetMuteButton()->IsChecked());
                // Playing, missing file: the movie plays on from where it was.
                select(1);
                EXPECT_TRUE(movie().IsPlaying());
                EXPECT_EQ(player.GetPlayButton()->GetState(), 1u);
                player.SendMessage(WM_COMMAND, MAKEWPARAM(CTovaliDlg::kIdPlay, BN_CLICKED));
                EXPECT_FALSE(movie().IsPlaying());
                EXPECT_EQ(player.GetPlayButton()->GetState(), 0u);
                // Paused, missing file: it stays paused.
                select(1);
                EXPECT_FALSE(movie().IsPlaying());
                EXPECT_EQ(player.GetPlayButton()->GetState(), 0u);
                // A seek while paused plays from there; the play button keeps its set.
                player.GetSlider()->SetPos(120);
                player.SendMessage(WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(player.GetSlider()->GetHwnd()));
                EXPECT_TRUE(movie().IsPlaying());
                EXPECT_GE(movie().CurrentFrame(), 120);
                EXPECT_EQ(player.GetPlayButton()->GetState(), 0u);
                // Without a mixer every mute click shows the muted set.
                player.SendMessage(WM_COMMAND, MAKEWPARAM(CTovaliDlg::kIdMute, BN_CLICKED));
                EXPECT_EQ(player.GetMuteButton()->GetState(), 1u);
                // Paused, file opens: the new movie loads and plays.
                player.TogglePlayPause();
                select(0);
                EXPECT_TRUE(movie().IsPlaying());
                EXPECT_LT(movie().CurrentFrame(), 20);
                EXPECT_EQ(player.GetPlayButton()->GetState(), 1u);
            },
            [&](HWND) {},
            [&](HWND) {},
            [&](HWND) {},
            [&](HWND) {
                CQmDeclareDlg* declaration = FindDeclaration();
                ASSERT_NE(declaration, nullptr);
                declaration->PostMessage(WM_KEYDOWN, VK_ESCAPE);
                declaration->PostMessage(WM_KEYDOWN, VK_RETURN);
            },
            [&](HWND) {
                CQmDeclareDlg* declaration = FindDeclaration();
                ASSERT_NE(declaration, nullptr);
                // Centred over the player.
                const RECT outer = player.GetWindowRect();
                const RECT inner = declaration->GetWindowRect();
                EXPECT_NEAR((inner.left + inner.right) / 2, (outer.left + outer.right) / 2, 1);
                EXPECT_NEAR((inner.top + inner.bottom) / 2, (outer.top + outer.bottom) / 2, 1);
                declaration->PostMessage(WM_COMMAND, QmDialog::kIdClose);
            },
            [&](HWND) {
                EXPECT_EQ(FindDeclaration(), nullptr);
                // The slider follows the movie while it plays.
                EXPECT_GT(player.GetSlider()->GetPos(), 0);
                player.PostMessage(WM_COMMAND, QmDialog::kIdClose);
            },
        },
        150);
    EXPECT_EQ(player.DoModal(), 1);
    UnloadDefinitions();
}
