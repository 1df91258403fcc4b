#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum class TextEncoding {
    EncodingAnsi936 = 0,
    EncodingUtf16LE = 1,
};

// Reads a text file line by line through a read-only file mapping, one view
// of at most 16 allocation-granularity units at a time, moving forward in
// granularity-aligned steps. Only CR LF ends a line; lines longer than 32767
// characters come back in pieces. The file is opened exclusively.
class MappedTextFile {
public:
    MappedTextFile() = default;
    ~MappedTextFile();
    MappedTextFile(const MappedTextFile&) = delete;
    MappedTextFile& operator=(const MappedTextFile&) = delete;

    bool Open(const std::wstring& fileName, TextEncoding encoding);
    bool ReadLine(std::wstring& line);
    void Close();

    static constexpr int kLineCapacity = 32768;

private:
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    void ReleaseAll();
    bool MapView();
    bool TakeByte(uint8_t& byte);
    bool DecodeChar(wchar_t& ch);
    bool DecodeAnsi936(wchar_t& ch);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hMap = nullptr;
    uint32_t m_granularity = 65536;
    uint32_t m_viewSize = 0;
    std::vector<wchar_t> m_lineBuffer;
    TextEncoding m_encoding = TextEncoding::EncodingAnsi936;
    bool m_hasEncoding = false;
    std::wstring m_fileName;
    uint64_t m_position = 0;
    uint64_t m_viewStart = 0;
    uint64_t m_viewEnd = 0;
    uint64_t m_fileSize = 0;
    const uint8_t* m_view = nullptr;
    bool m_isEmpty = false;
};
