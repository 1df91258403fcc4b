#include "app/TovaliDlg.h"

#include <shellapi.h>

#include <algorithm>

#include "app/Catalogue.h"
#include "app/DeclareDlg.h"
#include "app/Links.h"
#include "app/PlayerInput.h"
#include "framework/FileStatus.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "skin/Directories.h"
#include "toolkit/TextWrapper.h"

namespace {
constexpr wchar_t kTipSentence[] = L"家长小提示：请陪孩子一起观看，每次看二十分钟就让眼睛休息一下吧。";
constexpr UINT kTimerPeriodMs = 500;
constexpr wchar_t kDeclarationButtonItem[] = L"MENU_BTN_SHENGMING";
}

CTovaliDlg::CTovaliDlg(const QmDialogInitDef& record) : QmDialog(record, IDD_TOVALI_DIALOG)
{
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!GetModuleDirectory(m_strProgramDir))
        m_strProgramDir.clear();
}

CTovaliDlg::~CTovaliDlg() = default;

template <class T>
T* CTovaliDlg::Allocate()
{
    auto object = std::make_unique<T>();
    T* raw = object.get();
    m_unplaced.push_back(std::move(object));
    return raw;
}

bool CTovaliDlg::OnInitDialog()
{
    QmDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    CreateControlObjects();
    CreateControlsFromDefinitions();
    ApplyLayout();
    Relayout();
    ShowControls();
    OnCommand(MAKEWPARAM(kCategories[0].id, BN_CLICKED), 0);
    SetTimer(kDeclarationTimer, kTimerPeriodMs);
    m_listBrush.Attach(CreateSolidBrush(kListBack));
    m_bInitialized = true;
    return true;
}

void CTovaliDlg::CreateControlObjects()
{
    m_pLogo = Allocate<QmBkgndPic>();
    m_pTitleBack = Allocate<QmBkgndPic>();
    m_pBorderLeft = Allocate<QmBkgndPic>();
    m_pBorderRight = Allocate<QmBkgndPic>();
    m_pBorderBottom = Allocate<QmBkgndPic>();
    m_pTitle = Allocate<QmStatic>();
    m_pTip = Allocate<QmStatic>();
    for (QmButton*& button : m_menuButtons)
        button = Allocate<QmButton>();
    m_pBtnMute = Allocate<QmButton>();
    m_pBtnPlay = Allocate<QmButton>();
    for (QmButton*& button : m_linkButtons)
        button = Allocate<QmButton>();
    m_pFlashPlayer = std::make_unique<CFlashPlayer>();
    m_unplaced.emplace_back(m_pFlashPlayer->ReleaseControl());
    m_pList = Allocate<CListBox>();
    m_pSlider = Allocate<CSliderCtrl>();
}

void CTovaliDlg::CreatePictures(QmStaticInitDef& def)
{
    const std::pair<QmBkgndPic*, const wchar_t*> pictures[] = {
        {m_pLogo, L"NAV_PIC_LOGO"},
        {m_pTitleBack, L"NAV_PIC_BK_TITLE"},
        {m_pBorderLeft, L"FRAME_PIC_BODER_LEFT"},
        {m_pBorderRight, L"FRAME_PIC_BODER_RIGHT"},
        {m_pBorderBottom, L"FRAME_PIC_BODER_BOTTOM"},
    };
    for (const auto& [picture, item] : pictures) {
        ReadInitDef(def, item);
        picture->QmCreate(def, this);
    }
}

void CTovaliDlg::CreateLabel(QmStatic* label, QmStaticInitDef& def, const wchar_t* item, UINT id,
                             COLORREF textColor)
{
    ReadInitDef(def, item);
    label->QmCreate(def, this, id);
    QmTextWrapper& wrapper = label->m_textWrapper;
    wrapper.m_nAlign = 0;
    wrapper.m_nOffsetX = 0;
    wrapper.m_nOffsetY = 0;
    wrapper.Refresh();
    wrapper.m_colorText = textColor;
    wrapper.m_bFillBack = false;
    wrapper.m_colorBack = 0x00FFFFFF;
    wrapper.m_colorAlt = 0x00000000;
    wrapper.Refresh();
}

