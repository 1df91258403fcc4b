#pragma once
#include <cstdio>
#include <string>

// Writes "<operation> failed with error <code>: <system text>" for the calling
// thread's last error to the report stream (standard output unless redirected).
void ReportLastError(const std::wstring& operationName);

// Redirects the reports (tests); returns the previous stream.
std::FILE* SetReportStream(std::FILE* stream);
