#include "skin/MappedTextFile.h"

#include "skin/Codepage936.h"
#include "skin/SystemError.h"

namespace {
constexpr wchar_t kCR = 13;
constexpr wchar_t kLF = 10;
constexpr int kMaxLineLength = MappedTextFile::kLineCapacity - 1;
}

MappedTextFile::~MappedTextFile()
{
    Close();
}

bool MappedTextFile::Open(const std::wstring& fileName, TextEncoding encoding)
{
    Close();
    m_fileName = fileName;
    m_encoding = encoding;
    m_hasEncoding = true;
    m_position = m_viewStart = m_viewEnd = m_fileSize = 0;
    m_isEmpty = false;

    m_hFile = CreateFileW(fileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        ReportLastError(L"CreateFile");
        return false;
    }
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    m_granularity = info.dwAllocationGranularity;
    m_viewSize = m_granularity * 16;
    LARGE_INTEGER size{};
    GetFileSizeEx(m_hFile, &size);
    m_fileSize = static_cast<uint64_t>(size.QuadPart);
    if (m_fileSize <= m_viewSize)
        m_viewSize = static_cast<uint32_t>(m_fileSize);
    if (m_fileSize == 0) {
        m_isEmpty = true;
        return true;
    }
    m_hMap = CreateFileMappingW(m_hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m_hMap == nullptr) {
        ReportLastError(L"CreateFileMapping");
        ReleaseAll();
        return false;
    }
    if (!MapView()) {
        ReleaseAll();
        return false;
    }
    // The byte-order mark is skipped by the declared encoding alone.
    m_position = encoding == TextEncoding::EncodingUtf16LE ? 2 : 0;
    m_lineBuffer.assign(kLineCapacity, 0);
    return true;
}

void MappedTextFile::ReleaseAll()
{
    m_lineBuffer.clear();
    m_lineBuffer.shrink_to_fit();
    if (m_view != nullptr)
        UnmapViewOfFile(m_view);
    m_view = nullptr;
    if (m_hMap != nullptr)
        CloseHandle(m_hMap);
    m_hMap = nullptr;
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

void MappedTextFile::Close()
{
    if (!IsOpen())
        return;
    m_lineBuffer.clear();
    m_lineBuffer.shrink_to_fit();
    if (!m_isEmpty) {
        if (m_view != nullptr && !UnmapViewOfFile(m_view))
            ReportLastError(L"UnmapViewOfFile");
        m_view = nullptr;
        if (!CloseHandle(m_hMap))
            ReportLastError(L"CloseHandle(m_hMap)");
        m_hMap = nullptr;
    }
    CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

bool MappedTextFile::MapView()
{
    if (m_view != nullptr) {
        if (!UnmapViewOfFile(m_view))
            ReportLastError(L"UnmapViewOfFile");
        m_view = nullptr;
    }
    if (m_position >= m_fileSize)
        return false;
    m_viewStart = m_position - m_position % m_granularity;
    const uint64_t left = m_fileSize - m_viewStart;
    const uint64_t count = left < m_viewSize ? left : m_viewSize;
    m_view = static_cast<const uint8_t*>(
        MapViewOfFile(m_hMap, FILE_MAP_READ, static_cast<DWORD>(m_viewStart >> 32),
                      static_cast<DWORD>(m_viewStart & 0xFFFFFFFFu), static_cast<SIZE_T>(count)));
    if (m_view == nullptr) {
        ReportLastError(L"MapViewofFile");
        return false;
    }
    m_viewEnd = m_viewStart + count - 1;
    return true;
}

inline bool MappedTextFile::TakeByte(uint8_t& byte)
{
    if (m_position >= m_fileSize)
        return false;
    if (m_view == nullptr || m_position < m_viewStart || m_position > m_viewEnd) {
        if (!MapView())
            return false;
    }
    byte = m_view[m_position - m_viewStart];
    ++m_position;
    return true;
}

inline bool MappedTextFile::DecodeAnsi936(wchar_t& ch)
{
    uint8_t first = 0;
    if (!TakeByte(first))
        return false;
    uint8_t second = 0;
    if (first >= 0x80 && !TakeByte(second))
        return false;
    ch = Convert936(first, second);
    return true;
}

inline bool MappedTextFile::DecodeChar(wchar_t& ch)
{
    if (m_encoding == TextEncoding::EncodingAnsi936)
        return DecodeAnsi936(ch);
    // Both bytes inside the current view: the common case, without per-byte checks.
    if (m_view != nullptr && m_position >= m_viewStart && m_position < m_viewEnd) {
        const uint8_t* bytes = m_view + (m_position - m_viewStart);
        ch = static_cast<wchar_t>(bytes[1] * 256 + bytes[0]);
        m_position += 2;
        return true;
    }
    uint8_t low = 0;
    uint8_t high = 0;
    if (!TakeByte(low) || !TakeByte(high))
        return false;
    ch = static_cast<wchar_t>(high * 256 + low);
    return true;
}

bool MappedTextFile::ReadLine(std::wstring& line)
{
    if (!m_hasEncoding || !IsOpen() || m_isEmpty)
        return false;
    if (m_encoding == TextEncoding::EncodingAnsi936)
        EnsureLocale936();
    wchar_t* buffer = m_lineBuffer.data();
    int count = 0;
    bool decoded = false;
    wchar_t ch = 0;
    while (count < kMaxLineLength && DecodeChar(ch)) {
        decoded = true;
        if (ch != kCR) {
            buffer[count++] = ch;
            continue;
        }
        wchar_t next = 0;
        if (!DecodeChar(next)) {
            buffer[count++] = kCR;
            break;
        }
        if (next == kLF)
            break;
        buffer[count++] = kCR;
        buffer[count++] = next;
    }
    if (!decoded)
        return false;
    line.assign(buffer, static_cast<size_t>(count));
    return true;
}
