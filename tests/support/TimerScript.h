#pragma once
#include <windows.h>

#include <functional>
#include <vector>

// Runs one scripted step per timer tick while a modal loop runs, so that a
// test can drive a modal window and then close it. Steps get the target window.
class TimerScript {
public:
    explicit TimerScript(std::vector<std::function<void(HWND)>> steps, UINT intervalMs = 30)
        : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, intervalMs, &TimerScript::Tick);
    }
    ~TimerScript()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;

    HWND m_target = nullptr;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TimerScript* self = s_current;
        if (self == nullptr || self->m_next >= self->m_steps.size())
            return;
        self->m_steps[self->m_next++](self->m_target);
    }

    static inline TimerScript* s_current = nullptr;
    std::vector<std::function<void(HWND)>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};
