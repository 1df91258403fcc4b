#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One programme category: its button's command id, its two-digit code, the
// definition item of its button and the button's placement name in the menu row.
struct Category {
    UINT id;
    const wchar_t* code;
    const wchar_t* buttonItem;
    const wchar_t* placementName;
};

constexpr int kCategoryCount = 14;
extern const Category kCategories[kCategoryCount];

// The category of a command id, or null.
const Category* FindCategory(UINT id);

// "cont\b<code>.inb" under the program directory.
std::wstring ProgrammeListPath(const std::wstring& programDir, const std::wstring& code);
// "swf\<name>.swf" under the program directory.
std::wstring MoviePath(const std::wstring& programDir, const std::wstring& name);

// Every line of a code-page-936 list file, untrimmed, in file order; false
// when the file cannot be opened.
bool ReadProgrammeList(const std::wstring& path, std::vector<std::wstring>& names);
