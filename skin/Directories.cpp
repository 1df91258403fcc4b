#include "skin/Directories.h"

#include <windows.h>

namespace {
constexpr size_t kMaxPath = 260;
constexpr DWORD kCurrentDirectoryCapacity = 1024;
}

bool GetModuleDirectory(std::wstring& directory)
{
    wchar_t path[kMaxPath] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, kMaxPath);
    if (length == 0 || length >= kMaxPath)
        return false;
    const std::wstring full(path, length);
    const size_t driveLength = full.size() >= 2 && full[1] == L':' ? 2 : 0;
    const size_t lastSlash = full.find_last_of(L"\\/");
    const size_t end = lastSlash == std::wstring::npos || lastSlash < driveLength ? driveLength
                                                                                  : lastSlash + 1;
    if (end > kMaxPath)
        return false;
    directory = full.substr(0, end);
    return true;
}

std::wstring GetCurrentDirectoryPath()
{
    wchar_t buffer[kCurrentDirectoryCapacity] = {};
    const DWORD length = GetCurrentDirectoryW(kCurrentDirectoryCapacity, buffer);
    // A longer path would not fit: report none rather than a cut one.
    if (length == 0 || length >= kCurrentDirectoryCapacity)
        return {};
    std::wstring text(buffer, length);
    if (text.back() != L'\\')
        text += L'\\';
    return text;
}
