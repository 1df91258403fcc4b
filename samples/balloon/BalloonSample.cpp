#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "skin/Directories.h"
#include "skin/InitDefs.h"
#include "toolkit/QmHelpBalloon.h"

// Hover a label to see its help balloon; it hides a few seconds after the
// mouse left it. For screenshots, one argument opens a balloon at once and
// keeps it: q0 to q3 (the label whose quadrant that is), point, corner
// (parked at the window's corner) or anchor (parked above the corner label).
namespace {
constexpr UINT kHostTemplate = 1;
constexpr UINT kBalloonTemplate = 2;
constexpr UINT_PTR kHoverTimer = 1;

struct LabelEntry {
    const wchar_t* item;
    const wchar_t* cell;
    const wchar_t* placement;
    const wchar_t* help;
};

// In quadrant order 0 to 3, then the corner label.
const LabelEntry kLabels[] = {
    {L"NAV_STATIC_SEEK", L"RB", L"inside=true,pos=atCenter",
     L"拖动滑块，跳到节目的任意位置"},
    {L"NAV_STATIC_LIST", L"RT", L"inside=true,pos=atCenter", L"从列表里选一个节目"},
    {L"NAV_STATIC_MUTE", L"LB", L"inside=true,pos=atTop,my=30", L"静音或恢复声音"},
    {L"NAV_STATIC_PLAY", L"LT", L"inside=true,pos=atCenter",
     L"Play or pause the programme."},
    {L"NAV_STATIC_CORNER", L"LB", L"inside=true,pos=atLeftBottom,mx=24,my=16",
     L"把气球停在这里"},
};

class BalloonSampleDlg : public QmDialog {
public:
    BalloonSampleDlg(const QmDialogInitDef& def, std::wstring mode)
        : QmDialog(def, kHostTemplate), m_mode(std::move(mode)) {}

protected:
    bool OnInitDialog() override
    {
        const bool skinned = QmDialog::OnInitDialog();
        BuildLayout();
        CreateBalloon();
        Relayout();
        StartMode();
        SetTimer(kHoverTimer, 150);
        return skinned;
    }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TIMER && wParam == kHoverTimer) {
            FollowMouse();
            return 0;
        }
        return QmDialog::WndProc(msg, wParam, lParam);
    }

private:
    void BuildLayout()
    {
        QmCell* cell = GetLayoutCell();
        if (cell == nullptr || !cell->Split(L"row(Title(32),Body(*))"))
            return;
        QmCell* body = cell->FindCell(L"Body");
        body->Split(L"col(Left(0.5),Right(*))");
        body->FindCell(L"Left")->Split(L"row(LT(0.5),LB(*))");
        body->FindCell(L"Right")->Split(L"row(RT(0.5),RB(*))");
        for (const LabelEntry& entry : kLabels) {
            QmStaticInitDef def;
            ReadInitDef(def, entry.item);
            auto label = std::make_unique<QmStatic>();
            label->QmCreate(def, this, 0);
            label->m_textWrapper.m_bFillBack = false;
            // Otherwise a label paints over the balloon that overlaps it.
            label->ModifyStyle(0, WS_CLIPSIBLINGS);
            m_labels.push_back(label->GetHwnd());
            if (body->FindCell(entry.cell)->AddCellCtrl(label.get(), entry.placement))
                label.release();
        }
    }

    void CreateBalloon()
    {
        QmHelpBalloonDef def;
        ReadHelpBalloonDef(def, L"IDD_HELP_BALLOON");
        m_balloon = new QmHelpBalloon(def, kBalloonTemplate);
        if (!m_balloon->Create(*this)) {
            delete m_balloon;
            m_balloon = nullptr;
            return;
        }
        for (size_t i = 0; i < m_labels.size(); ++i)
            m_balloon->AddHelpText(m_labels[i], kLabels[i].help);
        m_balloon->AddHelpText(m_labels[0], L"只说这一小块", 20, 20);
    }

    void StartMode()
    {
        if (m_balloon == nullptr || m_mode.empty())
            return;
        m_balloon->SetHideDelay(0);
        m_fixed = true;
        if (m_mode.size() == 2 && m_mode[0] == L'q' && m_mode[1] >= L'0' && m_mode[1] <= L'3') {
            m_balloon->ShowHelp(m_labels[m_mode[1] - L'0']);
        } else if (m_mode == L"point") {
            m_balloon->ShowHelp(m_labels[0], 20, 20);
        } else if (m_mode == L"corner" || m_mode == L"anchor") {
            m_balloon->ShowHelp(m_labels[3]);
            m_balloon->SetCornerMode(true, m_mode == L"anchor" ? m_labels[4] : nullptr);
        }
    }

    void FollowMouse()
    {
        if (m_balloon == nullptr || m_fixed)
            return;
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(GetHwnd(), &cursor);
        HWND under = ChildWindowFromPointEx(GetHwnd(), cursor, CWP_SKIPINVISIBLE);
        if (under == m_hovered || under == m_balloon->GetHwnd())
            return;
        m_hovered = under;
        if (!m_balloon->GetHelpText(under, -1, -1).empty())
            m_balloon->ShowHelp(under);
    }

    std::wstring m_mode;
    bool m_fixed = false;
    std::vector<HWND> m_labels;
    QmHelpBalloon* m_balloon = nullptr;
    HWND m_hovered = nullptr;
};

std::wstring FirstArgument()
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring first = args != nullptr && count > 1 ? args[1] : L"";
    LocalFree(args);
    return first;
}

class BalloonSampleApp : public CWinAppEx {
public:
    bool InitInstance() override
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        // The skin's paths are relative to the sample's folder.
        std::wstring directory;
        if (GetModuleDirectory(directory))
            SetCurrentDirectoryW(directory.c_str());
        QmDialogInitDef def;
        ReadInitDef(def, L"IDD_BALLOON_SAMPLE");
        BalloonSampleDlg dialog(def, FirstArgument());
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        return false;
    }
};

BalloonSampleApp theApp;
}
