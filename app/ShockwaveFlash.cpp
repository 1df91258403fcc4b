#include "app/ShockwaveFlash.h"

#include <filesystem>

#include "app/GdiGlyphSource.h"
#include "movie/Player.h"

namespace {
int64_t NowMs()
{
    return static_cast<int64_t>(GetTickCount64());
}
}

CShockwaveFlash::CShockwaveFlash()
    : m_glyphs(std::make_unique<GdiGlyphSource>()), m_player(std::make_unique<movie::Player>())
{
    m_player->setSystemFont(m_glyphs.get());
}

CShockwaveFlash::~CShockwaveFlash() = default;

const wchar_t* CShockwaveFlash::ClassName()
{
    return L"TovaliMovieControl";
}

bool CShockwaveFlash::RegisterWindowClass()
{
    return CWnd::RegisterWindowClass(ClassName(), CS_DBLCLKS);
}

bool CShockwaveFlash::Create(const wchar_t* windowName, DWORD style, const RECT& rect, HWND parent,
                             UINT id)
{
    return CreateEx(0, ClassName(), windowName, style, rect, parent, id);
}

int CShockwaveFlash::OnCreate(CREATESTRUCTW&)
{
    SetTimer(kTickTimer, kTickMs);
    return 0;
}

void CShockwaveFlash::OnDestroy()
{
    KillTimer(kTickTimer);
}

void CShockwaveFlash::Repaint()
{
    m_frameStale = true;
    Invalidate(false);
}

void CShockwaveFlash::SetBackgroundColor(long color)
{
    if (!Usable())
        return;
    m_player->setBackgroundColor(static_cast<int32_t>(color));
    Repaint();
}

void CShockwaveFlash::LoadMovie(long layer, const std::wstring& path)
{
    // Only the base layer exists in this control.
    if (!Usable() || layer != 0)
        return;
    m_player->loadFile(std::filesystem::path(path));
    m_player->tick(NowMs());
    Repaint();
}

void CShockwaveFlash::Stop()
{
    if (Usable())
        m_player->pause();
}

void CShockwaveFlash::Play()
{
    if (!Usable())
        return;
    m_player->play();
    m_player->tick(NowMs());
}

void CShockwaveFlash::StopPlay()
{
    if (Usable())
        m_player->pause();
}

bool CShockwaveFlash::IsPlaying()
{
    return Usable() && m_player->isPlaying();
}

void CShockwaveFlash::GotoFrame(long frame)
{
    if (!Usable())
        return;
    m_player->gotoFrame(static_cast<int>(frame));
    Repaint();
}

long CShockwaveFlash::CurrentFrame()
{
    return Usable() ? m_player->currentFrame() : 0;
}

long CShockwaveFlash::TotalFrames()
{
    return Usable() ? m_player->totalFrames() : 0;
}

void CShockwaveFlash::OnTick()
{
    if (m_player->tick(NowMs()))
        Repaint();
}

void CShockwaveFlash::OnDraw(HDC dc)
{
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    if (m_frame.Width() != width || m_frame.Height() != height) {
        if (!m_frame.Create(width, height))
            return;
        m_frameStale = true;
    }
    if (m_frameStale) {
        m_player->render(static_cast<uint32_t*>(m_frame.Bits()), width, height, m_frame.Pitch());
        m_frameStale = false;
    }
    CMemDC memory(dc);
    CSelectObject select(memory.Get(), m_frame.Get());
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CShockwaveFlash::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == kTickTimer) {
            OnTick();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SIZE:
        Repaint();
        break;
    default:
        break;
    }
    return CWnd::WndProc(msg, wParam, lParam);
}
