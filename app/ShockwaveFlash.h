#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "app/WaveOutput.h"

namespace movie {
class Player;
}
class GdiGlyphSource;

// The movie control: a child window that hosts the built-in movie engine and
// offers the operations the player drives. A control whose window could not
// be created ignores every call and answers every query with 0 or false.
class CShockwaveFlash : public CWnd {
public:
    CShockwaveFlash();
    ~CShockwaveFlash() override;

    static const wchar_t* ClassName();
    // Registers the window class; done once at start-up before any control is created.
    static bool RegisterWindowClass();

    virtual bool Create(const wchar_t* windowName, DWORD style, const RECT& rect, HWND parent,
                        UINT id);

    // 0x00RRGGBB behind and around the stage; -1 for the movie's own colour.
    void SetBackgroundColor(long color);
    void LoadMovie(long layer, const std::wstring& path);
    void Stop();
    void Play();
    void StopPlay();
    bool IsPlaying();
    void GotoFrame(long frame);
    long CurrentFrame();
    long TotalFrames();

    // Milliseconds between clock ticks while a movie is loaded.
    static constexpr UINT kTickMs = 10;

protected:
    int OnCreate(CREATESTRUCTW& cs) override;
    void OnDraw(HDC dc) override;
    void OnDestroy() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool Usable() const { return IsWindow(); }
    void OnTick();
    void UpdateFrame();
    void Repaint();
    void StartSoundOutput();
    // Mouse messages for the movie's buttons; each repaints when the player asks.
    void OnMouseMove(LPARAM lParam);
    void OnButtonDown();
    void OnButtonUp();
    void OnMouseLeave();
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);

    // Declared before the player, which draws with it until it goes.
    std::unique_ptr<GdiGlyphSource> m_glyphs;
    std::unique_ptr<movie::Player> m_player;
    // Closed when there is no sound device: the movie then follows the wall clock, silently.
    CWaveOutput m_audio;
    CDibSection m_frame;
    bool m_frameStale = true;
    bool m_trackingLeave = false;
    static constexpr UINT_PTR kTickTimer = 1;
};
