#include "toolkit/QmDialog.h"

#include <windowsx.h>

#include "toolkit/ImageRules.h"
#include "toolkit/QmHelpBalloon.h"

namespace {
constexpr wchar_t kRootLayout[] = L"row(*)";

int RectWidth(const RECT& r)
{
    return r.right - r.left;
}

int RectHeight(const RECT& r)
{
    return r.bottom - r.top;
}

QmOneStateBmp StateImages(const std::wstring& base, const std::wstring& active,
                          const std::wstring& press)
{
    return QmOneStateBmp{base, active, press, L""};
}
}

QmDialog::QmDialog(const QmDialogInitDef& def, UINT templateId)
    : CDialog(templateId), m_pInitDef(std::make_unique<QmDialogInitDef>(def))
{
}

QmDialog::~QmDialog()
{
    m_tooltip.DestroyWindow();
    ReleaseBackBuffer();
}

INT_PTR QmDialog::DoModal(HWND parent)
{
    m_bModal = true;
    return CDialog::DoModal(parent);
}

bool QmDialog::PreTranslateMessage(MSG& msg)
{
    if (m_tooltip.IsWindow())
        m_tooltip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    return CDialog::PreTranslateMessage(msg);
}

QmCell* QmDialog::GetLayoutCell()
{
    if (!m_pRootCell)
        SetRootLayout(kRootLayout);
    return m_pRootCell ? m_pRootCell->GetChild(0) : nullptr;
}

bool QmDialog::SetRootLayout(const std::wstring& layout)
{
    m_pRootCell = std::make_unique<QmCell>(this);
    return m_pRootCell->Split(layout);
}

bool QmDialog::GetInitSize(SIZE& size) const
{
    if (!m_pInitDef)
        return false;
    if (m_pInitDef->nWidth != 0 && m_pInitDef->nHeight != 0) {
        size = SIZE{m_pInitDef->nWidth, m_pInitDef->nHeight};
        return true;
    }
    const CImage& background = m_images.Background();
    size = background.IsNull() ? SIZE{0, 0} : SIZE{background.GetWidth(), background.GetHeight()};
    return true;
}

bool QmDialog::OnInitDialog()
{
    // The dialog manager gives a dialog procedure no WM_CREATE: the tooltip
    // control is created here, before anything else.
    if (!m_tooltip.IsWindow() && m_tooltip.Create(GetHwnd(), 0))
        m_tooltip.Activate(true);
    if (!CDialog::OnInitDialog())
        return false;
    m_bRedrawBack = true;
    if (!m_pInitDef || !m_images.LoadFromDef(*m_pInitDef))
        return false;
    SIZE size{};
    if (!GetInitSize(size))
        return false;
    MoveWindow(RECT{0, 0, size.cx, size.cy}, true);
    CreateFrameButtons(size);
    ApplyWindowStyles();
    return true;
}

std::unique_ptr<QmButton> QmDialog::CreateFrameButton(const std::vector<QmOneStateBmp>& sets,
                                                      int& x, bool isClose, UINT id,
                                                      const wchar_t* tip)
{
    QmMultiStateButtonInitDef def;
    def.statesBmp = sets;
    auto button = std::make_unique<QmButton>();
    button->InitFromDef(this, def);
    const int w = button->GetImageWidth();
    const int h = button->GetImageHeight();
    RECT rect{x - w, 0, x, h};
    if (isClose) {
        rect.left = x - w - m_pInitDef->nBtnRightMargin;
        rect.top = m_pInitDef->nBtnTopMargin;
        rect.right = rect.left + w;
        rect.bottom = rect.top + h;
    }
    x = rect.left;
    button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, GetHwnd(), id);
    if (m_tooltip.IsWindow())
        m_tooltip.AddTool(button->GetHwnd(), tip);
    return button;
}

