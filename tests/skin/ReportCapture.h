#pragma once
#include <cstdio>
#include <string>

#include "skin/SystemError.h"

// Captures the lines ReportLastError writes while it lives.
class ReportCapture {
public:
    ReportCapture() : m_file(std::tmpfile()), m_previous(SetReportStream(m_file)) {}
    ~ReportCapture()
    {
        SetReportStream(m_previous);
        if (m_file != nullptr)
            std::fclose(m_file);
    }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    std::wstring Text() const
    {
        std::wstring text;
        if (m_file == nullptr)
            return text;
        std::rewind(m_file);
        wint_t ch;
        while ((ch = std::fgetwc(m_file)) != WEOF)
            text.push_back(static_cast<wchar_t>(ch));
        return text;
    }

private:
    std::FILE* m_file;
    std::FILE* m_previous;
};
