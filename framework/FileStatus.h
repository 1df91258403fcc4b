#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

struct CFileStatus {
    uint64_t size = 0;
    DWORD attributes = 0;
    FILETIME lastWrite{};
};

// Whether a file or directory exists at path; fills status when it does.
bool GetFileStatus(const std::wstring& path, CFileStatus& status);
