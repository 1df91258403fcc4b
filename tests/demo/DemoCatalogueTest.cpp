#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "DemoProgrammes.h"
#include "app/Catalogue.h"
#include "app/DeclareDlg.h"
#include "app/StartupRecord.h"
#include "app/TovaliDlg.h"
#include "movie/Player.h"
#include "skin/Definitions.h"
#include "skin/InitDefs.h"
#include "support/ErrorBoxRecorder.h"
#include "support/TempFiles.h"
#include "support/ThreadWindows.h"
#include "support/TimerScript.h"

namespace {

std::wstring PlayerDirectory()
{
    std::wstring dir = L"" DEMO_PLAYER_DIR;
    std::replace(dir.begin(), dir.end(), L'/', L'\\');
    return dir + L"\\";
}

std::vector<std::wstring> IntendedNames(const demo::DemoCategory& category)
{
    std::vector<std::wstring> names;
    for (const char16_t* name : category.programmes)
        if (name != nullptr)
            names.emplace_back(name, name + std::char_traits<char16_t>::length(name));
    return names;
}

std::wstring Code(const demo::DemoCategory& category)
{
    return {category.code, category.code + 2};
}

// Distinct colours of a frame rendered at a quarter of the stage.
size_t ColoursOfFrame(movie::Player& player, int frame)
{
    constexpr int kWidth = 138;
    constexpr int kHeight = 100;
    std::vector<std::uint32_t> pixels(kWidth * kHeight);
    player.gotoFrame(frame);
    player.render(pixels.data(), kWidth, kHeight, kWidth * 4);
    return std::set<std::uint32_t>(pixels.begin(), pixels.end()).size();
}

CQmDeclareDlg* FindDeclaration()
{
    return FindThreadWindowObject<CQmDeclareDlg>();
}

}

TEST(DemoCatalogue, EveryListDecodesToItsProgrammes)
{
    for (const demo::DemoCategory& category : demo::kDemoCatalogue) {
        SCOPED_TRACE(testing::Message() << "category " << Code(category));
        std::vector<std::wstring> names;
        ASSERT_TRUE(ReadProgrammeList(ProgrammeListPath(PlayerDirectory(), Code(category)), names));
        EXPECT_EQ(names, IntendedNames(category));
        EXPECT_GE(names.size(), 3u);
        EXPECT_LE(names.size(), 6u);
    }
}

TEST(DemoCatalogue, EveryMovieLoadsAndDrawsPictures)
{
    int stopping = 0;
    int looping = 0;
    for (const demo::DemoCategory& category : demo::kDemoCatalogue) {
        for (const std::wstring& name : IntendedNames(category)) {
            SCOPED_TRACE(testing::Message() << "programme of category " << Code(category));
            movie::Player player;
            player.loadFile(MoviePath(PlayerDirectory(), name));
            const int total = player.totalFrames();
            ASSERT_GT(total, 0);
            EXPECT_EQ(player.stageWidth(), 550);
            EXPECT_EQ(player.stageHeight(), 400);
            EXPECT_GE(player.frameRate(), 12.0);
            EXPECT_LE(player.frameRate(), 24.0);
            const double seconds = total / player.frameRate();
            EXPECT_GE(seconds, 3.0);
            EXPECT_LE(seconds, 60.0);
            for (int frame : {0, total / 2, total - 1})
                EXPECT_GT(ColoursOfFrame(player, frame), 8u) << "frame " << frame;
            // Past the last frame a movie either rests there or starts again.
            player.gotoFrame(total - 2);
            player.play();
            player.step();
            player.step();
            if (player.currentFrame() == total - 1)
                ++stopping;
            else
                ++looping;
        }
    }
    EXPECT_GT(stopping, 0);
    EXPECT_GT(looping, 0);
}

