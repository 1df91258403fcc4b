#include "toolkit/QmHelpBalloon.h"

#include <algorithm>
#include <memory>

#include "framework/ErrorBox.h"
#include "layout/Saturate.h"

namespace {
int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

std::wstring Format(const wchar_t* pattern, int value)
{
    wchar_t buffer[128];
    swprintf(buffer, std::size(buffer), pattern, value);
    return buffer;
}
}

bool ReadHelpBalloonDef(QmHelpBalloonDef& def, const std::wstring& itemName)
{
    const bool dialog = ReadInitDef(def.dialog, itemName);
    const bool icon = ReadInitDef(def.icon, itemName + L"_ICON");
    const bool tail = ReadInitDef(def.tail, itemName + L"_TAIL");
    const bool text = ReadInitDef(def.text, itemName + L"_TEXT");
    return dialog && icon && tail && text;
}

QmHelpBalloon::QmHelpBalloon(const QmHelpBalloonDef& def, UINT templateId)
    : QmDialog(def.dialog, templateId), m_iconDef(def.icon), m_tailDef(def.tail),
      m_textDef(def.text)
{
}

QmHelpBalloon::~QmHelpBalloon()
{
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
}

bool QmHelpBalloon::Create(CWnd& host)
{
    m_hHost = host.GetHwnd();
    return CDialog::Create(m_hHost);
}

bool QmHelpBalloon::OnInitDialog()
{
    // Made a child before anything is placed, so that every rectangle of the
    // balloon is in the host's client coordinates.
    ModifyStyle(WS_POPUP, WS_CHILD);
    ::SetParent(GetHwnd(), m_hHost);
    const bool skinned = QmDialog::OnInitDialog();
    BuildLayout();
    MakeCurrent();
    return skinned;
}

bool QmHelpBalloon::BuildLayout()
{
    auto icon = std::make_unique<QmStatic>();
    auto tail = std::make_unique<QmStatic>();
    auto text = std::make_unique<QmStatic>();
    icon->QmCreate(m_iconDef, this, 0);
    tail->QmCreate(m_tailDef, this, 0);
    text->QmCreate(m_textDef, this, 0);
    const int iconWidth = Width(icon->GetWindowRect());
    const int tailHeight = Height(tail->GetWindowRect());

    QmCell* cell = GetLayoutCell();
    if (cell == nullptr || !cell->Split(Format(L"col(Icon(%d),Content(*))", iconWidth)))
        return false;
    QmCell* content = cell->GetChild(1);
    if (!content->Split(Format(L"row(TailTop(%d),Body(*),", tailHeight) +
                        Format(L"TailBottom(%d))", tailHeight)))
        return false;
    QmCell* body = content->GetChild(1);
    if (!cell->GetChild(0)->AddCellCtrl(icon.get(), L"inside=true,pos=atLeft"))
        return false;
    m_pIcon = icon.release();
    if (!body->AddCellCtrl(text.get(), L"name=helpContent,inside=true,fill=true"))
        return false;
    m_pText = text.release();
    if (!body->AddCellCtrl(tail.get(), TailPlacement(Width(tail->GetWindowRect()), 0)))
        return false;
    m_pTail = tail.release();
    return true;
}

void QmHelpBalloon::ReleaseSkinObjects()
{
    // The parts belong to the cells released below.
    StopTimer();
    m_pIcon = nullptr;
    m_pText = nullptr;
    m_pTail = nullptr;
    m_bActive = false;
    QmDialog::ReleaseSkinObjects();
}

void QmHelpBalloon::OnDestroyDialog()
{
    m_bActive = false;
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
}

void QmHelpBalloon::AddHelpText(HWND target, const std::wstring& text, int x, int y)
{
    HelpEntry& entry = m_helpTable[target];
    for (size_t i = 0; i < entry.points.size(); ++i) {
        if (entry.points[i].x == x && entry.points[i].y == y) {
            entry.texts[i] = text;
            return;
        }
    }
    entry.texts.push_back(text);
    entry.points.push_back(POINT{x, y});
}

std::wstring QmHelpBalloon::GetHelpText(HWND target, int x, int y) const
{
    const auto found = m_helpTable.find(target);
    if (found == m_helpTable.end())
        return {};
    const HelpEntry& entry = found->second;
    for (size_t i = 0; i < entry.points.size(); ++i)
        if (entry.points[i].x == x && entry.points[i].y == y)
            return entry.texts[i];
    return {};
}

