#include <gtest/gtest.h>

#include "app/StartupRecord.h"
#include "app/TovaliApp.h"
#include "app/TovaliDlg.h"
#include "skin/Definitions.h"
#include "support/ErrorBoxRecorder.h"
#include "support/TempFiles.h"
#include "support/TimerScript.h"

TEST(Startup, RecordGetsCaptionBandAndIsOnlyEverReduced)
{
    struct Case {
        int width, height, screenWidth, screenHeight, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {4000, 900, 1920, 1080, 1920, 900},
        {800, 2000, 1920, 1080, 800, 1080},
        {800, 600, 1920, 1080, 800, 600},
        {0, 0, 1280, 1024, 0, 0},
    };
    for (const auto& c : cases) {
        QmDialogInitDef record;
        record.nWidth = c.width;
        record.nHeight = c.height;
        record.fCaptionWidth = 0.3;
        PrepareMainWindowRecord(record, c.screenWidth, c.screenHeight);
        EXPECT_EQ(record.nWidth, c.expectedWidth);
        EXPECT_EQ(record.nHeight, c.expectedHeight);
        EXPECT_DOUBLE_EQ(record.fCaptionWidth, 50.0);
    }
}

TEST(Startup, InitInstanceRunsTheFittedMainWindowModally)
{
    TempDir dir;
    ASSERT_TRUE(WriteUtf16(dir.File(L"resource.data"),
                           L"<QmDialogInitDef><IDD_TOVALI_DIALOG><nWidth>4000</nWidth>\r\n"
                           L"<nHeight>300</nHeight><fCaptionWidth>0.3</fCaptionWidth>"
                           L"</IDD_TOVALI_DIALOG></QmDialogInitDef>\r\n"));
    CurrentDirectoryScope scope(dir.Path());
    UnloadDefinitions();

    // Without any control definitions the pictures report their missing images.
    ErrorBoxRecorder boxes;
    CTovaliApp app;
    RECT seen{};
    double caption = 0;
    bool modal = false;
    bool aliveAfterKeys = false;
    auto mainWindow = [&app] { return dynamic_cast<CTovaliDlg*>(app.m_pMainWnd); };
    TimerScript script({
        [&](HWND) {
            CTovaliDlg* dialog = mainWindow();
            ASSERT_NE(dialog, nullptr);
            seen = dialog->GetWindowRect();
            caption = dialog->GetInitDef()->fCaptionWidth;
            modal = dialog->m_bModal;
            dialog->PostMessage(WM_KEYDOWN, VK_ESCAPE);
            dialog->PostMessage(WM_KEYDOWN, VK_RETURN);
        },
        [&](HWND) {
            aliveAfterKeys = mainWindow() != nullptr && mainWindow()->IsWindow();
            mainWindow()->PostMessage(WM_CLOSE);
        },
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.GetRegistryKey(), L"qumo");
    EXPECT_TRUE(modal);
    EXPECT_TRUE(aliveAfterKeys);
    EXPECT_DOUBLE_EQ(caption, 50.0);
    EXPECT_EQ(seen.right - seen.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(seen.bottom - seen.top, 300);
    UnloadDefinitions();
}
