#include <windows.h>

#include <cstdio>
#include <string>

#include "support/BenchTimer.h"

// Time from starting the player to its first idle moment, which comes after
// the main window's first paint: the modal loop only waits for input once the
// window's paint messages are handled. Runs the player of the build (with the
// demo catalogue beside it) and ends it after each measurement.
namespace {
std::wstring PlayerDirectory()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path);
    directory.resize(directory.find_last_of(L'\\') + 1);
    return directory + L"..\\..\\player\\";
}

bool StartAndWaitForFirstPaint(const std::wstring& directory)
{
    std::wstring commandLine = L"\"" + directory + L"tovali.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process))
        return false;
    const bool idle = WaitForInputIdle(process.hProcess, 20000) == 0;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return idle;
}
}

int wmain()
{
    const std::wstring directory = PlayerDirectory();
    bool ok = true;
    const BenchResult result =
        MeasureMicros([&] { ok = StartAndWaitForFirstPaint(directory) && ok; }, 1, 7);
    if (!ok) {
        std::printf("the player could not be started from %ls\n", directory.c_str());
        return 1;
    }
    PrintBenchResult("process start to first painted main window (demo catalogue)", result);
    return 0;
}
