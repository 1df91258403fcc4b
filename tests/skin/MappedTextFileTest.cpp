#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ReportCapture.h"
#include "skin/MappedTextFile.h"
#include "support/TempFiles.h"

namespace {
std::vector<std::wstring> ReadAll(const std::wstring& path, TextEncoding encoding)
{
    MappedTextFile file;
    std::vector<std::wstring> lines;
    if (!file.Open(path, encoding))
        return {L"<open failed>"};
    std::wstring line;
    while (file.ReadLine(line))
        lines.push_back(line);
    file.Close();
    return lines;
}

std::wstring SystemText(DWORD code)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text != nullptr ? text : L"";
    LocalFree(text);
    return result;
}

struct LineCase {
    const char* name;
    std::wstring text;
    std::vector<std::wstring> lines;
};

const std::wstring CR = L"\r";
const std::wstring LF = L"\n";
}

TEST(MappedTextFile, SplitsLinesOnlyAtCrLf)
{
    const std::vector<LineCase> cases = {
        {"lone LF is text", L"a\nb\r\n", {L"a\nb"}},
        {"lone CR is text", L"a\rb\r\n", {L"a\rb"}},
        {"no final CR LF", L"x\r\ny", {L"x", L"y"}},
        {"two empty lines", L"\r\n\r\n", {L"", L""}},
        {"trailing CR", L"z\r", {L"z\r"}},
        {"a CR after a CR is text", L"a\r\r\nb\r\n", {L"a\r\r\nb"}},
        {"surrogates pass through", L"\xD83D\xDE00\r\n", {L"\xD83D\xDE00"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteUtf16(dir.File(L"t.txt"), c.text));
        EXPECT_EQ(ReadAll(dir.File(L"t.txt"), TextEncoding::EncodingUtf16LE), c.lines);
    }
}

TEST(MappedTextFile, Utf16BoundaryCases)
{
    TempDir dir;
    const std::wstring path = dir.File(L"u.txt");
    struct ByteCase {
        const char* name;
        std::string bytes;
        std::vector<std::wstring> lines;
    };
    const std::vector<ByteCase> cases = {
        {"empty file", "", {}},
        {"byte-order mark only", "\xFF\xFE", {}},
        {"no byte-order mark loses first character", std::string("a\0b\0", 4), {L"b"}},
        {"odd length drops last byte", std::string("\xFF\xFE" "a\0b", 5), {L"a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        EXPECT_EQ(ReadAll(path, TextEncoding::EncodingUtf16LE), c.lines);
    }
}

TEST(MappedTextFile, LongLineComesBackInPiecesWithoutLoss)
{
    TempDir dir;
    std::wstring text;
    for (int i = 0; i < 40000; ++i)
        text.push_back(static_cast<wchar_t>(L'a' + i % 26));
    ASSERT_TRUE(WriteUtf16(dir.File(L"long.txt"), text + L"\r\nend"));
    const auto lines = ReadAll(dir.File(L"long.txt"), TextEncoding::EncodingUtf16LE);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 32767u);
    EXPECT_EQ(lines[1].size(), 7233u);
    EXPECT_EQ(lines[0] + lines[1], text);
    EXPECT_EQ(lines[2], L"end");
}

TEST(MappedTextFile, DecodesCodePage936)
{
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"a.inb"), "\xB2\xE2\xCA\xD4\r\nabc\r\n"));
    const auto lines = ReadAll(dir.File(L"a.inb"), TextEncoding::EncodingAnsi936);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"\x6D4B\x8BD5", L"abc"}));
}

TEST(MappedTextFile, ReadsAcrossViewBoundariesWithoutLosingBytes)
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const size_t viewSize = static_cast<size_t>(info.dwAllocationGranularity) * 16;
    // Three views of short lines; "测" (B2 E2) straddles the first boundary.
    std::string bytes;
    std::vector<std::wstring> expected;
    for (int i = 0; bytes.size() + 40 < viewSize; ++i) {
        bytes += "line" + std::to_string(i) + "\xCA\xD4\r\n";
        expected.push_back(L"line" + std::to_wstring(i) + L"\x8BD5");
    }
    const size_t pad = viewSize - 1 - bytes.size();
    bytes += std::string(pad, 'x') + "\xB2\xE2\r\n";
    expected.push_back(std::wstring(pad, L'x') + L"\x6D4B");
    for (int i = 0; bytes.size() < 3 * viewSize; ++i) {
        bytes += "z" + std::to_string(i) + "\r\n";
        expected.push_back(L"z" + std::to_wstring(i));
    }
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"big.inb"), bytes));
    EXPECT_EQ(ReadAll(dir.File(L"big.inb"), TextEncoding::EncodingAnsi936), expected);
}

TEST(MappedTextFile, MissingFileReportsCreateFileError2)
{
    TempDir dir;
    ReportCapture capture;
    MappedTextFile file;
    EXPECT_FALSE(file.Open(dir.File(L"missing.txt"), TextEncoding::EncodingUtf16LE));
    std::wstring line;
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(capture.Text(), L"CreateFile failed with error 2: " + SystemText(2) + L"\n");
}

TEST(MappedTextFile, OpenIsExclusive)
{
    TempDir dir;
    ASSERT_TRUE(WriteUtf16(dir.File(L"x.txt"), L"one\r\n"));
    MappedTextFile first;
    ASSERT_TRUE(first.Open(dir.File(L"x.txt"), TextEncoding::EncodingUtf16LE));
    {
        ReportCapture capture;
        MappedTextFile second;
        EXPECT_FALSE(second.Open(dir.File(L"x.txt"), TextEncoding::EncodingUtf16LE));
        EXPECT_EQ(capture.Text(), L"CreateFile failed with error 32: " +
                                      SystemText(ERROR_SHARING_VIOLATION) + L"\n");
    }
    std::wstring line;
    EXPECT_TRUE(first.ReadLine(line));
    EXPECT_EQ(line, L"one");
    first.Close();
    MappedTextFile third;
    EXPECT_TRUE(third.Open(dir.File(L"x.txt"), TextEncoding::EncodingUtf16LE));
}

TEST(MappedTextFile, ReopensAfterCloseAndNeverOpenedYieldsNothing)
{
    TempDir dir;
    ASSERT_TRUE(WriteUtf16(dir.File(L"a.txt"), L"a\r\n"));
    ASSERT_TRUE(WriteUtf16(dir.File(L"b.txt"), L"b\r\n"));
    MappedTextFile file;
    std::wstring line = L"unchanged";
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(line, L"unchanged");
    ASSERT_TRUE(file.Open(dir.File(L"a.txt"), TextEncoding::EncodingUtf16LE));
    ASSERT_TRUE(file.Open(dir.File(L"b.txt"), TextEncoding::EncodingUtf16LE));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, L"b");
    file.Close();
    file.Close();
    // The first file was released when the reader moved on.
    MappedTextFile other;
    EXPECT_TRUE(other.Open(dir.File(L"a.txt"), TextEncoding::EncodingUtf16LE));
}