void CTovaliDlg::CreateButtons()
{
    QmMultiStateButtonInitDef def;
    for (int i = 0; i < kCategoryCount; ++i) {
        ReadInitDef(def, kCategories[i].buttonItem);
        m_menuButtons[static_cast<size_t>(i)]->QmCreate(def, this, kCategories[i].id,
                                                        QmButton::kToggle, 0);
    }
    ReadInitDef(def, kDeclarationButtonItem);
    m_menuButtons[14]->QmCreate(def, this, kIdDeclaration, QmButton::kToggle, 0);
    ReadInitDef(def, L"FLASH_BTN_MUTE");
    m_pBtnMute->QmCreate(def, this, kIdMute, QmButton::kLatch, 0);
    m_pBtnMute->SetState(0);
    m_pBtnMute->SetChecked(true);
    ReadInitDef(def, L"FLASH_BTN_PLAY");
    m_pBtnPlay->QmCreate(def, this, kIdPlay, QmButton::kLatch, 0);
    ReadInitDef(def, L"QM_BTN_AD1");
    m_linkButtons[0]->QmCreate(def, this, kIdLink1, QmButton::kToggle, 0);
    ReadInitDef(def, L"QM_BTN_AD2");
    m_linkButtons[1]->QmCreate(def, this, kIdLink2, QmButton::kToggle, 0);
}

void CTovaliDlg::CreateListAndSlider()
{
    const RECT small{0, 0, 120, 30};
    m_pFlashPlayer->Control().Create(nullptr, WS_CHILD, small, GetHwnd(), kIdMovie);
    m_pList->Create(0x00A00101 | WS_CHILD, small, GetHwnd(), kIdList);
    m_pListFont = CreateTextFont(14, L"仿宋");
    if (m_pListFont)
        m_pList->SetFont(m_pListFont->Get(), false);
    m_pSlider->Create(TBS_NOTICKS | WS_CHILD, RECT{0, 0, 400, 30}, GetHwnd(), kIdSlider);
}

void CTovaliDlg::CreateControlsFromDefinitions()
{
    QmStaticInitDef staticDef;
    CreatePictures(staticDef);
    CreateLabel(m_pTitle, staticDef, L"NAV_STATIC_TITLE", kIdTitle, 0x00FFFFFF);
    CreateLabel(m_pTip, staticDef, L"NAV_STATIC_BOTTOM_TIP", kIdTip, 0x00000000);
    m_pTip->m_textWrapper.SetText(kTipSentence, false);
    CreateButtons();
    CreateListAndSlider();
}

void CTovaliDlg::Place(QmCell* cell, CObject* control, const wchar_t* placement)
{
    if (cell == nullptr || !cell->AddCellCtrl(control, placement))
        return;
    auto it = std::find_if(m_unplaced.begin(), m_unplaced.end(),
                           [control](const auto& owned) { return owned.get() == control; });
    if (it != m_unplaced.end()) {
        it->release();
        m_unplaced.erase(it);
    }
}