void QmHelpBalloon::ShowHelp(HWND target, int x, int y)
{
    StopTimer();
    m_shownAt = GetTickCount64();
    if (target == nullptr)
        return;
    m_strText = GetHelpText(target, x, y);
    if (m_strText.empty())
        return;
    if (m_pText != nullptr)
        m_pText->m_textWrapper.SetText(m_strText, true);
    m_bTextChanged = true;
    m_hTarget = target;
    m_nTargetX = x;
    m_nTargetY = y;
    m_bActive = IsWindow();
    ShowWindow(SW_SHOW);
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT desired{};
    if (ComputeBalloonRect(target, x, y, desired)) {
        m_rcDesired = desired;
        const RECT current = RectInParent(GetWindowRect());
        if (!EqualRect(&current, &m_rcDesired) && !m_bCornerMode && m_bActive)
            MoveWindow(m_rcDesired, false);
    }
    if (!m_bCornerMode)
        StartTimer();
}

RECT QmHelpBalloon::ComputeBalloonSize() const
{
    const QmDialogInitDef* def = GetInitDef();
    const int64_t n = static_cast<int64_t>(std::min<size_t>(m_strText.size(), INT32_MAX));
    const int width = n >= 15 ? SaturateToInt32(n * 15 + 100) : (def ? def->nWidth : 0);
    return RECT{0, 0, width, def ? def->nHeight : 0};
}

bool QmHelpBalloon::ComputeBalloonRect(HWND target, int x, int y, RECT& rect)
{
    const RECT size = ComputeBalloonSize();
    const int W = size.right;
    const int H = size.bottom;
    RECT t{};
    ::GetWindowRect(target, &t);
    if (x != -1 && y != -1)
        t = RECT{t.left + x - 5, t.top + y - 5, t.left + x + 5, t.top + y + 5};
    HWND parent = ::GetParent(target);
    if (parent == nullptr || !::IsWindow(parent))
        return false;
    RECT p{};
    ::GetWindowRect(parent, &p);

    const int q = PickQuadrant(p, t);
    const bool flipped = q == 2 || q == 3;
    if (flipped != m_bFlipped) {
        if (QmCell* cell = GetLayoutCell())
            cell->SwapFirstTwo();
        m_bFlipped = flipped;
        UpdateIconState();
    }
    m_nQuadrant = q;

    // The balloon overlaps the target by 20 pixels.
    switch (q) {
    case 0:
        rect = RECT{t.right - W, t.top - H + 20, t.right, t.top + 20};
        break;
    case 1:
        rect = RECT{t.right - W, t.bottom - 20, t.right, t.bottom - 20 + H};
        break;
    case 2:
        rect = RECT{t.left, t.top - H + 20, t.left + W, t.top + 20};
        break;
    default:
        rect = RECT{t.left, t.bottom - 20, t.left + W, t.bottom - 20 + H};
        break;
    }
    PlaceTail(rect.right - t.left - Width(t) / 2, q);
    rect = RectInParent(rect);
    return true;
}

int QmHelpBalloon::PickQuadrant(const RECT& parent, const RECT& target)
{
    const int px = (parent.left + parent.right) / 2;
    const int py = (parent.top + parent.bottom) / 2;
    const int tx = (target.left + target.right) / 2;
    const int ty = (target.top + target.bottom) / 2;
    if (tx > px)
        return ty <= py ? 1 : 0;
    return ty <= py ? 3 : 2;
}

std::wstring QmHelpBalloon::TailPlacement(int n, int q)
{
    const wchar_t* head = q == 1 || q == 3
                              ? L"anchor=helpContent,inside=false,pos=atRightTop,my=-1,"
                              : L"anchor=helpContent,inside=false,pos=atRightBottom,my=-1,";
    return head + Format(L"mx=-%d", std::max(n, 0));
}

QmCell* QmHelpBalloon::ContentCell()
{
    QmCell* cell = GetLayoutCell();
    return cell != nullptr ? cell->GetChild(m_bFlipped ? 0 : 1) : nullptr;
}

void QmHelpBalloon::PlaceTail(int a, int q)
{
    const int tailWidth = m_pTail != nullptr ? Width(m_pTail->GetWindowRect()) : 0;
    m_nIconWidth = m_pIcon != nullptr ? Width(m_pIcon->GetWindowRect()) : 0;
    m_nTailOffset = a;
    const int n = m_bFlipped ? a - m_nIconWidth : tailWidth + a;
    if (m_pTail == nullptr)
        return;
    QmCell* content = ContentCell();
    if (QmCell* cell = content != nullptr ? content->GetChild(1) : nullptr)
        cell->AddCellCtrl(m_pTail, TailPlacement(n, q));
    m_pTail->SetState(q);
    Relayout();
}