void QmDialog::CreateFrameButtons(SIZE size)
{
    const QmDialogInitDef& d = *m_pInitDef;
    // The buttons stand side by side from the right: close, maximise, minimise.
    int x = size.cx - d.nResizeCornerWidth;
    if (d.bCloseBtn)
        m_pBtnClose = CreateFrameButton(
            {StateImages(d.fnCloseBaseBmp, d.fnCloseActiveBmp, d.fnClosePressBmp)}, x, true,
            kIdClose, L"关闭");
    if (d.bMaxBtn)
        m_pBtnMax = CreateFrameButton(
            {StateImages(d.fnMaxBaseBmp, d.fnMaxActiveBmp, d.fnMaxPressBmp),
             StateImages(d.fnRestoreBaseBmp, d.fnRestoreActiveBmp, d.fnRestorePressBmp)},
            x, false, kIdMaximize, L"最大化/还原");
    if (d.bMinBtn)
        m_pBtnMin = CreateFrameButton(
            {StateImages(d.fnMinBaseBmp, d.fnMinActiveBmp, d.fnMinPressBmp)}, x, false,
            kIdMinimize, L"最小化");
    RepositionFrameButtons();
}

void QmDialog::ApplyWindowStyles()
{
    if (m_pInitDef->bTrans) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        SetLayeredWindowAttributes(GetHwnd(), m_pInitDef->colorTrans, 255, LWA_COLORKEY);
    }
    if (m_pInitDef->bComposited)
        ModifyStyleEx(0, WS_EX_COMPOSITED);
    ModifyStyle(0, WS_MINIMIZEBOX);
}

void QmDialog::RepositionFrameButtons()
{
    if (m_bRedrawBack || !m_pInitDef)
        return;
    const int W = RectWidth(GetWindowRect());
    const QmDialogInitDef& d = *m_pInitDef;
    // Without a close button the chain starts at the right edge, one corner width in.
    const int right = W - d.nBtnRightMargin - d.nResizeCornerWidth;
    RECT previous{right, d.nBtnTopMargin, right, d.nBtnTopMargin};
    if (m_pBtnClose) {
        const int w = m_pBtnClose->GetImageWidth();
        previous = RECT{previous.left - w, d.nBtnTopMargin, previous.left,
                        d.nBtnTopMargin + m_pBtnClose->GetImageHeight()};
        m_pBtnClose->MoveWindow(previous, true);
    }
    for (QmButton* button : {m_pBtnMax.get(), m_pBtnMin.get()}) {
        if (button == nullptr)
            continue;
        const int w = button->GetImageWidth();
        const int height = m_pBtnClose ? RectHeight(previous) : button->GetImageHeight();
        previous = RECT{previous.left - w, previous.top, previous.left, previous.top + height};
        button->MoveWindow(previous, true);
    }
}

void QmDialog::Relayout()
{
    const RECT client = GetClientRect();
    RepositionFrameButtons();
    if (m_pRootCell) {
        m_pRootCell->Layout(client);
        m_pRootCell->PlaceControls(client);
    }
    for (QmButton* button : {m_pBtnMin.get(), m_pBtnMax.get(), m_pBtnClose.get()})
        if (button != nullptr)
            BringWindowToTop(button->GetHwnd());
    QmHelpBalloon::FollowRelayout(this);
}

