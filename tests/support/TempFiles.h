#pragma once
#include <string>

// A fresh directory under the system's temporary folder, removed with its files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, ending in a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

bool WriteBytes(const std::wstring& path, const std::string& bytes);
// UTF-16 little-endian with a byte-order mark.
bool WriteUtf16(const std::wstring& path, const std::wstring& text);

// Changes the current directory for the life of the object.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::wstring& directory);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::wstring m_previous;
};
