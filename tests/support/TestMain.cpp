#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/ErrorBox.h"

// A test must never block on a modal box: unexpected boxes are printed
// and fail the running test; tests that expect one use ErrorBoxRecorder.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    SetErrorBoxSink([](const std::wstring& text) {
        std::fwprintf(stderr, L"unexpected error box: %ls\n", text.c_str());
        ADD_FAILURE() << "unexpected error box";
    });
    return RUN_ALL_TESTS();
}
