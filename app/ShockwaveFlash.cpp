#include "app/ShockwaveFlash.h"

#include <windowsx.h>

#include <filesystem>
#include <optional>

#include "app/AcmMp3Decoder.h"
#include "app/GdiGlyphSource.h"
#include "movie/Player.h"

namespace {
static_assert(CWaveOutput::kRate == movie::kOutputRate, "the device plays what the mixer makes");

int64_t NowMs()
{
    return static_cast<int64_t>(GetTickCount64());
}
}

CShockwaveFlash::CShockwaveFlash()
    : m_glyphs(std::make_unique<GdiGlyphSource>()), m_player(std::make_unique<movie::Player>())
{
    m_player->setMp3Decoders(&CAcmMp3Decoder::Create);
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
    m_audio.Close();
}

void CShockwaveFlash::StartSoundOutput()
{
    // The old movie's queued sound goes at once; a missing device is simply no sound.
    if (m_audio.IsOpen())
        m_audio.Reset();
    else
        m_audio.Open();
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
    StartSoundOutput();
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
    std::optional<int64_t> heard;
    if (m_audio.IsOpen()) {
        m_audio.Pump([this](int16_t* samples, size_t frames) { m_player->mixAudio(samples, frames); });
        heard = m_player->sound().mixedFrames() - m_audio.QueuedFrames();
    }
    if (m_player->tick(NowMs(), heard))
        UpdateFrame();
}

// Redraws only what changed in the kept frame and asks for just that part to be shown.
void CShockwaveFlash::UpdateFrame()
{
    const RECT client = GetClientRect();
    if (m_frameStale || m_frame.Width() != client.right - client.left ||
        m_frame.Height() != client.bottom - client.top) {
        Repaint();
        return;
    }
    const movie::PixelRect area = m_player->renderUpdate(static_cast<uint32_t*>(m_frame.Bits()), m_frame.Width(),
                                                         m_frame.Height(), m_frame.Pitch());
    if (area.empty())
        return;
    const RECT changed{area.x0, area.y0, area.x1, area.y1};
    InvalidateRect(&changed, false);
}

void CShockwaveFlash::OnMouseMove(LPARAM lParam)
{
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetHwnd(), 0};
        m_trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    if (m_player->mouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
        UpdateFrame();
}

void CShockwaveFlash::OnButtonDown()
{
    // Captured, a press dragged out of the window still ends here.
    ::SetCapture(GetHwnd());
    if (m_player->mouseDown())
        UpdateFrame();
}

void CShockwaveFlash::OnButtonUp()
{
    if (::GetCapture() == GetHwnd())
        ::ReleaseCapture();
    if (m_player->mouseUp())
        UpdateFrame();
}

void CShockwaveFlash::OnMouseLeave()
{
    m_trackingLeave = false;
    if (m_player->mouseLeave())
        UpdateFrame();
}

bool CShockwaveFlash::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != GetHwnd() || LOWORD(lParam) != HTCLIENT)
        return false;
    ::SetCursor(LoadCursorW(nullptr, m_player->cursorIsHand() ? IDC_HAND : IDC_ARROW));
    return true;
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
        m_player->renderUpdate(static_cast<uint32_t*>(m_frame.Bits()), width, height, m_frame.Pitch());
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
        m_player->setViewSize(LOWORD(lParam), HIWORD(lParam));
        Repaint();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnMouseMove(lParam);
        OnButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnMouseMove(lParam);
        OnButtonUp();
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(wParam, lParam))
            return TRUE;
        break;
    default:
        break;
    }
    return CWnd::WndProc(msg, wParam, lParam);
}
