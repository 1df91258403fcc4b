#pragma once
#include <windows.h>

#include <string>

#include "framework/Object.h"

class CWnd;

// The application object. Exactly one exists; the program's entry point
// calls InitInstance and, only when that returns true, runs a message pump.
class CWinAppEx : public CObject {
public:
    CWinAppEx();
    ~CWinAppEx() override;
    CWinAppEx(const CWinAppEx&) = delete;
    CWinAppEx& operator=(const CWinAppEx&) = delete;

    static CWinAppEx* GetApp();

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }
    // The default handler of the standard help command: there is no help file to open.
    virtual void OnHelp() {}

    // The name of the per-user settings key; kept in memory only.
    void SetRegistryKey(const std::wstring& key) { m_registryKey = key; }
    const std::wstring& GetRegistryKey() const { return m_registryKey; }

    // Runs the entry point's sequence: InitInstance, then a pump when it asked for one.
    int Run(HINSTANCE instance);

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

private:
    std::wstring m_registryKey;
};

// The standard help command id.
constexpr UINT kIdHelp = 57670;
