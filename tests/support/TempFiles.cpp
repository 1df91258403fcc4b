#include "support/TempFiles.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {
void RemoveTree(const std::wstring& directory)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((directory + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = directory + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(directory.c_str());
}
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    for (;;) {
        m_path = std::wstring(base) + L"tovali-test-" + std::to_wstring(GetCurrentProcessId()) +
                 L"-" + std::to_wstring(counter++) + L"\\";
        if (CreateDirectoryW(m_path.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteUtf16(const std::wstring& path, const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t ch : text) {
        bytes.push_back(static_cast<char>(ch & 0xFF));
        bytes.push_back(static_cast<char>((ch >> 8) & 0xFF));
    }
    return WriteBytes(path, bytes);
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::wstring& directory)
{
    wchar_t previous[1024] = {};
    GetCurrentDirectoryW(1024, previous);
    m_previous = previous;
    SetCurrentDirectoryW(directory.c_str());
}

CurrentDirectoryScope::~CurrentDirectoryScope()
{
    SetCurrentDirectoryW(m_previous.c_str());
}