LRESULT QmDialog::HitTest(POINT p) const
{
    RECT r = GetClientRect();
    MapWindowPoints(GetHwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    const QmDialogInitDef* d = m_pInitDef.get();
    if (d == nullptr)
        return HTCLIENT;
    const int B = d->nResizeBorderWidth;
    const int C = d->nResizeCornerWidth;
    const int K = d->fCaptionWidth <= 1.0 ? static_cast<int>(d->fCaptionWidth * RectHeight(r))
                                          : static_cast<int>(d->fCaptionWidth);
    struct Zone {
        RECT rect;
        LRESULT code;
    };
    const Zone resizeZones[] = {
        {{r.left, r.top + C, r.left + B, r.bottom - C}, HTLEFT},
        {{r.right - B, r.top + C, r.right, r.bottom - C}, HTRIGHT},
        {{r.left + C, r.top, r.right - C, r.top + B}, HTTOP},
        {{r.left + C, r.bottom - B, r.right - C, r.bottom}, HTBOTTOM},
        {{r.left, r.top, r.left + C, r.top + C}, HTTOPLEFT},
        {{r.left, r.bottom - C, r.left + C, r.bottom}, HTBOTTOMLEFT},
        {{r.right - C, r.top, r.right, r.top + C}, HTTOPRIGHT},
        {{r.right - C, r.bottom - C, r.right, r.bottom}, HTBOTTOMRIGHT},
    };
    if (d->bResizeable)
        for (const Zone& zone : resizeZones)
            if (PtInRect(&zone.rect, p))
                return zone.code;
    const RECT caption{r.left, r.top, r.right, r.top + K};
    if (PtInRect(&caption, p))
        return d->bCaption ? HTCAPTION : HTCLIENT;
    return HTCLIENT;
}

void QmDialog::EraseBackground(HDC dc) const
{
    const CImage& background = m_images.Background();
    if (!background.IsNull())
        DrawImage(dc, background, GetClientRect());
}

void QmDialog::ReleaseBackBuffer()
{
    if (m_pMemDC && m_pOldBitmap != nullptr)
        SelectObject(m_pMemDC->Get(), m_pOldBitmap);
    m_pOldBitmap = nullptr;
    m_bmpBack.Reset();
    m_pMemDC.reset();
}

void QmDialog::RebuildBackBuffer(HDC paintDc, int width, int height)
{
    ReleaseBackBuffer();
    m_pMemDC = std::make_unique<CMemDC>(paintDc);
    m_bmpBack.Attach(CreateCompatibleBitmap(paintDc, width, height));
    m_pOldBitmap = SelectObject(m_pMemDC->Get(), m_bmpBack.Get());
    EraseBackground(m_pMemDC->Get());
    if (m_pRootCell)
        m_pRootCell->Paint(m_pMemDC->Get());
    m_bRedrawBack = false;
}

void QmDialog::OnDraw(HDC dc)
{
    const RECT client = GetClientRect();
    const int cw = RectWidth(client);
    const int ch = RectHeight(client);
    if (IsIconic(GetHwnd())) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
        DrawIcon(dc, (cw - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (ch - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
        return;
    }
    if (m_bRedrawBack)
        RebuildBackBuffer(dc, cw, ch);
    if (m_pMemDC)
        BitBlt(dc, 0, 0, cw, ch, m_pMemDC->Get(), 0, 0, SRCCOPY);
}

void QmDialog::OnSize(WPARAM type)
{
    if (type != SIZE_MINIMIZED) {
        RepositionFrameButtons();
        m_bRedrawBack = true;
        Relayout();
        Invalidate(true);
    }
    if (type == SIZE_RESTORED && m_pBtnMax)
        m_pBtnMax->SetState(0);
}

void QmDialog::ReleaseSkinObjects()
{
    m_pBtnClose.reset();
    m_pBtnMax.reset();
    m_pBtnMin.reset();
    m_pInitDef.reset();
    m_pRootCell.reset();
}

void QmDialog::OnClose()
{
    if (!m_bModal) {
        DestroyWindow();
        return;
    }
    ReleaseSkinObjects();
    ReleaseBackBuffer();
    OnDestroyDialog();
    EndDialog(IDOK);
}

void QmDialog::OnMaximizeCommand()
{
    const bool zoomed = IsZoomed(GetHwnd()) != FALSE;
    SendMessage(WM_SYSCOMMAND, zoomed ? SC_RESTORE : SC_MAXIMIZE);
    if (m_pBtnMax)
        m_pBtnMax->SetState(zoomed ? 0 : 1);
}

void QmDialog::OnRestack(LPARAM lParam)
{
    auto* cell = reinterpret_cast<QmCell*>(lParam);
    if (cell == nullptr)
        return;
    cell->RestackControls();
    if (LayoutHost* owner = cell->GetDialog()) {
        owner->SetRedrawBack();
        owner->Relayout();
        owner->InvalidateAll();
    }
}

bool QmDialog::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case kIdClose:
        OnClose();
        return true;
    case kIdMaximize:
        OnMaximizeCommand();
        return true;
    case kIdMinimize:
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        return true;
    default:
        return false;
    }
}

void QmDialog::PostNcDestroy()
{
    if (!m_bEmbedded)
        ReleaseSkinObjects();
    ReleaseBackBuffer();
    OnDestroyDialog();
    if (!m_bModal)
        delete this;
}

LRESULT QmDialog::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_NCHITTEST:
        if (m_bEmbedded)
            break;
        return HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCLBUTTONDBLCLK:
        if (!m_bEmbedded && m_pInitDef && m_pInitDef->bMaxBtn &&
            HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == HTCAPTION)
            OnMaximizeCommand();
        return 0;
    case WM_SIZE:
        OnSize(wParam);
        return 0;
    case WM_QM_RESTACK:
        OnRestack(lParam);
        return 0;
    default:
        break;
    }
    return CDialog::WndProc(msg, wParam, lParam);
}