void CTovaliDlg::PlaceMenuButtons(QmCell* menu)
{
    static const wchar_t* const placements[15] = {
        L"name=xiaogushi,inside=true,pos=atLeft,mx=0",
        L"name=chengyu,anchor=xiaogushi,inside=false,pos=atRight,mx=3",
        L"name=tonghua,anchor=chengyu,inside=false,pos=atRight,mx=3",
        L"name=shenhua,anchor=tonghua,inside=false,pos=atRight,mx=3",
        L"name=zhongwenerge,anchor=shenhua,inside=false,pos=atRight,mx=3",
        L"name=zhongwentongyao,anchor=zhongwenerge,inside=false,pos=atRight,mx=3",
        L"name=xuegushi,anchor=zhongwentongyao,inside=false,pos=atRight,mx=3",
        L"name=xuepinyin,anchor=xuegushi,inside=false,pos=atRight,mx=3",
        L"name=baikechangshi,anchor=xuepinyin,inside=false,pos=atRight,mx=3",
        L"name=yizhiyouxi,anchor=baikechangshi,inside=false,pos=atRight,mx=3",
        L"name=shuxueyouxi,anchor=yizhiyouxi,inside=false,pos=atRight,mx=3",
        L"name=yuwenyouxi,anchor=shuxueyouxi,inside=false,pos=atRight,mx=3",
        L"name=youeryingyu,anchor=yuwenyouxi,inside=false,pos=atRight,mx=3",
        L"name=yingwenerge,anchor=youeryingyu,inside=false,pos=atRight,mx=3",
        L"name=mianzeshengming,anchor=yingwenerge,inside=false,pos=atRight,mx=3",
    };
    menu->Split(L"col(5,*,5)");
    for (size_t i = 0; i < m_menuButtons.size(); ++i)
        Place(menu->GetChild(1), m_menuButtons[i], placements[i]);
}

void CTovaliDlg::PlaceFooter(QmCell* footer)
{
    footer->Split(L"col(5,*,0.43,5)");
    QmCell* f = footer->GetChild(1);
    if (f == nullptr)
        return;
    f->Split(L"row(0.5,0.5)");
    QmCell* r = f->GetChild(0);
    if (r != nullptr) {
        r->Split(L"col(30, 30, 0.7, *)");
        Place(r->GetChild(0), m_pBtnMute, L"name=mute,inside=true, pos=atLeftTop, my=15");
        Place(r->GetChild(1), m_pBtnPlay, L"name=play, inside=true, pos=atLeftTop, my=15");
        Place(r->GetChild(2), m_pSlider, L"name=slider,inside=true,fill=false, pos=atLeftTop, my=15");
    }
    Place(f->GetChild(1), m_linkButtons[0], L"inside=true, fill=false,pos=atLeft");
    Place(footer->GetChild(2), m_linkButtons[1], L"inside=true, fill=false,pos=atRight, mx=10, my=15");
}

void CTovaliDlg::ApplyLayout()
{
    QmCell* root = GetLayoutCell();
    if (root == nullptr)
        return;
    root->Split(L"row(Title(21),Frame(*))");
    QmCell* title = root->FindCell(L"Title");
    Place(title, m_pTitleBack, L"inside=true,fill=true");
    Place(title, m_pLogo, L"name=logo, inside=true, fill=false, pos=atLeft, mx=5");
    Place(title, m_pTitle, L"inside=false, fill=false, anchor=logo, pos=atRight, mx=2");
    QmCell* frame = root->FindCell(L"Frame");
    if (frame == nullptr)
        return;
    frame->Split(L"col(BorderLeft(5),Middle(*),BorderRight(5))");
    Place(frame->FindCell(L"BorderLeft"), m_pBorderLeft, L"inside=true,fill=true");
    Place(frame->FindCell(L"BorderRight"), m_pBorderRight, L"inside=true,fill=true");
    QmCell* middle = frame->FindCell(L"Middle");
    if (middle == nullptr)
        return;
    middle->Split(L"row(Menu(80),Main(*),Footer(100),Tip(20),BorderBottom(5))");
    if (QmCell* menu = middle->FindCell(L"Menu"))
        PlaceMenuButtons(menu);
    if (QmCell* main = middle->FindCell(L"Main")) {
        main->Split(L"col(5,*,260,5)");
        Place(main->GetChild(1), &m_pFlashPlayer->Control(), L"inside=true,fill=true");
        Place(main->GetChild(2), m_pList, L"inside=true,fill=true, pos=atLeft, mx=5");
    }
    if (QmCell* footer = middle->FindCell(L"Footer"))
        PlaceFooter(footer);
    Place(middle->FindCell(L"Tip"), m_pTip, L"inside=true,fill=false,pos=atLeftTop, mx=10");
    Place(middle->FindCell(L"BorderBottom"), m_pBorderBottom, L"inside=true,fill=true");
}

