#include "framework/ErrorBox.h"

#include <windows.h>

#include <utility>

namespace {
ErrorBoxSink& CurrentSink()
{
    static ErrorBoxSink sink;
    return sink;
}
}

void ShowErrorBox(const std::wstring& text)
{
    if (CurrentSink()) {
        CurrentSink()(text);
        return;
    }
    MessageBoxW(GetActiveWindow(), text.c_str(), L"", MB_OK);
}

ErrorBoxSink SetErrorBoxSink(ErrorBoxSink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}
