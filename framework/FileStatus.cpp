#include "framework/FileStatus.h"

bool GetFileStatus(const std::wstring& path, CFileStatus& status)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    status.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.attributes = data.dwFileAttributes;
    status.lastWrite = data.ftLastWriteTime;
    return true;
}
