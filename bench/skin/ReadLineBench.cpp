#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/BenchTimer.h"
#include "skin/MappedTextFile.h"

// ReadLine throughput over 50 MB files in both encodings, beside a baseline
// that maps the same file view by view and reads every byte once.
namespace {
constexpr size_t kFileBytes = 50u * 1024 * 1024;

std::wstring TempPath(const wchar_t* name)
{
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    return std::wstring(base) + name;
}

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string MakeAnsi936()
{
    // Programme-list-like lines: Chinese names with some ASCII.
    const std::string line = "\xD0\xA1\xB9\xCA\xCA\xC2 The little story 01 \xB3\xC9\xD3\xEF\r\n";
    std::string bytes;
    bytes.reserve(kFileBytes + line.size());
    while (bytes.size() < kFileBytes)
        bytes += line;
    return bytes;
}

std::string MakeUtf16()
{
    const std::wstring line = L"<MENU_BTN_XIAOGUSHI><statesBmp>BtnStory</statesBmp>\x5C0F\x6545\x4E8B\r\n";
    std::string bytes = "\xFF\xFE";
    bytes.reserve(kFileBytes + line.size() * 2);
    while (bytes.size() < kFileBytes)
        for (wchar_t ch : line) {
            bytes.push_back(static_cast<char>(ch & 0xFF));
            bytes.push_back(static_cast<char>(ch >> 8));
        }
    return bytes;
}

unsigned TouchEveryByte(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    HANDLE map = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const uint64_t view = 16u * 65536u;
    unsigned sum = 0;
    for (uint64_t offset = 0; offset < static_cast<uint64_t>(size.QuadPart); offset += view) {
        const uint64_t count = std::min<uint64_t>(view, size.QuadPart - offset);
        auto* bytes = static_cast<const volatile uint8_t*>(
            MapViewOfFile(map, FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                          static_cast<DWORD>(offset), static_cast<SIZE_T>(count)));
        for (uint64_t i = 0; i < count; ++i)
            sum += bytes[i];
        UnmapViewOfFile(const_cast<const uint8_t*>(bytes));
    }
    CloseHandle(map);
    CloseHandle(file);
    return sum;
}

size_t ReadAllLines(const std::wstring& path, TextEncoding encoding)
{
    MappedTextFile file;
    file.Open(path, encoding);
    std::wstring line;
    size_t characters = 0;
    while (file.ReadLine(line))
        characters += line.size();
    file.Close();
    return characters;
}

void Report(const char* name, const BenchResult& result, size_t bytes)
{
    PrintBenchResult(name, result);
    std::printf("%-60s %10.1f MB/s (median)\n", "", bytes / result.medianMicros);
}

void Measure(const char* label, const std::wstring& path, const std::string& bytes,
             TextEncoding encoding)
{
    WriteFile(path, bytes);
    volatile size_t sink = 0;
    const std::string base = std::string(label) + ": baseline, every mapped byte once";
    Report(base.c_str(), MeasureMicros([&] { sink = sink + TouchEveryByte(path); }, 1, 5),
           bytes.size());
    const std::string read = std::string(label) + ": ReadLine";
    Report(read.c_str(), MeasureMicros([&] { sink = sink + ReadAllLines(path, encoding); }, 1, 5),
           bytes.size());
    DeleteFileW(path.c_str());
}
}

int main()
{
    Measure("code page 936, 50 MB", TempPath(L"tovali-bench-936.inb"), MakeAnsi936(),
            TextEncoding::EncodingAnsi936);
    Measure("UTF-16 LE, 50 MB", TempPath(L"tovali-bench-utf16.data"), MakeUtf16(),
            TextEncoding::EncodingUtf16LE);
    return 0;
}
