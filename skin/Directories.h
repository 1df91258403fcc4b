#pragma once
#include <string>

// Directory of the running executable, ending in a backslash; false (and
// directory unchanged) when the path is too long.
bool GetModuleDirectory(std::wstring& directory);

// The process's current directory, ending in a backslash; empty when it cannot be read.
std::wstring GetCurrentDirectoryPath();
