#include <gtest/gtest.h>
#include <windows.h>

#include "skin/Directories.h"
#include "support/TempFiles.h"

TEST(Directories, ModuleDirectoryHoldsTheExecutable)
{
    std::wstring directory = L"unchanged";
    ASSERT_TRUE(GetModuleDirectory(directory));
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), L'\\');
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(std::wstring(path).rfind(directory, 0), 0u);
    EXPECT_EQ(std::wstring(path).find(L'\\', directory.size()), std::wstring::npos);
}

TEST(Directories, CurrentDirectoryEndsInOneBackslash)
{
    TempDir dir;
    {
        CurrentDirectoryScope scope(dir.Path());
        EXPECT_EQ(GetCurrentDirectoryPath(), dir.Path());
    }
    {
        CurrentDirectoryScope scope(L"C:\\");
        EXPECT_EQ(GetCurrentDirectoryPath(), L"C:\\");
    }
}
