#include "app/Catalogue.h"

#include "skin/MappedTextFile.h"

const Category kCategories[kCategoryCount] = {
    {1000, L"01", L"MENU_BTN_XIAOGUSHI", L"xiaogushi"},
    {1001, L"02", L"MENU_BTN_CHENGYUGUSHI", L"chengyu"},
    {1002, L"03", L"MENU_BTN_TONGHUAGUSHI", L"tonghua"},
    {1003, L"04", L"MENU_BTN_GUDIANSHENHUA", L"shenhua"},
    {1004, L"05", L"MENU_BTN_ZHONGWENERGE", L"zhongwenerge"},
    {1005, L"06", L"MENU_BTN_ZHONGWENTONGYAO", L"zhongwentongyao"},
    {1006, L"07", L"MENU_BTN_XUEGUSHI", L"xuegushi"},
    {1007, L"08", L"MENU_BTN_XUEPINYIN", L"xuepinyin"},
    {1008, L"09", L"MENU_BTN_BAIKECHANGSHI", L"baikechangshi"},
    {1009, L"10", L"MENU_BTN_YIZHIYOUXI", L"yizhiyouxi"},
    {1010, L"11", L"MENU_BTN_SHUXUEYOUXI", L"shuxueyouxi"},
    {1011, L"12", L"MENU_BTN_YUWENYOUXI", L"yuwenyouxi"},
    {1012, L"13", L"MENU_BTN_YOUERYINGYU", L"youeryingyu"},
    {1013, L"14", L"MENU_BTN_YINGWENERGE", L"yingwenerge"},
};

const Category* FindCategory(UINT id)
{
    for (const Category& category : kCategories)
        if (category.id == id)
            return &category;
    return nullptr;
}

std::wstring ProgrammeListPath(const std::wstring& programDir, const std::wstring& code)
{
    return programDir + L"cont\\b" + code + L".inb";
}

std::wstring MoviePath(const std::wstring& programDir, const std::wstring& name)
{
    return programDir + L"swf\\" + name + L".swf";
}

bool ReadProgrammeList(const std::wstring& path, std::vector<std::wstring>& names)
{
    names.clear();
    MappedTextFile file;
    if (!file.Open(path, TextEncoding::EncodingAnsi936))
        return false;
    std::wstring line;
    while (file.ReadLine(line))
        names.push_back(line);
    file.Close();
    return true;
}