void CTovaliDlg::ShowControls()
{
    m_pLogo->ShowWindow(SW_SHOW);
    m_pTitleBack->ShowWindow(SW_SHOW);
    m_pTitle->ShowWindow(SW_SHOW);
    m_pTip->ShowWindow(SW_SHOW);
    for (QmButton* button : m_menuButtons)
        button->ShowWindow(SW_SHOW);
    m_pBtnMute->ShowWindow(SW_SHOW);
    m_pBtnPlay->ShowWindow(SW_SHOW);
    CShockwaveFlash& movie = m_pFlashPlayer->Control();
    movie.SetBackgroundColor(0x00FFFFFF);
    movie.ShowWindow(SW_HIDE);
    movie.ShowWindow(SW_SHOW);
    m_pList->ShowWindow(SW_SHOW);
    m_pSlider->ShowWindow(SW_SHOW);
    m_pBorderLeft->ShowWindow(SW_SHOW);
    m_pBorderRight->ShowWindow(SW_SHOW);
    m_pBorderBottom->ShowWindow(SW_SHOW);
    for (QmButton* button : m_linkButtons)
        button->ShowWindow(SW_SHOW);
}

void CTovaliDlg::SelectCategory(QmButton* button, const std::wstring& code)
{
    if (m_pCurrentCategory != nullptr)
        m_pCurrentCategory->SetChecked(false);
    m_pCurrentCategory = button;
    m_pCurrentCategory->SetChecked(true);
    LoadProgrammeList(code);
}

void CTovaliDlg::LoadProgrammeList(const std::wstring& code)
{
    m_pList->ResetContent();
    std::vector<std::wstring> names;
    if (!ReadProgrammeList(ProgrammeListPath(m_strProgramDir, code), names))
        return;
    for (const std::wstring& name : names)
        m_pList->AddString(name);
    m_pList->SetCurSel(0);
    PlaySelectedProgramme();
}

void CTovaliDlg::PlaySelectedProgramme()
{
    const int selected = m_pList != nullptr ? m_pList->GetCurSel() : LB_ERR;
    if (!m_pFlashPlayer || selected == LB_ERR)
        return;
    const std::wstring path = MoviePath(m_strProgramDir, m_pList->GetText(selected));
    TogglePlayPause();
    CFileStatus status;
    if (GetFileStatus(path, status) && m_pFlashPlayer->OpenMovie(path)) {
        KillTimer(kProgressTimer);
        const long total = m_pFlashPlayer->Control().TotalFrames();
        m_pSlider->SetRange(0, static_cast<int>(total), false);
        SetTimer(kProgressTimer, kTimerPeriodMs);
    }
    TogglePlayPause();
}

void CTovaliDlg::TogglePlayPause()
{
    if (!m_pFlashPlayer)
        return;
    CShockwaveFlash& movie = m_pFlashPlayer->Control();
    if (m_pFlashPlayer->bLoaded && movie.IsPlaying()) {
        movie.StopPlay();
        m_pBtnPlay->SetState(0);
        return;
    }
    if (m_pFlashPlayer->bLoaded) {
        movie.ShowWindow(SW_SHOW);
        movie.Play();
    }
    m_pBtnPlay->SetState(1);
}

void CTovaliDlg::ToggleMute()
{
    const bool wasMuted = m_mixer.IsMuted();
    m_mixer.SetMute(!wasMuted);
    m_pBtnMute->SetState(wasMuted ? 0 : 1);
}

void CTovaliDlg::ShowDeclaration()
{
    QmDialogInitDef record;
    ReadInitDef(record, L"IDD_QMDECLARE_DIALOG");
    CQmDeclareDlg dialog(record);
    if (dialog.DoModal(GetHwnd()) == IDOK)
        m_menuButtons[14]->SetChecked(false);
}

