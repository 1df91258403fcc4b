#include "skin/SystemError.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {
std::FILE* g_reportStream = nullptr;

std::FILE* ReportStream()
{
    return g_reportStream != nullptr ? g_reportStream : stdout;
}

struct LocalMemory {
    wchar_t* text = nullptr;
    ~LocalMemory()
    {
        if (text != nullptr)
            LocalFree(text);
    }
};
}

std::FILE* SetReportStream(std::FILE* stream)
{
    std::FILE* previous = g_reportStream;
    g_reportStream = stream;
    return previous;
}

void ReportLastError(const std::wstring& operationName)
{
    const DWORD code = GetLastError();
    LocalMemory message;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<wchar_t*>(&message.text), 0, nullptr);
    const wchar_t* text = message.text != nullptr ? message.text : L"";
    std::vector<wchar_t> line(operationName.size() + wcslen(text) + 40);
    swprintf(line.data(), line.size(), L"%ls failed with error %d: %ls", operationName.c_str(),
             static_cast<int>(code), text);
    std::FILE* out = ReportStream();
    fputws(line.data(), out);
    fputwc(L'\n', out);
    fflush(out);
}