POINT QmHelpBalloon::GetCornerPoint() const
{
    RECT r{};
    if (m_pIcon == nullptr)
        ShowErrorBox(L"Error in GetCornerPoint: m_pIcon==NULL.");
    else
        r = m_pIcon->GetWindowRect();
    if (m_hCornerAnchor != nullptr && ::IsWindow(m_hCornerAnchor)) {
        RECT a{};
        ::GetWindowRect(m_hCornerAnchor, &a);
        return POINT{(a.left + a.right) / 2 - Width(r) / 2, a.top - Height(r)};
    }
    RECT p{};
    if (HWND parent = GetParent())
        ::GetWindowRect(parent, &p);
    return POINT{p.right - Width(r), p.bottom - Height(r) - 25};
}

void QmHelpBalloon::RepositionBalloon()
{
    if (!m_bCornerMode) {
        ShowHelp(m_hTarget, m_nTargetX, m_nTargetY);
        return;
    }
    const RECT icon = m_pIcon != nullptr ? m_pIcon->GetWindowRect() : RECT{};
    const POINT corner = GetCornerPoint();
    MoveWindow(RectInParent(RECT{corner.x, corner.y, corner.x + Width(icon),
                                 corner.y + Height(icon)}),
               false);
}

void QmHelpBalloon::SetCornerMode(bool on, HWND anchor)
{
    StopTimer();
    m_bCornerMode = on;
    m_hCornerAnchor = anchor;
    UpdateIconState();
    ShowParts(!on);
    if (on) {
        m_bActive = IsWindow();
        ShowWindow(SW_SHOW);
        RepositionBalloon();
        Invalidate(true);
    } else if (m_hTarget != nullptr) {
        ShowHelp(m_hTarget, m_nTargetX, m_nTargetY);
    } else {
        Hide();
    }
}

void QmHelpBalloon::Hide()
{
    StopTimer();
    m_bActive = false;
    ShowWindow(SW_HIDE);
}

void QmHelpBalloon::FollowRelayout(const QmDialog* dialog)
{
    QmHelpBalloon* balloon = s_pCurrent;
    if (balloon == nullptr || balloon == dialog || !balloon->m_bActive)
        return;
    balloon->RepositionBalloon();
    balloon->SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

RECT QmHelpBalloon::RectInParent(RECT rect) const
{
    HWND parent = GetParent();
    if (parent != nullptr && ::IsWindow(parent))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void QmHelpBalloon::UpdateIconState()
{
    if (m_pIcon != nullptr)
        m_pIcon->SetState(m_bCornerMode ? 2 : (m_bFlipped ? 1 : 0));
}

void QmHelpBalloon::ShowParts(bool show)
{
    for (QmStatic* part : {m_pText, m_pTail})
        if (part != nullptr)
            part->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void QmHelpBalloon::StartTimer()
{
    if (!IsWindow())
        return;
    m_nSavedIconState = m_pIcon != nullptr ? static_cast<int32_t>(m_pIcon->GetState()) : 0;
    m_nTimerPhase = 0;
    m_bTimerRunning = SetTimer(kTimerId, kTimerIntervalMs) != 0;
}

void QmHelpBalloon::StopTimer()
{
    if (!m_bTimerRunning)
        return;
    KillTimer(kTimerId);
    if (m_pIcon != nullptr && m_pIcon->GetState() != static_cast<unsigned>(m_nSavedIconState))
        m_pIcon->SetState(static_cast<unsigned>(m_nSavedIconState));
    m_bTimerRunning = false;
    m_nTimerPhase = -1;
}

bool QmHelpBalloon::IsMouseOver() const
{
    POINT cursor{};
    const RECT window = GetWindowRect();
    return IsWindowVisible() && GetCursorPos(&cursor) && PtInRect(&window, cursor);
}

void QmHelpBalloon::OnTimerTick()
{
    ++m_nTimerPhase;
    const uint64_t now = GetTickCount64();
    if (IsMouseOver()) {
        m_shownAt = now;
        return;
    }
    if (m_hideDelayMs != 0 && now - m_shownAt >= m_hideDelayMs)
        Hide();
}

LRESULT QmHelpBalloon::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == kTimerId) {
        OnTimerTick();
        return 0;
    }
    return QmDialog::WndProc(msg, wParam, lParam);
}
