#include <gtest/gtest.h>

#include "support/ErrorBoxRecorder.h"

TEST(ErrorBox, RecorderCapturesTextsInOrderAndRestoresPreviousSink)
{
    std::vector<std::wstring> outer;
    ErrorBoxSink previous = SetErrorBoxSink([&](const std::wstring& t) { outer.push_back(t); });
    {
        ErrorBoxRecorder recorder;
        ShowErrorBox(L"Error in one");
        ShowErrorBox(L"Error! 无法载入文件x");
        ASSERT_EQ(recorder.Texts().size(), 2u);
        EXPECT_EQ(recorder.Texts()[1], L"Error! 无法载入文件x");
    }
    ShowErrorBox(L"after");
    SetErrorBoxSink(previous);
    ASSERT_EQ(outer.size(), 1u);
    EXPECT_EQ(outer[0], L"after");
}