void CTovaliDlg::OpenLink(int index) const
{
    ShellExecuteW(nullptr, L"open", kLinkPages[index], nullptr, nullptr, SW_SHOWNORMAL);
}

bool CTovaliDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (const Category* category = FindCategory(id)) {
        SelectCategory(m_menuButtons[id - kCategories[0].id], category->code);
        return true;
    }
    switch (id) {
    case kIdDeclaration:
        ShowDeclaration();
        return true;
    case kIdList:
        if (HIWORD(wParam) == LBN_SELCHANGE)
            PlaySelectedProgramme();
        return true;
    case kIdMute:
        ToggleMute();
        return true;
    case kIdPlay:
        TogglePlayPause();
        return true;
    case kIdLink1:
    case kIdLink2:
        OpenLink(id == kIdLink1 ? 0 : 1);
        return true;
    case kIdHelp:
        if (lParam == 0 && CWinAppEx::GetApp() != nullptr) {
            CWinAppEx::GetApp()->OnHelp();
            return true;
        }
        break;
    default:
        break;
    }
    return QmDialog::OnCommand(wParam, lParam);
}

bool CTovaliDlg::PreTranslateMessage(MSG& msg)
{
    if (IsEscOrEnterKey(msg))
        return true;
    return QmDialog::PreTranslateMessage(msg);
}

void CTovaliDlg::OnTimer(UINT_PTR id)
{
    if (id == kDeclarationTimer) {
        KillTimer(kDeclarationTimer);
        ShowDeclaration();
        return;
    }
    if (id != kProgressTimer)
        return;
    if (m_pFlashPlayer && m_pFlashPlayer->bLoaded && m_pFlashPlayer->Control().IsPlaying())
        m_pSlider->SetPos(static_cast<int>(m_pFlashPlayer->Control().CurrentFrame()));
    else
        KillTimer(kProgressTimer);
}

void CTovaliDlg::OnSeek()
{
    const int position = m_pSlider->GetPos();
    if (!m_pFlashPlayer || !m_pFlashPlayer->bLoaded)
        return;
    CShockwaveFlash& movie = m_pFlashPlayer->Control();
    movie.GotoFrame(position);
    movie.ShowWindow(SW_SHOW);
    movie.Play();
}

LRESULT CTovaliDlg::OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = true;
    if (msg == WM_CTLCOLORLISTBOX && !m_listBrush.IsNull()) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kListText);
        // Some list boxes fill item backgrounds with the context's colour, not the brush.
        SetBkColor(dc, kListBack);
        return reinterpret_cast<LRESULT>(m_listBrush.Get());
    }
    if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == static_cast<int>(kIdSlider)) {
        if (m_sliderBrush.IsNull())
            m_sliderBrush.Attach(CreateSolidBrush(kSliderBack));
        return reinterpret_cast<LRESULT>(m_sliderBrush.Get());
    }
    handled = false;
    return 0;
}

LRESULT CTovaliDlg::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_MOVE:
    case WM_SIZE: {
        const LRESULT result = QmDialog::WndProc(msg, wParam, lParam);
        if (m_bInitialized)
            Relayout();
        return result;
    }
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_HSCROLL:
        OnSeek();
        break;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        bool handled = false;
        const LRESULT brush = OnCtlColor(msg, wParam, lParam, handled);
        if (handled)
            return brush;
        break;
    }
    case WM_SETCURSOR:
        if (SetHandCursorOver(wParam, {static_cast<int>(kIdLink1), static_cast<int>(kIdLink2)}))
            return TRUE;
        break;
    case WM_DESTROY: {
        const LRESULT result = QmDialog::WndProc(msg, wParam, lParam);
        KillTimer(kProgressTimer);
        return result;
    }
    default:
        break;
    }
    return QmDialog::WndProc(msg, wParam, lParam);
}