TEST(DemoCatalogue, SkinDefinesEveryItemTheWindowsRead)
{
    CurrentDirectoryScope scope(PlayerDirectory());
    UnloadDefinitions();
    ErrorBoxRecorder boxes;
    QmDialogInitDef dialog;
    for (const wchar_t* item : {L"IDD_TOVALI_DIALOG", L"IDD_QMDECLARE_DIALOG"}) {
        EXPECT_TRUE(ReadInitDef(dialog, item)) << item;
        EXPECT_TRUE(dialog.bTrans);
        EXPECT_EQ(dialog.colorTrans, 15360u);
        EXPECT_TRUE(dialog.bCloseBtn);
    }
    QmStaticInitDef picture;
    for (const wchar_t* item : {L"NAV_PIC_LOGO", L"NAV_PIC_BK_TITLE", L"FRAME_PIC_BODER_LEFT",
                                L"FRAME_PIC_BODER_RIGHT", L"FRAME_PIC_BODER_BOTTOM", L"NAV_STATIC_TITLE",
                                L"NAV_STATIC_BOTTOM_TIP"}) {
        EXPECT_TRUE(ReadInitDef(picture, item)) << item;
        EXPECT_FALSE(picture.statesBmp.empty()) << item;
    }
    std::vector<std::pair<std::wstring, size_t>> buttons = {
        {L"MENU_BTN_SHENGMING", 1}, {L"FLASH_BTN_PLAY", 2}, {L"FLASH_BTN_MUTE", 2},
        {L"QM_BTN_AD1", 1},         {L"QM_BTN_AD2", 1},     {L"QM_BTN_OK", 1},
    };
    for (const Category& category : kCategories)
        buttons.emplace_back(category.buttonItem, 1);
    QmMultiStateButtonInitDef button;
    for (const auto& [item, sets] : buttons) {
        SCOPED_TRACE(testing::Message() << "button item " << std::string(item.begin(), item.end()));
        EXPECT_TRUE(ReadInitDef(button, item));
        ASSERT_EQ(button.statesBmp.size(), sets);
        for (const QmOneStateBmp& state : button.statesBmp) {
            EXPECT_FALSE(state.fnBaseBmp.empty());
            EXPECT_FALSE(state.fnActiveBmp.empty());
            EXPECT_FALSE(state.fnPressBmp.empty());
        }
    }
    EXPECT_TRUE(boxes.Texts().empty());
    UnloadDefinitions();
}

TEST(DemoCatalogue, PlayerRunsTheWholeCatalogueWithoutAnErrorBox)
{
    CurrentDirectoryScope scope(PlayerDirectory());
    UnloadDefinitions();
    ErrorBoxRecorder boxes;
    QmDialogInitDef record;
    ASSERT_TRUE(ReadInitDef(record, L"IDD_TOVALI_DIALOG"));
    PrepareMainWindowRecord(record, 1024, 768);
    CTovaliDlg player(record);
    player.SetProgramDirectory(PlayerDirectory());
    bool sawDeclaration = false;
    TimerScript script(
        {
            [&](HWND) {
                for (size_t i = 0; i < demo::kDemoCatalogue.size(); ++i) {
                    player.SendMessage(WM_COMMAND, MAKEWPARAM(kCategories[i].id, BN_CLICKED));
                    const auto names = IntendedNames(demo::kDemoCatalogue[i]);
                    EXPECT_EQ(player.GetProgrammeList()->GetCount(), static_cast<int>(names.size()));
                    EXPECT_TRUE(player.GetFlashPlayer()->bLoaded) << "category " << i + 1;
                }
                player.SendMessage(WM_COMMAND, CTovaliDlg::kIdPlay);
                player.SendMessage(WM_COMMAND, CTovaliDlg::kIdPlay);
                player.GetMuteButton()->SetState(1);
                player.GetMuteButton()->SetState(0);
                // Every menu button fits the 1024-pixel window.
                RECT client{};
                GetClientRect(player.GetHwnd(), &client);
                RECT last = player.GetMenuButton(14)->GetWindowRect();
                MapWindowPoints(nullptr, player.GetHwnd(), reinterpret_cast<POINT*>(&last), 2);
                EXPECT_LE(last.right, client.right - 5);
            },
            [&](HWND) {},
            [&](HWND) {},
            [&](HWND) {
                CQmDeclareDlg* declaration = FindDeclaration();
                ASSERT_NE(declaration, nullptr);
                sawDeclaration = true;
                EXPECT_GT(declaration->GetOkButton()->GetImageWidth(), 0);
                declaration->PostMessage(WM_COMMAND, CQmDeclareDlg::kIdOk);
            },
            [&](HWND) { player.PostMessage(WM_COMMAND, QmDialog::kIdClose); },
        },
        250);
    EXPECT_EQ(player.DoModal(), 1);
    EXPECT_TRUE(sawDeclaration);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{});
    UnloadDefinitions();
}
